#include "ui/SheetNavigation.h"

#include "model/ParameterField.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"
#include "ui/FieldControls.h"
#include "ui/ListPanel.h"
#include "ui/PageView.h"
#include "ui/QuestionPane.h"
#include "ui/SheetWindow.h"

#include <QApplication>
#include <QFormLayout>
#include <QListWidget>
#include <QPointer>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace {

QScrollArea* ScrollAreaOf(QWidget* widget) {
    for (QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            return area;
        }
    }
    return nullptr;
}

// Scrolled into view now and, for a page just built whose layout is still pending, once more after
// the layout has run.
void Reveal(QWidget* widget) {
    if (QScrollArea* area = ScrollAreaOf(widget)) {
        area->ensureWidgetVisible(widget);
        QPointer<QWidget> target(widget);
        QPointer<QScrollArea> scroll(area);
        QTimer::singleShot(0, area, [target, scroll] {
            if (target && scroll) {
                scroll->ensureWidgetVisible(target);
            }
        });
    }
}

void FocusAndReveal(QWidget* widget) {
    widget->setFocus(Qt::OtherFocusReason);
    Reveal(widget);
}

} // namespace

bool GoToPage(CSheetWindow& window, EPage page) {
    const int index = window.TabIndexOf(page);
    if (index < 0) {
        return false;
    }
    if (window.TabWidget()->currentIndex() != index) {
        window.TabWidget()->setCurrentIndex(index);
    }
    return window.Sheet().ActivePage().Id() == page && window.TabWidget()->currentIndex() == index;
}

bool GoToQuestion(CSheetWindow& window, const std::wstring& name) {
    CParameterField* field = window.Sheet().FindField(name);
    CPageSuper* page = field ? HostPage(field) : nullptr;
    if (!page || !GoToPage(window, page->Id())) {
        return false;
    }
    if (window.QuestionPane()) {
        window.QuestionPane()->ShowQuestion(field);
    }
    return FocusField(window, *field) || RevealField(window, *field) != nullptr;
}

bool FocusField(CSheetWindow& window, CParameterField& field) {
    CQtFieldControl* control = window.ControlOf(field);
    if (!control || !control->Input()->isEnabled()) {
        return false;
    }
    FocusAndReveal(control->Input());
    return true;
}

QWidget* RevealField(CSheetWindow& window, CParameterField& field) {
    CQtFieldControl* control = window.ControlOf(field);
    if (!control || !control->Input()->isEnabled()) {
        return nullptr;
    }
    Reveal(control->Input());
    return control->Input();
}

bool FocusListLine(CSheetWindow& window, EPage page, int index) {
    CPageView* view = window.View(page);
    auto* panel = view ? qobject_cast<CListPanel*>(view->ListPanel()) : nullptr;
    if (!panel) {
        return false;
    }
    QListWidget* list = panel->List();
    if (index >= 0 && index < list->count()) {
        list->setCurrentRow(index);
        list->scrollToItem(list->item(index));
    }
    FocusAndReveal(list);
    return true;
}

bool OpenListItem(CSheetWindow& window, EPage page, const std::vector<int>& item,
                  const std::wstring& question) {
    if (item.empty() || !GoToPage(window, page) || !FocusListLine(window, page, item.front())) {
        return false;
    }
    // The panel is there: FocusListLine found it.
    qobject_cast<CListPanel*>(window.View(page)->ListPanel())->EditItemAt(item, question);
    return true;
}

void FocusFirstControl(CSheetWindow& window, EPage page) {
    CPageView* view = window.View(page);
    if (view && view->Form()) {
        for (int row = 0; row < view->Form()->rowCount(); ++row) {
            QLayoutItem* item = view->Form()->itemAt(row, QFormLayout::FieldRole);
            QWidget* input = item ? item->widget() : nullptr;
            if (!input && item && item->layout() && item->layout()->count() > 0) {
                input = item->layout()->itemAt(0)->widget(); // a box followed by its unit
            }
            // A box the Tab key passes by (the Intro tab's version lines) is not where a user starts.
            if (input && input->isEnabled() && (input->focusPolicy() & Qt::TabFocus)) {
                FocusAndReveal(input);
                return;
            }
        }
    }
    window.TabWidget()->tabBar()->setFocus(Qt::OtherFocusReason);
}

void CloseBar(CSheetWindow& window, QWidget& bar, QWidget* before) {
    const bool hadFocus = bar.isAncestorOf(QApplication::focusWidget());
    bar.hide();
    if (hadFocus) {
        if (before && before->isVisible() && before->isEnabled()) {
            before->setFocus(Qt::OtherFocusReason);
        } else {
            window.TabWidget()->setFocus(Qt::OtherFocusReason);
        }
    }
}
