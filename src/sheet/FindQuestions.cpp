#include "sheet/FindQuestions.h"

#include "catalog/GroupCatalog.h"
#include "model/ParameterField.h"
#include "model/Predicates.h"
#include "sheet/Explanation.h"
#include "sheet/GroupListEditor.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"

#include <algorithm>
#include <cwctype>

namespace {

std::wstring Folded(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) {
        return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    });
    return text;
}

bool Holds(const std::wstring& text, const std::wstring& folded) {
    return Folded(text).find(folded) != std::wstring::npos;
}

std::wstring ItemQuestionHelp(const CParameterField& field) {
    const SFieldRow* row = FindGroupFieldRow(field.GroupType(), field.NamePattern());
    return row ? row->help : std::wstring();
}

// How many items up from `group` (0: itself, 1: its SVID) the item holding `question` is; -1 when
// neither holds it.
int LevelsUpTo(const CFieldGroup& group, const CParameterField& question) {
    int up = 0;
    for (const CFieldGroup* item = &group; item; ++up) {
        if (question.Group() == item) {
            return up;
        }
        item = item->OwnerList() ? item->OwnerList()->OwnerGroup() : nullptr;
    }
    return -1;
}

// The matching questions of every item of `list` and, after each item, of its own list's items.
void FindInItems(const CMarnelPropertySheet& sheet, const CFieldGroupList& list, EPage page, bool present,
                 const std::wstring& folded, std::vector<int>& place, std::vector<SQuestionMatch>& matches) {
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const CFieldGroup& group = list.At(i);
        place.push_back(static_cast<int>(i));
        for (CParameterField* field : group.Fields()) {
            if (!Holds(QuestionName(*field), folded) && !Holds(ItemQuestionHelp(*field), folded)) {
                continue;
            }
            SQuestionMatch match{page,   field, present && field->IsAvailable(), place, GroupCaption(group),
                                 nullptr};
            // An item's dialog shows the item's own questions, an SVID's its modes too: a question not
            // asked goes to the one keeping it hidden when that is the item's or its SVID's.
            CParameterField* decider = match.asked ? nullptr : DecidingParent(sheet, *field);
            const int up = decider ? LevelsUpTo(group, *decider) : -1;
            match.target = up >= 0 ? decider : field;
            match.item.resize(match.item.size() - static_cast<std::size_t>(std::max(up, 0)));
            matches.push_back(std::move(match));
        }
        if (const CFieldGroupList* children = group.ChildList()) {
            FindInItems(sheet, *children, page, present, folded, place, matches);
        }
        place.pop_back();
    }
}

} // namespace

std::wstring QuestionName(const CParameterField& field) {
    std::wstring name = field.GetPrintableName();
    if (!name.empty() && name.front() == L'$') {
        name.erase(0, 1);
    }
    return name;
}

std::wstring QuestionHelp(const CPageSuper& page, const CParameterField& field) {
    const std::vector<SFieldRow>& rows = page.Row().fields;
    for (std::size_t i = 0; i < page.Fields().Size() && i < rows.size(); ++i) {
        if (page.Fields().At(i) == &field) {
            return rows[i].help;
        }
    }
    return {};
}

std::vector<SQuestionMatch> FindQuestions(const CMarnelPropertySheet& sheet, const std::wstring& text) {
    std::vector<SQuestionMatch> matches;
    const std::wstring folded = Folded(text);
    if (folded.empty()) {
        return matches;
    }
    for (const auto& page : sheet.Pages()) {
        const bool present = sheet.HasTab(page->Id());
        for (CParameterField* field : page->Fields()) {
            if (Holds(QuestionName(*field), folded) || Holds(QuestionHelp(*page, *field), folded)) {
                SQuestionMatch match{page->Id(), field, present && field->IsAvailable(), {}, {}, nullptr};
                match.target = match.asked ? field : DecidingParent(sheet, *field);
                matches.push_back(std::move(match));
            }
        }
        if (!page->ListsGroups()) {
            continue;
        }
        const auto list = sheet.GroupLists().find(page->ListedGroupType());
        if (list != sheet.GroupLists().end() && list->second) {
            std::vector<int> place;
            FindInItems(sheet, *list->second, page->Id(), present, folded, place, matches);
        }
    }
    return matches;
}

std::wstring MatchWords(const CMarnelPropertySheet& sheet, const SQuestionMatch& match) {
    const std::wstring& tab = sheet.Page(match.page).TabLabel();
    if (match.item.empty()) {
        return QuestionName(*match.field) + L" (" + tab + L")";
    }
    std::wstring name = QuestionWords(match.field->NamePattern());
    name = name.substr(1, name.size() - 2);
    return name + L" (" + match.itemName + L", " + tab + L")";
}
