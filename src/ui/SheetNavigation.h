#pragma once

#include "catalog/PageCatalog.h"

#include <string>
#include <vector>

class CParameterField;
class CSheetWindow;
class QWidget;

// Moving the user to a place on the sheet, as the problems panel and the find bar do.

// Moves to the tab of `page` the way a click on its tab does, the leave-page question included.
// True when that tab is the current one afterwards.
bool GoToPage(CSheetWindow& window, EPage page);
// Puts the keyboard focus on the control of a field of the current page, scrolled into view. False
// when the field's page has not been built or its control is disabled.
bool FocusField(CSheetWindow& window, CParameterField& field);
// Scrolls the control of a field of the current page into view, leaving the keyboard where it is.
// The control, or null when the field's page has not been built or its control is disabled.
QWidget* RevealField(CSheetWindow& window, CParameterField& field);
// Selects line `index` (0-based; -1 keeps the selection) of the list panel of `page` and puts the
// focus on the list. False when the page has no list panel.
bool FocusListLine(CSheetWindow& window, EPage page, int index);
// Moves to the tab of `page` and opens the item at `item` of its list (CListPanel::EditItemAt) at
// its question of name pattern `question`; returns when the item's dialog has closed. False when
// the tab or its list is not there.
bool OpenListItem(CSheetWindow& window, EPage page, const std::vector<int>& item,
                  const std::wstring& question);
// Moves to the page question called `name` (as the file writes it): its tab, the leave-page
// question included, then its control, focused when it takes answers and shown when not.
bool GoToQuestion(CSheetWindow& window, const std::wstring& name);
// Puts the focus on the first enabled control of `page`, or on its tab when it has none.
void FocusFirstControl(CSheetWindow& window, EPage page);
// Hides a bar of the window (the find bar, the load report); when it had the keyboard, the focus goes
// back to `before`, where it was when the bar took it, or else to the tabs.
void CloseBar(CSheetWindow& window, QWidget& bar, QWidget* before);
