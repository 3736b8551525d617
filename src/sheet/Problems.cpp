#include "sheet/Problems.h"

#include "catalog/GroupCatalog.h"
#include "catalog/GroupChecks.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/Predicates.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"

#include <map>

using orvik::Format;
using orvik::ToWide;
using orvik::ToWideSigned;

namespace {

// ---- answers ----

bool FailsCheck(const CParameterField& field) {
    return field.IsAvailable() && !field.PassesValidity();
}

// What the field accepts: its prompt, its choices, or nothing to add.
std::wstring Accepted(const CParameterField& field) {
    if (FieldAs<const CYesNoPulldownListField>(&field)) {
        return L"YES or NO";
    }
    if (const auto* list = FieldAs<const CPulldownListField>(&field)) {
        if (list->Options().empty()) {
            return L"no choice applies";
        }
        std::wstring choices = L"choices:";
        for (const COption& option : list->Options()) {
            choices += Format(L" %s %s,", {ToWideSigned(option.first), option.second});
        }
        choices.pop_back();
        return choices;
    }
    if (const auto* edit = FieldAs<const CEditField>(&field)) {
        return edit->Prompt();
    }
    return std::wstring();
}

// ---- lists ----

// "PDO 2 incomplete", "modes 1, 3 incomplete".
std::wstring Incomplete(const std::wstring& noun, const std::vector<int>& numbers) {
    std::wstring text = noun;
    if (numbers.size() > 1) {
        text += L"s";
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text += (i == 0 ? L" " : L", ") + ToWideSigned(numbers[i]);
    }
    return text + L" incomplete";
}

// Groups of the same key, by their numbers, where more than one group has the key.
std::vector<std::vector<int>> SharedKeys(const std::map<long long, std::vector<int>>& numbersByKey) {
    std::vector<std::vector<int>> shared;
    for (const auto& [key, numbers] : numbersByKey) {
        if (numbers.size() > 1) {
            shared.push_back(numbers);
        }
    }
    return shared;
}

std::wstring NumberList(const std::vector<int>& numbers) {
    std::wstring text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text += (i == 0 ? L"" : i + 1 == numbers.size() ? L" and " : L", ") + ToWideSigned(numbers[i]);
    }
    return text;
}

std::wstring PrintableOr(const CParameterField* field, const std::wstring& fallback) {
    return field ? field->GetPrintableName() : fallback;
}

// "2 defined but Num_Src_PDOs is 3", or "Num_Src_PDOs is not answered"; empty when they agree.
std::wstring CountReason(std::size_t defined, const std::wstring& countName, long long count) {
    if (count < 0) {
        return countName + L" is not answered";
    }
    if (static_cast<unsigned long long>(count) == defined) {
        return std::wstring();
    }
    return Format(L"%s defined but %s is %s", {ToWide(defined), countName, ToWideSigned(count)});
}

std::wstring Join(const std::vector<std::wstring>& reasons) {
    std::wstring text;
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        text += (i == 0 ? L": " : L"; ") + reasons[i];
    }
    return text;
}

// "<list>: list incomplete: <reasons>" for a list failing its check.
std::wstring ListLine(const CMarnelPropertySheet& sheet, const CFieldGroupList& list) {
    const EGroupType type = list.Type();
    const SGroupTypeRow& row = GroupTypeRow(type);
    const SSvidNames* svidNames = SvidNamesOf(type);
    const SPdoNames* pdoNames = PdoNamesOf(type);
    const wchar_t* countPattern = pdoNames    ? pdoNames->countField
                                  : svidNames ? svidNames->countField
                                              : nullptr;

    std::vector<std::wstring> reasons;
    if (countPattern) {
        const CParameterField* count = sheet.FindField(countPattern);
        std::wstring reason = CountReason(list.Size(), PrintableOr(count, countPattern), DecimalOf(count));
        if (!reason.empty()) {
            reasons.push_back(std::move(reason));
        }
    }
    std::vector<int> incomplete;
    std::map<long long, std::vector<int>> numbersBySvid;
    for (const auto& group : list.Groups()) {
        if (!list.CheckGroup(*group)) {
            incomplete.push_back(group->InstanceNumber());
        }
        std::uint32_t value = 0;
        const CParameterField* svid = svidNames ? group->FindField(svidNames->svid) : nullptr;
        if (svid && svid->IsValid() && HexOf(svid, value)) {
            numbersBySvid[value].push_back(group->InstanceNumber());
        }
    }
    if (!incomplete.empty()) {
        reasons.push_back(Incomplete(row.shortName, incomplete));
    }
    for (const std::vector<int>& numbers : SharedKeys(numbersBySvid)) {
        reasons.push_back(Format(L"%s %s have the same value", {row.plural, NumberList(numbers)}));
    }
    return Format(L"%s: list incomplete%s", {row.plural, Join(reasons)});
}

// "<SVID> modes: list incomplete: <reasons>"; empty when the SVID's modes are complete.
std::wstring ModesLine(const SSvidNames& names, const CFieldGroup& svid) {
    const CFieldGroupList* modes = svid.ChildList();
    if (IsModeListComplete(names, svid, modes)) {
        return std::wstring();
    }
    std::vector<std::wstring> reasons;
    const CParameterField* maxModes = svid.FindField(names.maxModes);
    std::wstring count =
        CountReason(modes ? modes->Size() : 0, PrintableOr(maxModes, names.maxModes), DecimalOf(maxModes));
    if (!count.empty()) {
        reasons.push_back(std::move(count));
    }
    std::vector<int> incomplete;
    bool enterable = false;
    std::map<long long, std::vector<int>> numbersByKey;
    if (modes) {
        for (const auto& mode : modes->Groups()) {
            if (!AllAvailableFieldsValid(*mode)) {
                incomplete.push_back(mode->InstanceNumber());
            }
            enterable = enterable || IsYes(mode->FindField(names.enter));
            std::uint32_t mask = 0xFFFFFFFFu;
            std::uint32_t value = 0xFFFFFFFFu;
            const CParameterField* maskField = mode->FindField(names.recogMask);
            const CParameterField* valueField = mode->FindField(names.recogValue);
            if (!maskField || !maskField->IsValid() || !HexOf(maskField, mask)) {
                mask = 0xFFFFFFFFu;
            }
            if (!valueField || !valueField->IsValid() || !HexOf(valueField, value)) {
                value = 0xFFFFFFFFu;
            }
            numbersByKey[mask & value].push_back(mode->InstanceNumber());
        }
    }
    if (!incomplete.empty()) {
        reasons.push_back(Incomplete(L"mode", incomplete));
    }
    const int fixed = ChoiceOf(svid.FindField(names.modesFixed));
    if (IsYes(fixed) && modes && !modes->Empty() && !enterable) {
        reasons.push_back(L"no mode can be entered");
    }
    if (IsNo(fixed)) {
        for (const std::vector<int>& numbers : SharedKeys(numbersByKey)) {
            reasons.push_back(L"modes " + NumberList(numbers) + L" have the same recognition mask AND value");
        }
    }
    const CParameterField* value = svid.FindField(names.svid);
    const std::wstring title =
        value
            ? value->GetPrintableName()
            : Format(L"%s %d", {GroupTypeRow(names.svidType).shortName, ToWideSigned(svid.InstanceNumber())});
    return Format(L"%s modes: list incomplete%s", {title, Join(reasons)});
}

// ---- collecting ----

class CPageProblems {
public:
    explicit CPageProblems(const CPageSuper& page) : page_(page) {}

    std::vector<SProblem> Collect() {
        if (page_.AreAnswersValid()) {
            return {};
        }
        for (CParameterField* field : page_.Fields()) {
            AddField(*field, EGroupType::None, -1);
        }
        if (const CFieldGroupList* list = ListOfPage()) {
            const EGroupType type = list->Type();
            for (std::size_t i = 0; i < list->Size(); ++i) {
                AddGroupFields(list->At(i), type, static_cast<int>(i));
            }
            if (!list->IsListValid()) {
                Add(nullptr, type, -1, ListLine(page_.Sheet(), *list));
            }
            if (const SSvidNames* names = SvidNamesOf(type)) {
                for (std::size_t i = 0; i < list->Size(); ++i) {
                    std::wstring line = ModesLine(*names, list->At(i));
                    if (!line.empty()) {
                        Add(nullptr, type, static_cast<int>(i), std::move(line));
                    }
                }
            }
        }
        for (std::wstring& rule : page_.PageRuleProblems()) {
            Add(nullptr, EGroupType::None, -1, std::move(rule));
        }
        return std::move(problems_);
    }

private:
    const CFieldGroupList* ListOfPage() const {
        if (!page_.ListsGroups()) {
            return nullptr;
        }
        const auto& lists = page_.Sheet().GroupLists();
        const auto it = lists.find(page_.ListedGroupType());
        return it != lists.end() ? it->second.get() : nullptr;
    }

    // A group's fields and those of its modes, all under the group's place in the tab's list.
    void AddGroupFields(const CFieldGroup& group, EGroupType type, int index) {
        for (CParameterField* field : group.Fields()) {
            AddField(*field, type, index);
        }
        if (const CFieldGroupList* children = group.ChildList()) {
            for (const auto& child : children->Groups()) {
                AddGroupFields(*child, type, index);
            }
        }
    }

    void AddField(CParameterField& field, EGroupType type, int index) {
        if (FailsCheck(field)) {
            Add(&field, type, index, field.GetPrintableName() + L": " + FieldProblemReason(field));
        }
    }

    void Add(CParameterField* field, EGroupType type, int index, std::wstring reason) {
        problems_.push_back(SProblem{page_.Id(), field, type, index, std::move(reason)});
    }

    const CPageSuper& page_;
    std::vector<SProblem> problems_;
};

} // namespace

std::vector<SProblem> CollectPageProblems(const CPageSuper& page) {
    return CPageProblems(page).Collect();
}

namespace {

// "not yet reviewed" and why the page waits for a look.
std::wstring ReviewReason(const CPageSuper& page) {
    switch (page.ReviewCause()) {
    case CPageSuper::EReviewCause::Load:
        return L"not yet reviewed since the load";
    case CPageSuper::EReviewCause::Change:
        return L"not yet reviewed since a change on another tab";
    case CPageSuper::EReviewCause::Start:
        break;
    }
    return L"not yet reviewed";
}

// Every present tab's problems in tab order, each tab's review flag after them when `review`.
std::vector<SProblem> CollectTabs(const CMarnelPropertySheet& sheet, bool review) {
    std::vector<SProblem> problems;
    for (const CPageSuper* page : sheet.Tabs()) {
        std::vector<SProblem> own = CollectPageProblems(*page);
        problems.insert(problems.end(), std::make_move_iterator(own.begin()),
                        std::make_move_iterator(own.end()));
        if (review && page->ReviewFlag()) {
            problems.push_back(SProblem{page->Id(), nullptr, EGroupType::None, -1, ReviewReason(*page)});
        }
    }
    return problems;
}

} // namespace

std::vector<SProblem> CollectProblems(const CMarnelPropertySheet& sheet) {
    return CollectTabs(sheet, false);
}

std::vector<SProblem> CollectSaveRefusals(const CMarnelPropertySheet& sheet) {
    return CollectTabs(sheet, true);
}

std::wstring FieldProblemReason(const CParameterField& field) {
    const std::wstring text = field.Value();
    if (text.empty()) {
        return L"missing";
    }
    std::wstring reason;
    if (!field.IsValid()) {
        reason = Format(L"invalid value \"%s\"", {text});
    } else {
        // The kind accepts the answer; a rule of the form rejects it, often together with others.
        const auto* edit = FieldAs<const CEditField>(&field);
        if (edit && !edit->Note().empty()) {
            return Format(L"value \"%s\" not accepted (%s)", {text, edit->Note()});
        }
        return Format(L"value \"%s\" not accepted with the other answers", {text});
    }
    const std::wstring accepted = Accepted(field);
    if (!accepted.empty()) {
        reason += L" (" + accepted + L")";
    }
    return reason;
}
