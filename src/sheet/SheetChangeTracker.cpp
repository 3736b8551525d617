#include "sheet/SheetChangeTracker.h"

#include "model/FieldKinds.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"

CSheetSnapshot::SFieldState CSheetSnapshot::FieldState(const CParameterField& field) {
    // Validity as shown: a count of an SVID list also turns red when its pair conflicts.
    SFieldState state{field.Value(), field.IsAvailable(), !IsShownInvalid(field), {}};
    if (const auto* pulldown = dynamic_cast<const CPulldownListField*>(&field)) {
        state.choices = pulldown->Options();
    }
    return state;
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

CSheetSnapshot::CSheetSnapshot(const CMarnelPropertySheet& sheet) : active_(sheet.ActivePage().Id()) {
    for (const CParameterField* field : sheet.FieldVector()) {
        fields_.push_back(FieldState(*field));
    }
    for (const auto& page : sheet.Pages()) {
        pages_.push_back({sheet.HasTab(page->Id()), page->IsPageValid(), page->ReviewFlag()});
    }
    lists_ = ListStates(sheet);
}

SSheetChange CSheetSnapshot::Compare(const CMarnelPropertySheet& sheet) const {
    SSheetChange change;

    std::size_t fieldIndex = 0;
    for (CParameterField* field : sheet.FieldVector()) {
        if (fieldIndex >= fields_.size()) {
            break;
        }
        const SFieldState& was = fields_[fieldIndex++];
        const SFieldState now = FieldState(*field);
        SSheetChange::SField entry{field, was.value != now.value, was.available != now.available,
                                   was.choices != now.choices, was.valid != now.valid};
        if (entry.value || entry.availability || entry.choices || entry.validity) {
            change.fields.push_back(entry);
        }
    }

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
