#include "catalog/PageReactions.h"
#include "LogCapture.h"
#include "catalog/GroupCatalog.h"
#include "model/RuleRecord.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

class PageReactionsTest : public ::testing::Test {
protected:
    void SetUp() override { sheet.Initialize(); }

    // Every field that re-evaluates when `pattern` changes: page fields and group fields alike.
    std::vector<std::wstring> DependantsOf(const std::wstring& pattern) const {
        std::vector<std::wstring> dependants;
        for (const CParameterField* field : sheet.FieldVector()) {
            if (field->FindParent(pattern)) {
                dependants.push_back(field->NamePattern());
            }
        }
        for (int type = kSourcePdoType; type <= kCableModeType; ++type) {
            for (const SFieldRow& row : GroupFieldRows(type)) {
                const CRuleRecord* rule = sheet.Rules().Lookup(type, row.Pattern());
                for (const std::wstring& read : rule ? rule->reads : std::vector<std::wstring>{}) {
                    if (read == pattern) {
                        dependants.push_back(row.Pattern());
                    }
                }
            }
        }
        return dependants;
    }

    CScopedLogCapture log;
    CMarnelPropertySheet sheet;
};

TEST_F(PageReactionsTest, OneRowPerReactionInThePagesOrder) {
    const std::vector<EPage> expected = {
        EPage::OrvikProduct, EPage::Intro,        EPage::General, EPage::General,       EPage::UsbTypeC,
        EPage::UsbTypeC,     EPage::ProductPower, EPage::UsbHost, EPage::UsbHost,       EPage::UsbDevice,
        EPage::Source,       EPage::Source,       EPage::Sink,    EPage::SOPDiscovery1, EPage::SOPDiscovery2,
        EPage::Cables1,      EPage::Cables1,      EPage::Cables2, EPage::AMA,
    };
    std::vector<EPage> pages;
    for (const SPageReaction& row : PageReactions()) {
        pages.push_back(row.page);
    }
    EXPECT_EQ(pages, expected);
}

TEST_F(PageReactionsTest, EveryNamedFieldIsOnItsRowsPageAndNamedOnce) {
    std::set<std::wstring> seen;
    for (const SPageReaction& row : PageReactions()) {
        const CPageSuper& page = sheet.Page(row.page);
        ASSERT_FALSE(row.fields.empty());
        for (const SReactingField& field : row.fields) {
            EXPECT_NE(page.Field(field.namePattern), nullptr) << field.namePattern;
            EXPECT_TRUE(seen.insert(field.namePattern).second) << field.namePattern << " is in two rows";
            EXPECT_EQ(FindPageReaction(field.namePattern), &row) << field.namePattern;
            EXPECT_EQ(row.FieldOf(field.namePattern), &field);
            if (field.evaluatedFirst) {
                EXPECT_NE(page.Field(field.evaluatedFirst), nullptr) << field.evaluatedFirst;
                EXPECT_STRNE(field.evaluatedFirst, field.namePattern.c_str());
            }
        }
        for (const wchar_t* control : row.repaintedControls) {
            EXPECT_NE(page.Field(control), nullptr) << control;
        }
    }
    EXPECT_EQ(FindPageReaction(L"^\\$Vendor_Name$"), nullptr) << "no page reacts to free text";
}

TEST_F(PageReactionsTest, ReactionsOnlyRepaintWhereNothingDependsOnTheField) {
    // A change that only recolours and repaints must not be one that other answers depend on.
    int quiet = 0;
    for (const SPageReaction& row : PageReactions()) {
        if (row.reevaluates) {
            continue;
        }
        ++quiet;
        EXPECT_TRUE(row.recoloursList || row.repaintsTab || !row.repaintedControls.empty());
        for (const SReactingField& field : row.fields) {
            EXPECT_EQ(DependantsOf(field.namePattern), std::vector<std::wstring>{}) << field.namePattern;
        }
    }
    EXPECT_EQ(quiet, 4);
}

TEST_F(PageReactionsTest, TheSheetFollowsTheRowOfTheChangedField) {
    for (const SPageReaction& row : PageReactions()) {
        for (const SReactingField& field : row.fields) {
            CPageSuper& cablePage = sheet.Page(EPage::Cables1);
            cablePage.SetProductTypeChanged(false);
            CParameterField* changed = sheet.FindField(field.namePattern);
            ASSERT_NE(changed, nullptr);
            sheet.ApplyUserChange(changed, changed->Value());
            EXPECT_EQ(cablePage.ProductTypeChanged(), row.setsProductTypeFlag) << field.namePattern;
        }
    }
}

TEST_F(PageReactionsTest, AStandardChangeReevaluatesItsDependants) {
    CParameterField* productType = sheet.FindField(L"^Orvik_Product_Type$");
    CParameterField* connector = sheet.FindField(L"^Connector_Type$");
    ASSERT_TRUE(FindPageReaction(productType->NamePattern())->reevaluates);
    sheet.ApplyUserChange(productType, L"0");
    EXPECT_TRUE(connector->IsAvailable());
    sheet.ApplyUserChange(productType, L"1");
    EXPECT_FALSE(connector->IsAvailable());
}

} // namespace
