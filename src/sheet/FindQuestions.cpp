#include "sheet/FindQuestions.h"

#include "catalog/GroupCatalog.h"
#include "model/ParameterField.h"
#include "model/Predicates.h"
#include "sheet/Explanation.h"
#include "sheet/GroupListEditor.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"

#include <algorithm>
#include <cwctype>

namespace {

// The form's names and help texts are ASCII but for a few signs: those are folded in place, the
// rest as the C library folds them.
wchar_t Folded(wchar_t c) {
    return c < 0x80 ? orvik::ToLowerAscii(c)
                    : static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
}

std::wstring Folded(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return Folded(c); });
    return text;
}

// Whether `text` holds `folded` (already folded), ignoring case, without folding a copy of it: a
// search reads the names and help texts of every question of every item.
bool Holds(std::wstring_view text, const std::wstring& folded) {
    return std::search(text.begin(), text.end(), folded.begin(), folded.end(),
                       [](wchar_t a, wchar_t b) { return Folded(a) == b; }) != text.end();
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

// Whether an item question matches: its help, and for a text without digits its name too, are the
// same for the question in every item, so they are read once per catalog row. A name is its
// pattern's pieces with the item's numbers between them: a text without digits is found in one
// piece or not at all.
class CItemMatches {
public:
    explicit CItemMatches(const std::wstring& folded)
        : folded_(folded), digits_(std::any_of(folded.begin(), folded.end(),
                                               [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {}
    bool operator()(const CParameterField& field) {
        if (RowMatches(field)) {
            return true;
        }
        if (!digits_) {
            return false;
        }
        name_.clear();
        field.AppendPrintableName(name_);
        // As the label shows it: without a leading '$'.
        return Holds(std::wstring_view(name_).substr(name_.starts_with(L'$') ? 1 : 0), folded_);
    }

private:
    bool RowMatches(const CParameterField& field) {
        const CRuleRecord* rule = &field.Rule();
        for (const auto& [record, holds] : known_) {
            if (record == rule) {
                return holds;
            }
        }
        const SFieldRow* row = FindGroupFieldRow(field.GroupType(), field.NamePattern());
        bool holds = row && Holds(row->help, folded_);
        if (!digits_) {
            const std::vector<std::wstring>& pieces = field.ParsedPattern().Pieces();
            for (std::size_t i = 0; i < pieces.size() && !holds; ++i) {
                const std::wstring_view piece = pieces[i];
                holds = Holds(piece.substr(i == 0 && piece.starts_with(L'$') ? 1 : 0), folded_);
            }
        }
        known_.emplace_back(rule, holds);
        return holds;
    }

    const std::wstring& folded_;
    const bool digits_;
    std::wstring name_;
    std::vector<std::pair<const CRuleRecord*, bool>> known_;
};

// The matching questions of every item of `list` and, after each item, of its own list's items.
void FindInItems(const CFieldGroupList& list, EPage page, bool present, CItemMatches& holds,
                 std::vector<int>& place, std::vector<SQuestionMatch>& matches) {
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const CFieldGroup& group = list.At(i);
        place.push_back(static_cast<int>(i));
        for (CParameterField* field : group.Fields()) {
            if (!holds(*field)) {
                continue;
            }
            matches.push_back(
                SQuestionMatch{page, field, present && field->IsAvailable(), place, GroupCaption(group)});
        }
        if (const CFieldGroupList* children = group.ChildList()) {
            FindInItems(*children, page, present, holds, place, matches);
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
    CItemMatches holds(folded);
    for (const auto& page : sheet.Pages()) {
        const bool present = sheet.HasTab(page->Id());
        for (CParameterField* field : page->Fields()) {
            if (Holds(QuestionName(*field), folded) || Holds(QuestionHelp(*page, *field), folded)) {
                matches.push_back(SQuestionMatch{page->Id(), field, present && field->IsAvailable(), {}, {}});
            }
        }
        if (!page->ListsGroups()) {
            continue;
        }
        const auto list = sheet.GroupLists().find(page->ListedGroupType());
        if (list != sheet.GroupLists().end() && list->second) {
            std::vector<int> place;
            FindInItems(*list->second, page->Id(), present, holds, place, matches);
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

SMatchTarget MatchTarget(const CMarnelPropertySheet& sheet, const SQuestionMatch& match) {
    if (match.item.empty()) {
        return {match.asked ? match.field : DecidingParent(sheet, *match.field), {}};
    }
    // An item's dialog shows the item's own questions, an SVID's its modes too: a question not
    // asked goes to the one keeping it hidden when that is the item's or its SVID's.
    CParameterField* decider = match.asked ? nullptr : DecidingParent(sheet, *match.field);
    const int up = decider && match.field->Group() ? LevelsUpTo(*match.field->Group(), *decider) : -1;
    SMatchTarget target{up >= 0 ? decider : match.field, match.item};
    target.item.resize(target.item.size() - static_cast<std::size_t>(std::max(up, 0)));
    return target;
}
