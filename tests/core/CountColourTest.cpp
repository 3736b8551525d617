// The SVID counts of the SOP and cable list pages are shown red together when their pair breaks
// the count rule, and the change of that colour is announced for the box the user did not edit.
#include "FullForm.h"
#include "LogCapture.h"
#include "model/FieldKinds.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class CRecordingObserver : public ISheetObserver {
public:
    void SheetChanged(const SSheetChange& change) override { changes.push_back(change); }
    std::vector<SSheetChange> changes;
};

struct SCountPage {
    EPage page;
    const wchar_t* fixed;
    const wchar_t* min;
    const wchar_t* max;
};

const SCountPage kSop{EPage::SOPDiscovery2, L"SVID_fixed_SOP", L"Num_SVIDs_min_SOP", L"Num_SVIDs_max_SOP"};
const SCountPage kCable{EPage::Cables2, L"SVID_fixed", L"Cable_num_SVIDs_min", L"Cable_num_SVIDs_max"};

class CountColourTest : public ::testing::TestWithParam<SCountPage> {
protected:
    void SetUp() override {
        sheet.Initialize();
        const std::string form = GetParam().page == EPage::Cables2
                                     ? orvik::testsupport::FullCableForm(2, 2)
                                     : orvik::testsupport::FullPortForm(2, 2, 2, 2);
        ASSERT_TRUE(LoadOrvikBytes(sheet, L"form.txt", form));
        page = &sheet.Page(GetParam().page);
        fixed = page->Field(GetParam().fixed);
        min = page->Field(GetParam().min);
        max = page->Field(GetParam().max);
        ASSERT_TRUE(fixed && min && max);
        // Both pages start from fixed SVIDs with equal counts.
        sheet.ApplyUserChange(fixed, L"YES");
        sheet.AddObserver(&observer);
    }
    void TearDown() override { sheet.RemoveObserver(&observer); }

    void Answer(CParameterField* field, const wchar_t* value) {
        observer.changes.clear();
        sheet.ApplyUserChange(field, value);
    }
    // Whether the last answer announced a change of the field's colour.
    bool ColourAnnounced(const CParameterField* field) const {
        for (const SSheetChange& change : observer.changes) {
            for (const SSheetChange::SField& f : change.fields) {
                if (f.field == field && f.validity) {
                    return true;
                }
            }
        }
        return false;
    }

    CScopedLogCapture log;
    CMarnelPropertySheet sheet;
    CRecordingObserver observer;
    CPageSuper* page = nullptr;
    CParameterField* fixed = nullptr;
    CParameterField* min = nullptr;
    CParameterField* max = nullptr;
};

TEST_P(CountColourTest, AConflictingPairIsRedTogetherAndTheOtherBoxIsAnnounced) {
    ASSERT_EQ(fixed->Value(), L"YES");
    ASSERT_EQ(min->Value(), L"2");
    ASSERT_EQ(max->Value(), L"2");
    EXPECT_FALSE(page->IsFieldShownInvalid(*min));
    EXPECT_FALSE(page->IsFieldShownInvalid(*max));

    Answer(max, L"3");
    EXPECT_TRUE(min->PassesValidity());
    EXPECT_TRUE(page->IsFieldShownInvalid(*min));
    EXPECT_TRUE(page->IsFieldShownInvalid(*max));
    EXPECT_TRUE(IsShownInvalid(*min));
    EXPECT_FALSE(page->IsPageValid());
    // The minimum was not edited, yet its colour changed: the window must hear of it.
    EXPECT_TRUE(ColourAnnounced(min));

    Answer(max, L"2");
    EXPECT_FALSE(page->IsFieldShownInvalid(*min));
    EXPECT_FALSE(page->IsFieldShownInvalid(*max));
    EXPECT_TRUE(ColourAnnounced(min));
    EXPECT_TRUE(ColourAnnounced(max));

    // Editing the minimum paints the maximum as well.
    Answer(min, L"1");
    EXPECT_TRUE(page->IsFieldShownInvalid(*max));
    EXPECT_TRUE(ColourAnnounced(max));
    // The fixed answer alone can make the pair fit.
    Answer(fixed, L"NO");
    EXPECT_FALSE(page->IsFieldShownInvalid(*min));
    EXPECT_FALSE(page->IsFieldShownInvalid(*max));
    EXPECT_TRUE(ColourAnnounced(min));
    EXPECT_TRUE(ColourAnnounced(max));
}

TEST_P(CountColourTest, OnlyBothBoxesHoldingTextMakeAConflict) {
    Answer(max, L"");
    // Fixed YES with one count missing breaks the rule, but an empty pair shows nothing to compare.
    EXPECT_FALSE(page->PageRuleProblems().empty());
    EXPECT_FALSE(page->IsFieldShownInvalid(*min));

    // Fixed NO with no maximum entered passes the rule.
    Answer(fixed, L"NO");
    EXPECT_TRUE(page->PageRuleProblems().empty());
    EXPECT_FALSE(page->IsFieldShownInvalid(*min));

    // A maximum below the minimum under NO conflicts.
    Answer(min, L"2");
    Answer(max, L"1");
    EXPECT_TRUE(page->IsFieldShownInvalid(*min));
    EXPECT_TRUE(page->IsFieldShownInvalid(*max));
}

TEST_P(CountColourTest, AFieldFailingItsOwnCheckStaysRedAndOthersAreNeverPulledIn) {
    Answer(min, L"0"); // below the range
    EXPECT_FALSE(min->PassesValidity());
    EXPECT_TRUE(page->IsFieldShownInvalid(*min));
    // The fixed answer itself is not one of the counts.
    EXPECT_FALSE(page->IsFieldShownInvalid(*fixed));
    // A field of another page is coloured by its own check alone.
    const CParameterField* vendor = sheet.FindField(L"$Vendor_Name");
    ASSERT_NE(vendor, nullptr);
    EXPECT_EQ(IsShownInvalid(*vendor), !vendor->PassesValidity());
}

INSTANTIATE_TEST_SUITE_P(SvidListPages, CountColourTest, ::testing::Values(kSop, kCable),
                         [](const ::testing::TestParamInfo<SCountPage>& info) {
                             return info.param.page == EPage::Cables2 ? std::string("Cable")
                                                                      : std::string("Sop");
                         });

TEST(UnitTextTest, MeasuredNumbersShowTheirUnitAndCountsNone) {
    CScopedLogCapture log;
    CMarnelPropertySheet sheet;
    sheet.Initialize();
    const CPageSuper& source = sheet.Page(EPage::Source);
    const CPageSuper& sink = sheet.Page(EPage::Sink);
    const CPageSuper& host = sheet.Page(EPage::UsbHost);
    ASSERT_NE(source.Field(L"PD_Power_as_Source"), nullptr);
    ASSERT_NE(sink.Field(L"PD_Power_as_Sink"), nullptr);
    EXPECT_EQ(source.UnitText(*source.Field(L"PD_Power_as_Source")), L"mW");
    EXPECT_EQ(sink.UnitText(*sink.Field(L"PD_Power_as_Sink")), L"mW");
    EXPECT_EQ(host.UnitText(*host.Field(L"Host_Gen1x1_tLinkTurnaround")), L"ns");
    EXPECT_EQ(source.UnitText(*source.Field(L"Num_Src_PDOs")), L"");
    EXPECT_EQ(host.UnitText(*host.Field(L"Hub_Port_Number")), L"");
    // Only numbers have units: a choice such as Cable_VBUS_Current says its unit in its labels.
    for (const auto& page : sheet.Pages()) {
        for (const CParameterField* field : page->Fields()) {
            if (!page->UnitText(*field).empty()) {
                EXPECT_NE(FieldAs<const CNumEditField>(field), nullptr) << field->NamePattern();
            }
        }
    }
}

} // namespace
