#pragma once

#include "sheet/Problems.h"
#include "sheet/SheetObserver.h"

#include <QStringList>
#include <QWidget>

#include <vector>

class CMarnelPropertySheet;
class CSheetWindow;
class QLabel;
class QPushButton;
class QShortcut;
class QTreeWidget;
class QTreeWidgetItem;

// The panel beside the tabs listing what keeps the answers from being complete: every problem that
// `orvik check` reports, under the tab it is on, in tab order. It follows every change of the sheet
// while it is open. Activating an entry moves to its tab and to the control or list line concerned.
class CProblemsPanel : public QWidget, public ISheetObserver {
    Q_OBJECT
public:
    // Hidden at first; its checkable "Problems" button and F8 show and hide it.
    CProblemsPanel(CSheetWindow& window, QWidget* parent);
    ~CProblemsPanel() override;

    QPushButton* ToggleButton() const { return toggle_; }
    QTreeWidget* Tree() const { return tree_; }
    QLabel* Summary() const { return summary_; }
    const std::vector<SProblem>& Problems() const { return problems_; }
    // The entries' texts in order, tab headings left out.
    QStringList EntryTexts() const;
    // The entry for problem `index` of Problems(), or null.
    QTreeWidgetItem* EntryOf(int index) const;

    void SetOpen(bool open);
    bool IsOpen() const { return !isHidden(); }
    // Opens the panel on its first entry when a save would be refused (after one was).
    void OpenIfAny();
    // Collects the problems again and rebuilds the entries when they changed.
    void Refresh();
    // Moves to the tab of the entry and to its control or list line; false when the user stayed on
    // the page (leave-page question answered No) or nothing could take the focus.
    bool Activate(QTreeWidgetItem* item);

    void SheetChanged(const SSheetChange& change) override;
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Rebuild();

    CSheetWindow& window_;
    CMarnelPropertySheet& sheet_;
    QPushButton* toggle_ = nullptr;
    QShortcut* shortcut_ = nullptr;
    QLabel* summary_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    std::vector<SProblem> problems_;
    bool stale_ = true;
};
