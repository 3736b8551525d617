#pragma once

#include "catalog/PageCatalog.h"

#include <cstddef>
#include <vector>

class CParameterField;

// What one re-evaluation or one list operation changed, as a view needs it to repaint: it never has
// to poll the sheet for anything else.
struct SSheetChange {
    struct STab {
        EPage page;
        // The tab's index in the tab list after the change (added) or before it (removed).
        std::size_t position;
    };
    struct SField {
        CParameterField* field;
        bool value = false;
        // Whether the field can be answered changed: it came or went, or was locked or unlocked.
        bool availability = false;
        bool choices = false;
        // Whether the field is shown red changed (IsShownInvalid).
        bool validity = false;
    };
    struct SPage {
        EPage page;
        bool validity = false;
        bool reviewFlag = false;
    };

    // Removed tabs in descending position, then added tabs in ascending position: applying them in
    // that order to the old tab list gives the new one.
    std::vector<STab> tabsRemoved;
    std::vector<STab> tabsAdded;
    bool activePageMoved = false;
    EPage activePage = EPage::Intro;
    // Page fields only; group fields are reported through their list.
    std::vector<SField> fields;
    std::vector<SPage> pages;
    // The group types of the lists whose groups, lines or validity changed.
    std::vector<EGroupType> groupLists;

    bool Empty() const {
        return tabsRemoved.empty() && tabsAdded.empty() && !activePageMoved && fields.empty() &&
               pages.empty() && groupLists.empty();
    }
};

class ISheetObserver {
public:
    virtual ~ISheetObserver() = default;
    virtual void SheetChanged(const SSheetChange& change) = 0;
};
