#include "sheet/SheetChangeTracker.h"

#include "model/FieldKinds.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"

CFieldStates::SFieldState CFieldStates::StateOf(const CParameterField& field) {
    // Validity as shown: a count of an SVID list also turns red when its pair conflicts.
    SFieldState state{field.Value(), field.IsAvailable(), field.IsEnabled(), !IsShownInvalid(field), {}};
    if (const auto* pulldown = FieldAs<const CPulldownListField>(&field)) {
        state.choices = pulldown->SharedOptions();
    }
    return state;
}

bool CFieldStates::SameChoices(const SFieldState& was, const SFieldState& now) {
    if (was.choices == now.choices) {
        return true;
    }
    // Without a list, a field has no choices: the same as an empty list.
    const bool wasEmpty = !was.choices || was.choices->empty();
    const bool nowEmpty = !now.choices || now.choices->empty();
    if (wasEmpty || nowEmpty) {
        return wasEmpty && nowEmpty;
    }
    return *was.choices == *now.choices;
}

CFieldStates::CFieldStates(const CFieldList& fields) {
    states_.reserve(fields.Size());
    for (const CParameterField* field : fields) {
        states_.push_back(StateOf(*field));
    }
}

void CFieldStates::AddChanges(const CFieldList& fields, std::vector<SSheetChange::SField>& out) const {
    std::size_t index = 0;
    for (CParameterField* field : fields) {
        if (index >= states_.size()) {
            break;
        }
        const SFieldState& was = states_[index++];
        const SFieldState now = StateOf(*field);
        SSheetChange::SField entry{field, was.value != now.value,
                                   was.available != now.available || was.enabled != now.enabled,
                                   !SameChoices(was, now), was.valid != now.valid};
        if (entry.value || entry.availability || entry.choices || entry.validity) {
            out.push_back(entry);
        }
    }
}

std::vector<CSheetSnapshot::SListState> CSheetSnapshot::ListStates(const CMarnelPropertySheet& sheet) {
    std::vector<SListState> lists;
    for (const auto& [type, list] : sheet.GroupLists()) {
        SListState state{type, list->IsListValid(), {}, {}};
        for (const auto& group : list->Groups()) {
            state.lines.push_back(list->Summary(*group));
            state.lineValid.push_back(list->CheckGroup(*group));
        }
        lists.push_back(std::move(state));
    }
    return lists;
}

CSheetSnapshot::CSheetSnapshot(const CMarnelPropertySheet& sheet)
    : fields_(sheet.FieldVector()), active_(sheet.ActivePage().Id()) {
    for (const auto& page : sheet.Pages()) {
        pages_.push_back({sheet.HasTab(page->Id()), page->IsPageValid(), page->ReviewFlag()});
    }
    lists_ = ListStates(sheet);
}

SSheetChange CSheetSnapshot::Compare(const CMarnelPropertySheet& sheet) const {
    SSheetChange change;

    fields_.AddChanges(sheet.FieldVector(), change.fields);

    // Tabs: positions in the old list for removals (last first), in the new list for additions.
    std::size_t oldPosition = 0;
    std::size_t newPosition = 0;
    for (std::size_t i = 0; i < pages_.size() && i < sheet.Pages().size(); ++i) {
        const CPageSuper& page = *sheet.Pages()[i];
        const bool hasTab = sheet.HasTab(page.Id());
        if (pages_[i].tab && !hasTab) {
            change.tabsRemoved.push_back({page.Id(), oldPosition});
        } else if (!pages_[i].tab && hasTab) {
            change.tabsAdded.push_back({page.Id(), newPosition});
        }
        oldPosition += pages_[i].tab ? 1 : 0;
        newPosition += hasTab ? 1 : 0;

        SSheetChange::SPage entry{page.Id(), pages_[i].valid != page.IsPageValid(),
                                  pages_[i].review != page.ReviewFlag()};
        if (entry.validity || entry.reviewFlag) {
            change.pages.push_back(entry);
        }
    }
    change.tabsRemoved = {change.tabsRemoved.rbegin(), change.tabsRemoved.rend()};

    change.activePage = sheet.ActivePage().Id();
    change.activePageMoved = change.activePage != active_;

    const std::vector<SListState> lists = ListStates(sheet);
    for (const SListState& now : lists) {
        bool changed = true;
        for (const SListState& was : lists_) {
            if (was.type == now.type) {
                changed = was.valid != now.valid || was.lines != now.lines || was.lineValid != now.lineValid;
                break;
            }
        }
        if (changed) {
            change.groupLists.push_back(now.type);
        }
    }
    return change;
}
