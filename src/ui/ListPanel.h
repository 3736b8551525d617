#pragma once

#include "sheet/SheetObserver.h"

#include <QMenu>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CGroupDialog;
class CGroupListEditor;
class CMarnelPropertySheet;
class CPdoChart;
class QBoxLayout;
class QResizeEvent;
class CWindowHooks;
class IPrompt;
class QLabel;
class QListWidget;
class QPushButton;

// Paints an invalid line in pure red, also when selected: red text on the highlight with each of
// red, green and blue halved.
class CListLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // The item data role holding true for an invalid line.
    static constexpr int kInvalidRole = Qt::UserRole + 1;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// The panel of one repeated-group list: its label, one summary line per group, and the buttons
// Add, Edit, Insert, Delete and Clear, which open the group dialog on a working copy.
class CListPanel : public QWidget, public ISheetObserver {
    Q_OBJECT
public:
    // A list page's panel over the sheet's list of `groupType`: it follows the sheet's change
    // announcements, and its operations are announced to the sheet's observers. Its group dialogs
    // run through `hooks`, which must outlive the panel.
    CListPanel(CMarnelPropertySheet& sheet, EGroupType groupType, const CWindowHooks& hooks,
               QWidget* parent = nullptr);
    // A panel over a list that belongs to no sheet (the modes of an SVID dialog's working copy);
    // `onChange` runs after every change of the list.
    CListPanel(CGroupListEditor& editor, IPrompt& prompt, const CWindowHooks& hooks,
               std::function<void()> onChange, QWidget* parent = nullptr);
    ~CListPanel() override;

    CGroupListEditor& Editor() const { return *editor_; }
    QLabel* Label() const { return label_; }
    QListWidget* List() const { return list_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* EditButton() const { return edit_; }
    QPushButton* InsertButton() const { return insert_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* ClearButton() const { return clear_; }
    // The chart beside a sheet's PDO list; null for other lists.
    CPdoChart* Chart() const { return chart_; }
    // The open "ListBox Manager" menu, or null.
    QMenu* ContextMenu() const { return menu_; }

    void AddItem();
    void EditItem();
    // Selects line `item[0]` and opens its dialog as Edit does; for a longer place, that dialog then
    // opens its own list's line `item[1]` the same way, and so on. The innermost dialog tells its
    // question of name pattern `question` and puts the keyboard on it when it takes answers.
    void EditItemAt(std::vector<int> item, const std::wstring& question);
    void InsertItem();
    void DeleteItem();
    void RemoveAll();

    // Lines rebuilt from the groups, then Recolour, FitWidth and UpdateButtons.
    void Refresh();
    void UpdateButtons();
    // The label red while the list fails its check; every line's colour by its group's validity.
    void Recolour();
    void FitWidth();
    // The widest line plus an average character: the horizontal extent of the list.
    int ContentWidth() const { return contentWidth_; }
    void EnablePanel(bool enable);
    // The "ListBox Manager" menu with its entries enabled as the list stands.
    QMenu* BuildContextMenu(QWidget* parent);

    void SheetChanged(const SSheetChange& change) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Build();
    // `prepare` readies the dialog before it runs.
    int RunDialog(bool opened, const std::function<void(CGroupDialog&)>& prepare = {});
    void ShowSelection();
    // After an operation: the lines as they are now and, when the list changed, the change callback.
    void Finished(bool changed);
    void OnSelectionChanged();
    void OnContextMenu(const QPoint& pos);
    void RefreshChart();
    // Puts the chart beside the list or under it, as the panel's width allows.
    void PlaceChart();

    CMarnelPropertySheet* sheet_ = nullptr;
    std::unique_ptr<CGroupListEditor> ownEditor_;
    CGroupListEditor* editor_ = nullptr;
    IPrompt* prompt_ = nullptr;
    const CWindowHooks& hooks_;
    std::function<void()> onChange_;
    bool enabled_ = true;
    bool filling_ = false;
    int contentWidth_ = 0;
    QLabel* label_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* clear_ = nullptr;
    CPdoChart* chart_ = nullptr;
    QBoxLayout* column_ = nullptr;
    QBoxLayout* row_ = nullptr;
    QBoxLayout* buttons_ = nullptr;
    bool chartBeside_ = true;
    QPointer<QMenu> menu_;
};
