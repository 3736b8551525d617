#include "FormFixture.h"
#include "LogCapture.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

class SheetTest : public CFormFixture {
protected:
    std::vector<std::wstring> TabCaptions() const {
        std::vector<std::wstring> captions;
        for (const CPageSuper* page : sheet.Tabs()) {
            captions.push_back(page->SectionCaption());
        }
        return captions;
    }
    void MakeProviderOnlyTypeCPort() {
        Answer(L"Orvik_Product_Type", L"0");
        Answer(L"Connector_Type", L"2");
        Answer(L"USB_PD_Support", L"YES");
        Answer(L"PD_Port_Type", L"3");
    }
};

TEST_F(SheetTest, FieldVectorHoldsEveryPageFieldWithParentsFirst) {
    const CFieldList& fields = sheet.FieldVector();
    EXPECT_EQ(fields.Size(), 136u);
    for (std::size_t i = 0; i < fields.Size(); ++i) {
        for (const CParameterField* parent : fields.At(i)->Parents()) {
            EXPECT_LT(fields.IndexOf(parent), static_cast<int>(i))
                << "parent " << std::string(parent->NamePattern().begin(), parent->NamePattern().end())
                << " of "
                << std::string(fields.At(i)->NamePattern().begin(), fields.At(i)->NamePattern().end());
        }
    }
}

TEST_F(SheetTest, ParentListsHoldEveryAncestor) {
    // Hub_Port_Number depends on Is_DFP_On_Hub, which follows Type_C_Port_On_Hub, which needs a known
    // USB Type-C state machine, which follows PD_Port_Type.
    const CParameterField* hubPort = sheet.FindField(L"Hub_Port_Number");
    for (const wchar_t* ancestor :
         {L"^Is_DFP_On_Hub$", L"^Type_C_Port_On_Hub$", L"^Type_C_State_Machine$", L"^PD_Port_Type$",
          L"^USB_PD_Support$", L"^Connector_Type$", L"^Orvik_Product_Type$"}) {
        EXPECT_NE(hubPort->FindParent(ancestor), nullptr)
            << std::string(ancestor, ancestor + std::wcslen(ancestor));
    }
}

TEST_F(SheetTest, NewFormShowsOnlyTheIntroTab) {
    EXPECT_EQ(TabCaptions(), std::vector<std::wstring>{L"Intro"});
    EXPECT_EQ(sheet.ActivePage().Id(), EPage::Intro);
}

TEST_F(SheetTest, PagesJoinAtTheirPlaceInTheFixedOrder) {
    Answer(L"Orvik_Product_Type", L"0");
    EXPECT_EQ(TabCaptions(), (std::vector<std::wstring>{L"Intro", L"Orvik Product"}));
    Answer(L"Connector_Type", L"0");
    // A Type-A port is a host port without PD: USB Host and Product Power come, in table order.
    EXPECT_EQ(TabCaptions(),
              (std::vector<std::wstring>{L"Intro", L"Orvik Product", L"Product Power", L"USB Host"}));
    MakeProviderOnlyTypeCPort();
    EXPECT_EQ(TabCaptions(), (std::vector<std::wstring>{L"Intro", L"Orvik Product", L"General PD Settings",
                                                        L"USB Type-C", L"Product Power", L"Source"}));
}

TEST_F(SheetTest, CableBringsTheCableTabs) {
    Answer(L"Orvik_Product_Type", L"1");
    const auto tabs = TabCaptions();
    for (const wchar_t* caption : {L"Orvik Product", L"General PD Settings", L"Cable - Part One"}) {
        EXPECT_NE(std::find(tabs.begin(), tabs.end(), caption), tabs.end());
    }
    EXPECT_EQ(std::find(tabs.begin(), tabs.end(), L"Source"), tabs.end());
}

TEST_F(SheetTest, PagesTouchedElsewhereNeedAReviewAndTheActivePageDoesNot) {
    Answer(L"Orvik_Product_Type", L"0");
    EXPECT_FALSE(sheet.Page(EPage::Intro).ReviewFlag());
    EXPECT_TRUE(sheet.Page(EPage::OrvikProduct).ReviewFlag());
    EXPECT_FALSE(sheet.Page(EPage::OrvikProduct).IsPageValid());
    sheet.Activate(EPage::OrvikProduct);
    EXPECT_FALSE(sheet.Page(EPage::OrvikProduct).ReviewFlag());

    Answer(L"Connector_Type", L"2");
    Answer(L"USB_PD_Support", L"YES");
    sheet.Activate(EPage::General);
    sheet.Activate(EPage::OrvikProduct);
    Answer(L"PD_Port_Type", L"3");
    EXPECT_TRUE(sheet.Page(EPage::UsbTypeC).ReviewFlag()) << "its fields follow the new state machine";
}

TEST_F(SheetTest, WithoutReviewFlagsOnlyTheAnswersCount) {
    for (const wchar_t* name : {L"$Vendor_Name", L"$Model_Part_Number", L"$Product_Revision", L"$TID"}) {
        Answer(name, L"x");
    }
    Answer(L"Orvik_Product_Type", L"2");
    CPageSuper& intro = sheet.Page(EPage::Intro);
    ASSERT_TRUE(intro.AreAnswersValid());
    intro.SetReviewFlag(true);
    EXPECT_FALSE(intro.IsPageValid());
    sheet.SetReviewFlagsEnabled(false);
    EXPECT_TRUE(intro.IsPageValid());
}

TEST_F(SheetTest, LosingTheActivePageMovesToTheFirstTab) {
    Answer(L"Orvik_Product_Type", L"0");
    Answer(L"Connector_Type", L"0");
    sheet.Activate(EPage::UsbHost);
    Answer(L"Connector_Type", L"1"); // a Type-B port has no host side
    EXPECT_FALSE(sheet.HasTab(EPage::UsbHost));
    EXPECT_EQ(sheet.ActivePage().Id(), EPage::Intro);
}

TEST_F(SheetTest, ChangingAnAnswerKeepsTheUserOnTheCurrentTab) {
    Answer(L"Orvik_Product_Type", L"0");
    sheet.Activate(EPage::OrvikProduct);
    MakeProviderOnlyTypeCPort();
    EXPECT_EQ(sheet.ActivePage().Id(), EPage::OrvikProduct);
}

TEST_F(SheetTest, IntroPageIsEmptyUntilSomethingIsTyped) {
    CPageSuper& intro = sheet.Page(EPage::Intro);
    EXPECT_TRUE(intro.IsPageEmpty());
    Answer(L"Orvik_Product_Type", L"0");
    sheet.FindField(L"$Orvik_Producer")->SetValue(L"x");
    EXPECT_TRUE(intro.IsPageEmpty()) << "the product type and the version texts do not count";
    Answer(L"$TID", L"1");
    EXPECT_FALSE(intro.IsPageEmpty());
}

TEST_F(SheetTest, ReevaluationDoesNotReenterItself) {
    // A forced value written during a re-evaluation must not start a second one: the sheet still
    // settles to the same tabs as a single pass would.
    MakeProviderOnlyTypeCPort();
    const auto once = TabCaptions();
    sheet.Reevaluate(0, {.initial = true});
    EXPECT_EQ(TabCaptions(), once);
}

TEST_F(SheetTest, UsbTypeCPageRulesAreReported) {
    MakeProviderOnlyTypeCPort();
    Answer(L"Type_C_State_Machine", L"0");
    CPageSuper& typeC = sheet.Page(EPage::UsbTypeC);
    EXPECT_TRUE(typeC.PageRuleProblems().empty());
    Answer(L"PD_Port_Type", L"4");
    Answer(L"Type_C_State_Machine", L"2");
    Answer(L"Type_C_Implements_Try_SRC", L"YES");
    Answer(L"Type_C_Implements_Try_SNK", L"YES");
    EXPECT_EQ(typeC.PageRuleProblems().size(), 1u);
    EXPECT_FALSE(typeC.AreAnswersValid());
}

} // namespace
