#pragma once

#include "sheet/SheetObserver.h"

#include <QFrame>
#include <QObject>

#include <cstddef>
#include <vector>

class CMarnelPropertySheet;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QShortcut;
class QTreeWidget;
struct SClearedEntry;
class QWidget;

// The bar under the tabs that says, without a box to answer, when a choice threw answers or groups
// away: "Choosing DRP for PD_Port_Type cleared 37 answers and 4 Source PDOs on 3 tabs.", with Undo
// beside it. "Show" lists what went, by tab, with the old values. The next change or Escape hides it.
class CClearNoticeBar : public QFrame {
    Q_OBJECT
public:
    explicit CClearNoticeBar(QWidget* parent);

    // Shows the bar with its list of what went folded away.
    void ShowText(const QString& text, const std::vector<SClearedEntry>& entries);
    QLabel* Text() const { return text_; }
    QPushButton* ShowButton() const { return show_; }
    QPushButton* UndoButton() const { return undo_; }
    QPushButton* CloseButton() const { return close_; }
    // One top line per tab, under it one line per answer or item: its name and its old value.
    QTreeWidget* Details() const { return details_; }

private:
    void ShowDetails(bool shown);

    QLabel* text_ = nullptr;
    QPushButton* show_ = nullptr;
    QTreeWidget* details_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* close_ = nullptr;
};

// Undo and Redo for a sheet's window: the buttons beside OK, Cancel and Apply with tool tips naming
// the step, Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y, and the notice bar. The history itself is the sheet's;
// these only show it and ask it to step.
class CUndoControls : public QObject, public ISheetObserver {
    Q_OBJECT
public:
    // Switches the sheet's history on; the buttons join `buttons`, the bar is made for the window's
    // layout to place.
    CUndoControls(CMarnelPropertySheet& sheet, QWidget* window, QDialogButtonBox* buttons);
    ~CUndoControls() override;

    QPushButton* UndoButton() const { return undo_; }
    QPushButton* RedoButton() const { return redo_; }
    CClearNoticeBar* Bar() const { return bar_; }

    void Undo();
    void Redo();

    void SheetChanged(const SSheetChange& change) override;

private:
    void Refresh();

    CMarnelPropertySheet& sheet_;
    QWidget* window_;
    QPushButton* undo_ = nullptr;
    QPushButton* redo_ = nullptr;
    CClearNoticeBar* bar_ = nullptr;
    QShortcut* escape_ = nullptr;
    std::size_t shownSerial_ = 0;
};
