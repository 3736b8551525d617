// What a user's answer does besides re-evaluating the form, as the page rows say it.
#include "LogCapture.h"
#include "catalog/GroupCatalog.h"
#include "catalog/PageCatalog.h"
#include "model/FieldNames.h"
#include "model/RuleRecord.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

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
        for (const SGroupTypeRow& typeRow : GroupTypeRows()) {
            for (const SFieldRow& row : GroupFieldRows(typeRow.type)) {
                const CRuleRecord* rule = sheet.Rules().Lookup(typeRow.type, row.Pattern());
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

TEST_F(PageReactionsTest, ASiblingEvaluatedFirstIsAnotherFieldOfTheSamePage) {
    int siblings = 0;
    for (const SPageRow& page : PageCatalog()) {
        for (const SFieldRow& row : page.fields) {
            const CParameterField* field = sheet.FindField(row.Pattern());
            ASSERT_NE(field, nullptr) << row.name;
            EXPECT_EQ(field->Rule().evaluatedFirst, row.evaluatedFirst) << row.name;
            EXPECT_EQ(field->Rule().marksProductTypeChange, row.marksProductTypeChange) << row.name;
            if (row.evaluatedFirst) {
                ++siblings;
                EXPECT_NE(sheet.Page(page.id).Field(row.evaluatedFirst), nullptr) << row.evaluatedFirst;
                EXPECT_STRNE(row.evaluatedFirst, row.Pattern().c_str());
            }
        }
    }
    EXPECT_EQ(siblings, 3);
}

TEST_F(PageReactionsTest, TheCountsBesideAListAreReadByNoOtherAnswer) {
    // A change of one repaints its page only: the sheet's re-evaluation after it changes nothing else.
    for (const CFieldName& count : {fieldname::kNumSvidsMinSop, fieldname::kNumSvidsMaxSop,
                                    fieldname::kCableNumSvidsMin, fieldname::kCableNumSvidsMax}) {
        EXPECT_EQ(DependantsOf(std::wstring(count.Pattern())), std::vector<std::wstring>{})
            << std::wstring(count.Name());
    }
}

TEST_F(PageReactionsTest, TheSheetFollowsTheRowOfTheChangedField) {
    int marking = 0;
    for (const SPageRow& page : PageCatalog()) {
        for (const SFieldRow& row : page.fields) {
            CPageSuper& cablePage = sheet.Page(EPage::Cables1);
            cablePage.SetProductTypeChanged(false);
            CParameterField* changed = sheet.FindField(row.Pattern());
            ASSERT_NE(changed, nullptr);
            sheet.ApplyUserChange(changed, changed->Value());
            EXPECT_EQ(cablePage.ProductTypeChanged(), row.marksProductTypeChange) << row.name;
            marking += row.marksProductTypeChange ? 1 : 0;
        }
    }
    EXPECT_EQ(marking, 1);
}

TEST_F(PageReactionsTest, AStandardChangeReevaluatesItsDependants) {
    CParameterField* productType = sheet.FindField(L"^Orvik_Product_Type$");
    CParameterField* connector = sheet.FindField(L"^Connector_Type$");
    sheet.ApplyUserChange(productType, L"0");
    EXPECT_TRUE(connector->IsAvailable());
    sheet.ApplyUserChange(productType, L"1");
    EXPECT_FALSE(connector->IsAvailable());
}

} // namespace
