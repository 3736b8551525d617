#include "sheet/Explanation.h"

#include "catalog/GroupCatalog.h"
#include "catalog/GroupTypes.h"
#include "catalog/RuleTable.h"
#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/Predicates.h"
#include "sheet/FindQuestions.h"
#include "sheet/PageSuper.h"
#include "sheet/Problems.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"

#include <algorithm>

using orvik::ToWide;

namespace {

// The page that lists a repeated item's questions: a mode's are on its SVID's tab.
const CPageSuper* PageListing(const CMarnelPropertySheet& sheet, EGroupType type) {
    const SGroupTypeRow* row = FindGroupTypeRow(type);
    const EGroupType listed = row && row->kind == EGroupKind::Mode ? row->owner : type;
    for (const auto& page : sheet.Pages()) {
        if (page->ListsGroups() && page->ListedGroupType() == listed) {
            return page.get();
        }
    }
    return nullptr;
}

const CPageSuper* PageOf(const CMarnelPropertySheet& sheet, const CParameterField& field) {
    if (field.Group()) {
        return PageListing(sheet, field.GroupType());
    }
    for (const auto& page : sheet.Pages()) {
        if (page->Fields().IndexOf(&field) >= 0) {
            return page.get();
        }
    }
    return nullptr;
}

// The catalog row of the question.
const SFieldRow* RowOf(const CMarnelPropertySheet& sheet, const CParameterField& field) {
    if (field.Group()) {
        return FindGroupFieldRow(field.GroupType(), field.NamePattern());
    }
    const CPageSuper* page = PageOf(sheet, field);
    if (!page) {
        return nullptr;
    }
    const std::vector<SFieldRow>& rows = page->Row().fields;
    const int index = page->Fields().IndexOf(&field);
    return index >= 0 && static_cast<std::size_t>(index) < rows.size()
               ? &rows[static_cast<std::size_t>(index)]
               : nullptr;
}

std::wstring ChoiceWords(const COption& option) {
    return orvik::ToWideSigned(option.first) + L" : " + option.second;
}

std::wstring HelpOf(const CMarnelPropertySheet& sheet, const CParameterField& field) {
    if (field.Group()) {
        const SFieldRow* row = FindGroupFieldRow(field.GroupType(), field.NamePattern());
        return row ? row->help : std::wstring();
    }
    const CPageSuper* page = PageOf(sheet, field);
    return page ? QuestionHelp(*page, field) : std::wstring();
}

// "0 : Type-A, 1 : Type-B or 2 : USB Type-C"; `last` joins the last two.
std::wstring ChoicesWords(const COptionList& options, const wchar_t* last = L" or ") {
    std::wstring words;
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (i > 0) {
            words += i + 1 == options.size() ? last : L", ";
        }
        words += ChoiceWords(options[i]);
    }
    return words;
}

std::wstring TakesWords(const CParameterField& field) {
    if (FieldAs<const CYesNoPulldownListField>(&field)) {
        return L"YES or NO";
    }
    if (const auto* list = FieldAs<const CPulldownListField>(&field)) {
        return list->Options().empty() ? L"a choice from a list the other answers decide"
                                       : L"one of " + ChoicesWords(list->Options());
    }
    if (const auto* number = FieldAs<const CNumEditField>(&field)) {
        std::wstring words =
            L"a number from " + ToWide(number->Minimum()) + L" to " + ToWide(number->Maximum());
        if (!number->Units().empty()) {
            words += L" " + number->Units();
        }
        if (number->Scale() > 1) {
            words += L", in steps of " + ToWide(number->Scale());
        }
        return words;
    }
    if (const auto* digits = FieldAs<const CDigitStringEditField>(&field)) {
        return L"a " + ToWide(digits->DigitCount()) + L"-digit" +
               (digits->Radix() == 16 ? L" hexadecimal number, typed without 0x" : L" number");
    }
    return L"free text";
}

// The answers a condition or an action reads, as they stand: "`Connector_Type` = 2 : USB Type-C".
std::wstring AnswersRead(const CParameterField& field, const std::vector<std::wstring>& reads) {
    std::wstring words;
    for (const std::wstring& name : reads) {
        const CParameterField* parent = field.FindParent(name);
        if (!parent) {
            continue;
        }
        words += (words.empty() ? L"" : L", ") + QuestionWords(name) + L" = " + AnswerWords(*parent);
    }
    return words;
}

std::wstring WhyWords(const CParameterField& field) {
    const FieldPredicate& condition = field.Rule().availability;
    const std::wstring words = condition.Words();
    if (words == L"always") {
        return field.IsAvailable() ? L"Always asked." : L"Not asked.";
    }
    const std::wstring answers = AnswersRead(field, condition.Reads());
    std::wstring why = field.IsAvailable() ? L"Asked when " + words : L"Not asked: needs " + words;
    if (!answers.empty()) {
        why += L"; now " + answers;
    }
    return why + L".";
}

// The questions whose rules read `field`'s answer, each with its tab.
std::vector<std::wstring> DecidesWords(const CMarnelPropertySheet& sheet, const CParameterField& field) {
    std::vector<std::wstring> decided;
    const std::wstring& pattern = field.NamePattern();
    for (const CRuleGroup& group : sheet.Rules().Groups()) {
        const CPageSuper* listing =
            IsRepeatedGroupType(group.type) ? PageListing(sheet, group.type) : nullptr;
        for (const CRuleRecord& record : group.Records()) {
            if (std::find(record.reads.begin(), record.reads.end(), pattern) == record.reads.end()) {
                continue;
            }
            const CPageSuper* page = listing;
            if (!IsRepeatedGroupType(group.type)) {
                const CParameterField* reader = sheet.FindField(record.namePattern);
                page = reader ? PageOf(sheet, *reader) : nullptr;
            }
            std::wstring line = QuestionWords(record.namePattern);
            if (page) {
                line += L" (" + page->TabLabel() + L")";
            }
            decided.push_back(std::move(line));
        }
    }
    return decided;
}

std::wstring FixedByWords(const CParameterField& field) {
    if (field.IsFilledByProgram()) {
        return L"Filled in by the program.";
    }
    if (!field.IsAvailable() || field.IsEnabled()) {
        return std::wstring();
    }
    std::wstring words = L"Fixed at " + AnswerWords(field) + L" by the program";
    if (const FieldAction& action = field.Rule().onAvailable) {
        words += L": " + action.Words();
        const std::wstring answers = AnswersRead(field, action.Reads());
        if (!answers.empty()) {
            words += L"; now " + answers;
        }
    }
    return words + L".";
}

bool IsAsked(const CMarnelPropertySheet& sheet, const CParameterField& field) {
    const CPageSuper* page = PageOf(sheet, field);
    return field.IsAvailable() && page && sheet.HasTab(page->Id());
}

// The answers a user could give a choice instead of the one it has.
std::vector<std::wstring> OtherAnswers(const CParameterField& parent) {
    std::vector<std::wstring> answers;
    if (FieldAs<const CYesNoPulldownListField>(&parent)) {
        answers = {L"YES", L"NO"};
    } else if (const auto* list = FieldAs<const CPulldownListField>(&parent)) {
        for (const COption& option : list->Options()) {
            answers.push_back(orvik::ToWideSigned(option.first));
        }
    }
    std::erase(answers, parent.Value());
    return answers;
}

// Whether another answer of `parent` alone would have `field` asked. Each answer is put in and the
// parent's own given back at once: nothing is evaluated again and nobody is told.
bool KeepsHidden(const CParameterField& field, CParameterField& parent) {
    const std::wstring own = parent.Value();
    bool asked = false;
    for (const std::wstring& answer : OtherAnswers(parent)) {
        parent.SetValue(answer);
        try {
            asked = field.Rule().availability(&field);
        } catch (const fieldlist_error&) {
            asked = false;
        }
        if (asked) {
            break;
        }
    }
    parent.CParameterField::SetValue(own);
    return asked;
}

CParameterField* Decider(const CMarnelPropertySheet& sheet, const CParameterField& field,
                         std::vector<const CParameterField*>& seen) {
    seen.push_back(&field);
    std::vector<CParameterField*> read;
    for (const std::wstring& name : field.Rule().availability.Reads()) {
        CParameterField* parent = field.FindParent(name);
        if (parent && std::find(read.begin(), read.end(), parent) == read.end()) {
            read.push_back(parent);
        }
    }
    std::vector<CParameterField*> hiding;
    for (CParameterField* parent : read) {
        if (KeepsHidden(field, *parent)) {
            hiding.push_back(parent);
        }
    }
    if (hiding.empty()) {
        hiding = read;
    }
    for (CParameterField* parent : hiding) {
        if (IsAsked(sheet, *parent)) {
            return parent;
        }
    }
    for (CParameterField* parent : hiding) {
        if (std::find(seen.begin(), seen.end(), parent) == seen.end()) {
            if (CParameterField* decider = Decider(sheet, *parent, seen)) {
                return decider;
            }
        }
    }
    return nullptr;
}

// The choices of the row's full list that an asked question does not offer now, with the words of
// the action that chose the others and the answers it read.
std::wstring LeftOutWords(const CMarnelPropertySheet& sheet, const CParameterField& field) {
    const auto* list = FieldAs<const CPulldownListField>(&field);
    const SFieldRow* row = list && field.IsAvailable() ? RowOf(sheet, field) : nullptr;
    if (!row) {
        return std::wstring();
    }
    COptionList left;
    for (const COption& option : EveryChoice(*row)) {
        if (!list->HasOption(option.first)) {
            left.push_back(option);
        }
    }
    if (left.empty()) {
        return std::wstring();
    }
    std::wstring words =
        ChoicesWords(left, L" and ") + (left.size() == 1 ? L" is left out" : L" are left out");
    // A fixed answer's explanation has just said what chose it.
    const FieldAction& action = field.Rule().onAvailable;
    if (action && field.IsEnabled()) {
        words += L": " + action.Words();
        const std::wstring answers = AnswersRead(field, action.Reads());
        if (!answers.empty()) {
            words += L"; now " + answers;
        }
    }
    return words + L".";
}

} // namespace

CParameterField* DecidingParent(const CMarnelPropertySheet& sheet, const CParameterField& field) {
    if (IsAsked(sheet, field)) {
        return nullptr;
    }
    std::vector<const CParameterField*> seen;
    return Decider(sheet, field, seen);
}

std::vector<SClearingChoice> ClearingChoices(const CMarnelPropertySheet& sheet,
                                             const CParameterField& field) {
    std::vector<SClearingChoice> clearing;
    const auto* list = FieldAs<const CPulldownListField>(&field);
    const int index = sheet.FieldVector().IndexOf(&field);
    const CPageSuper* page = index >= 0 ? PageOf(sheet, field) : nullptr;
    if (!list || !page || !sheet.HasTab(page->Id()) || !field.IsAvailable() || !field.IsEnabled() ||
        field.IsFilledByProgram()) {
        return clearing;
    }
    const bool yesNo = FieldAs<const CYesNoPulldownListField>(&field) != nullptr;
    std::vector<SClearingChoice> others;
    for (const COption& option : list->Options()) {
        SClearingChoice choice{yesNo ? option.second : ChoiceWords(option),
                               yesNo ? option.second : orvik::ToWideSigned(option.first),
                               {}};
        if (choice.value != field.Value()) {
            others.push_back(std::move(choice));
        }
    }
    if (others.empty()) {
        return clearing;
    }
    // A form of its own, without a window, observers or history, made to hold what the user's holds
    // before each choice: the choice is made there as the user would make it and what it cleared
    // counted as the history counts it.
    CMarnelPropertySheet copy(nullptr, sheet.SharedRules());
    copy.SetReviewFlagsEnabled(sheet.ReviewFlagsEnabled());
    copy.Initialize();
    for (SClearingChoice& choice : others) {
        if (!copy.CopyStateFrom(sheet)) {
            break;
        }
        copy.ApplyUserChange(copy.FieldVector().At(static_cast<std::size_t>(index)), choice.value);
        choice.cleared = ClearedBetween(sheet, copy);
        if (!choice.cleared.Empty()) {
            clearing.push_back(std::move(choice));
        }
    }
    return clearing;
}

std::wstring AnswerWords(const CParameterField& field) {
    if (field.Value().empty()) {
        return L"(none)";
    }
    if (FieldAs<const CYesNoPulldownListField>(&field)) {
        return field.Value();
    }
    if (const auto* list = FieldAs<const CPulldownListField>(&field)) {
        const COption option = list->GetCurrentOption();
        if (!option.second.empty()) {
            return field.Value() + L" : " + option.second;
        }
    }
    return field.Value();
}

SExplanation Explain(const CMarnelPropertySheet& sheet, const CParameterField& field, EExplainDepth depth) {
    SExplanation e;
    e.name = field.GetPrintableName();
    if (const CPageSuper* page = PageOf(sheet, field)) {
        e.tab = page->TabLabel();
    }
    e.help = HelpOf(sheet, field);
    e.takes = TakesWords(field);
    e.asked = field.IsAvailable();
    if (const CPageSuper* page = PageOf(sheet, field)) {
        for (const SProblem& problem : CollectPageProblems(*page)) {
            if (problem.field == &field) {
                e.problem = problem.reason;
                break;
            }
        }
    }
    e.why = WhyWords(field);
    e.fixedBy = FixedByWords(field);
    e.leftOut = LeftOutWords(sheet, field);
    e.validWhen = L"Valid when " + field.Rule().validity.Words() + L".";
    // A fixed answer already says what the action did.
    if (field.Rule().onAvailable && e.fixedBy.empty()) {
        e.whenAsked = L"When asked: " + field.Rule().onAvailable.Words() + L".";
    }
    e.decides = DecidesWords(sheet, field);
    if (depth == EExplainDepth::ChoicesTried) {
        e.clearedBy = ClearingChoices(sheet, field);
    }
    return e;
}

std::vector<std::wstring> ExplanationLines(const SExplanation& e) {
    std::vector<std::wstring> lines;
    lines.push_back(e.tab.empty() ? e.name : e.name + L" (" + e.tab + L")");
    for (const std::wstring* text :
         {&e.help, &e.problem, &e.why, &e.fixedBy, &e.leftOut, &e.validWhen, &e.whenAsked}) {
        if (!text->empty()) {
            lines.push_back(L"  " + *text);
        }
    }
    lines.insert(lines.begin() + (e.help.empty() ? 1 : 2), L"  Takes " + e.takes + L".");
    if (!e.decides.empty()) {
        std::wstring decides = L"  Decides:";
        for (std::size_t i = 0; i < e.decides.size(); ++i) {
            decides += (i == 0 ? L" " : L", ") + e.decides[i];
        }
        lines.push_back(std::move(decides));
    }
    if (!e.clearedBy.empty()) {
        std::wstring clears = L"  A different answer would clear now:";
        for (std::size_t i = 0; i < e.clearedBy.size(); ++i) {
            clears += (i == 0 ? L" " : L"; ") + e.clearedBy[i].choice + L" clears " +
                      ClearedWords(e.clearedBy[i].cleared);
        }
        lines.push_back(clears + L".");
    }
    return lines;
}
