#include "FullForm.h"
#include "core/FormFixture.h"

#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/Predicates.h"
#include "persistence/FileWriter.h"
#include "sheet/Explanation.h"
#include "sheet/GroupListEditor.h"

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

// A choice question whose action offers only some of its choices says which it leaves out and why,
// with the answers the action read; one that offers them all says nothing of it.
TEST_F(Explanation, NamesTheChoicesLeftOutWithTheAnswersThatLeaveThemOut) {
    struct SCase {
        const wchar_t* question;
        const wchar_t* batteryPowered;
        const wchar_t* leftOut; // how the words start; empty: nothing is left out
        const wchar_t* answerRead;
    } const cases[] = {
        {L"BC_1_2_Support", L"NO", L"1 : Portable Device and 3 : Both are left out: the choices follow",
         L"`Port_Battery_Powered` = NO"},
        {L"BC_1_2_Support", L"YES", L"", L""},
        // Fixed at DRP: what fixed it is said once, by the line before.
        {L"Type_C_State_Machine", L"NO", L"0 : SRC and 1 : SNK are left out.", L""},
        {L"Connector_Type", L"NO", L"", L""},
    };
    ASSERT_TRUE(Load(orvik::testsupport::FullPortForm(1, 1, 1, 1)));
    for (const SCase& c : cases) {
        Answer(L"Port_Battery_Powered", c.batteryPowered);
        const SExplanation e = Explain(sheet, *sheet.FindField(c.question));
        const std::string where(e.name.begin(), e.name.end());
        EXPECT_TRUE(e.leftOut.starts_with(c.leftOut))
            << where << ": " << std::string(e.leftOut.begin(), e.leftOut.end());
        EXPECT_EQ(e.leftOut.empty(), *c.leftOut == L'\0') << where;
        EXPECT_NE(e.leftOut.find(c.answerRead), std::wstring::npos) << where;
        const std::vector<std::wstring> lines = ExplanationLines(e);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), L"  " + e.leftOut), e.leftOut.empty() ? 0 : 1)
            << where;
    }
}

// What a different choice would clear is what making it clears: explaining tries each choice on
// a copy, so the user's answers, undo history and observers are as they were. Items the user typed
// into a new form count; those a file gave are kept by the choice.
TEST_F(Explanation, CountsWhatEachOtherChoiceWouldClearWithoutTouchingTheForm) {
    struct CCountingObserver : ISheetObserver {
        void SheetChanged(const SSheetChange& /*change*/) override { ++changes; }
        int changes = 0;
    } observer;
    sheet.History().SetEnabled(true);
    sheet.AddObserver(&observer);
    const auto expectClearsAsChoosing = [&](std::initializer_list<const wchar_t*> names) {
        for (const wchar_t* name : names) {
            CParameterField* field = sheet.FindField(name);
            const std::string before = BuildOrvikBytes(sheet);
            const std::wstring undo = sheet.History().UndoLabel();
            const std::size_t serial = sheet.History().Serial();
            observer.changes = 0;
            const SExplanation e = Explain(sheet, *field, EExplainDepth::ChoicesTried);
            const std::string where(e.name.begin(), e.name.end());
            EXPECT_EQ(BuildOrvikBytes(sheet), before) << where;
            EXPECT_EQ(observer.changes, 0) << where;
            EXPECT_EQ(sheet.History().Serial(), serial) << where;
            EXPECT_EQ(sheet.History().UndoLabel(), undo) << where;
            EXPECT_TRUE(Explain(sheet, *field).clearedBy.empty()) << where;

            std::size_t clearing = 0;
            const auto* list = FieldAs<const CPulldownListField>(field);
            for (const COption& option : list ? list->Options() : COptionList()) {
                const std::wstring value = FieldAs<const CYesNoPulldownListField>(field)
                                               ? option.second
                                               : orvik::ToWideSigned(option.first);
                if (value == field->Value()) {
                    continue;
                }
                sheet.ApplyUserChange(field, value);
                const SClearedAnswers actual = sheet.History().LastCleared();
                const auto told = std::find_if(e.clearedBy.begin(), e.clearedBy.end(),
                                               [&](const SClearingChoice& c) { return c.value == value; });
                ASSERT_EQ(told != e.clearedBy.end(), !actual.Empty()) << where << " = " << option.first;
                if (told != e.clearedBy.end()) {
                    ++clearing;
                    EXPECT_EQ(told->cleared.answers, actual.answers) << where << " = " << option.first;
                    EXPECT_EQ(told->cleared.groups, actual.groups) << where << " = " << option.first;
                    EXPECT_EQ(told->cleared.tabs, actual.tabs) << where << " = " << option.first;
                }
                ASSERT_TRUE(sheet.History().Undo());
            }
            EXPECT_EQ(clearing, e.clearedBy.size()) << where;
            const std::vector<std::wstring> lines = ExplanationLines(e);
            const bool told = std::any_of(lines.begin(), lines.end(), [](const std::wstring& line) {
                return line.starts_with(L"  A different answer would clear now: ");
            });
            EXPECT_EQ(told, !e.clearedBy.empty()) << where;
        }
    };

    Answer(L"Orvik_Product_Type", L"0");
    Answer(L"Connector_Type", L"2");
    Answer(L"USB_PD_Support", L"YES");
    Answer(L"PD_Port_Type", L"4");
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SourcePdo), &sheet);
    for (const wchar_t* millivolts : {L"5000", L"9000"}) {
        CGroupWorkingCopy& pdo = editor.BeginAdd();
        pdo.SetAnswer(L"Src_PDO_Supply_Type1", L"0");
        pdo.SetAnswer(L"Src_PDO_Peak_Current1", L"0");
        pdo.SetAnswer(L"Src_PDO_Voltage1", millivolts);
        pdo.SetAnswer(L"Src_PDO_Max_Current1", L"3000");
        ASSERT_TRUE(editor.Ok());
    }
    expectClearsAsChoosing({L"USB_PD_Support", L"PD_Port_Type"});
    const SExplanation pdSupport =
        Explain(sheet, *sheet.FindField(L"USB_PD_Support"), EExplainDepth::ChoicesTried);
    ASSERT_EQ(pdSupport.clearedBy.size(), 1u);
    EXPECT_EQ(pdSupport.clearedBy.front().choice, L"NO");
    EXPECT_EQ(pdSupport.clearedBy.front().cleared.groups,
              (std::vector<std::pair<EGroupType, std::size_t>>{{EGroupType::SourcePdo, 2}}));

    ASSERT_TRUE(Load(orvik::testsupport::FullPortForm(2, 2, 2, 2)));
    Answer(L"Port_Battery_Powered", L"YES");
    expectClearsAsChoosing({L"PD_Port_Type", L"USB_PD_Support", L"Connector_Type", L"Port_Battery_Powered",
                            L"BC_1_2_Support", L"$Vendor_Name"});
    sheet.RemoveObserver(&observer);
}

} // namespace
