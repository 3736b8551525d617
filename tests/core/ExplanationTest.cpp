#include "FullForm.h"
#include "core/FormFixture.h"

#include "model/FieldList.h"
#include "model/Predicates.h"
#include "sheet/Explanation.h"

namespace {

class Explanation : public CFormFixture {
protected:
    // Every question of the form, page fields and the items' alike.
    std::vector<const CParameterField*> Questions() const {
        std::vector<const CParameterField*> all(sheet.FieldVector().begin(), sheet.FieldVector().end());
        for (const auto& [type, list] : sheet.GroupLists()) {
            for (const auto& group : list->Groups()) {
                all.insert(all.end(), group->Fields().begin(), group->Fields().end());
                if (const CFieldGroupList* modes = group->ChildList()) {
                    for (const auto& mode : modes->Groups()) {
                        all.insert(all.end(), mode->Fields().begin(), mode->Fields().end());
                    }
                }
            }
        }
        return all;
    }

    // An explanation says "asked" exactly when the question is asked, and names with its answer
    // every parent its condition reads.
    void ExpectExplainedAsItStands() const {
        for (const CParameterField* field : Questions()) {
            const SExplanation e = Explain(sheet, *field);
            const std::string where(e.name.begin(), e.name.end());
            EXPECT_EQ(e.asked, field->IsAvailable()) << where;
            EXPECT_EQ(e.why.starts_with(L"Asked") || e.why.starts_with(L"Always"), field->IsAvailable())
                << where;
            for (const std::wstring& name : field->Rule().availability.Reads()) {
                if (const CParameterField* parent = field->FindParent(name)) {
                    EXPECT_NE(e.why.find(QuestionWords(name) + L" = " + AnswerWords(*parent)),
                              std::wstring::npos)
                        << where << ": " << std::string(e.why.begin(), e.why.end());
                }
            }
        }
    }
};

TEST_F(Explanation, SaysWhyEachQuestionIsAskedOrNotAsTheFormsAnswersStand) {
    ExpectExplainedAsItStands();
    ASSERT_TRUE(Load(orvik::testsupport::FullPortForm(2, 2, 2, 2)));
    ExpectExplainedAsItStands();
    Answer(L"USB_PD_Support", L"NO");
    ExpectExplainedAsItStands();
}

TEST_F(Explanation, TellsWhatAQuestionTakesAndWhatItDecides) {
    ASSERT_TRUE(Load(orvik::testsupport::FullPortForm(1, 1, 1, 1)));
    const SExplanation portType = Explain(sheet, *sheet.FindField(L"PD_Port_Type"));
    EXPECT_NE(portType.takes.find(L"4 : DRP"), std::wstring::npos);
    EXPECT_NE(portType.why.find(L"`USB_PD_Support` = YES"), std::wstring::npos);
    const std::vector<std::wstring>& decides = portType.decides;
    EXPECT_NE(
        std::find_if(decides.begin(), decides.end(),
                     [](const std::wstring& line) { return line.starts_with(L"`Type_C_State_Machine`"); }),
        decides.end());
    // A DRP port's state machine is fixed at DRP: the explanation says by what, with the answers.
    const SExplanation stateMachine = Explain(sheet, *sheet.FindField(L"Type_C_State_Machine"));
    EXPECT_TRUE(stateMachine.fixedBy.starts_with(L"Fixed at 2 : DRP by the program: the choices follow"));
    EXPECT_NE(stateMachine.fixedBy.find(L"`PD_Port_Type` = 4 : DRP"), std::wstring::npos);
    EXPECT_TRUE(stateMachine.whenAsked.empty());
    const SExplanation vendor = Explain(sheet, *sheet.FindField(L"$Vendor_Name"));
    EXPECT_EQ(vendor.why, L"Always asked.");
    EXPECT_EQ(vendor.takes, L"free text");
    EXPECT_FALSE(vendor.help.empty());
}

} // namespace
