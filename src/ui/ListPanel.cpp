#include "ui/ListPanel.h"

#include "catalog/GroupCatalog.h"
#include "sheet/GroupListEditor.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"
#include "ui/FieldControls.h"
#include "ui/FormStyle.h"
#include "ui/GroupDialog.h"
#include "ui/PdoChart.h"
#include "ui/QtText.h"
#include "ui/WindowHooks.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

using orvik::Format;

namespace {

void SetTip(QWidget* widget, const std::wstring& pattern, const std::wstring& name) {
    widget->setToolTip(ToQString(Format(pattern, {name})));
    widget->setToolTipDuration(30000);
}

} // namespace

void CListLineDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.data(kInvalidRole).toBool()) {
        return;
    }
    const QColor red(255, 0, 0);
    const QColor highlight = option->palette.color(QPalette::Active, QPalette::Highlight);
    const QColor halved(highlight.red() / 2, highlight.green() / 2, highlight.blue() / 2);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        option->palette.setColor(group, QPalette::Highlight, halved);
        option->palette.setColor(group, QPalette::HighlightedText, red);
        option->palette.setColor(group, QPalette::Text, red);
        option->palette.setColor(group, QPalette::WindowText, red);
    }
}

CListPanel::CListPanel(CMarnelPropertySheet& sheet, EGroupType groupType, const CWindowHooks& hooks,
                       QWidget* parent)
    : QWidget(parent), sheet_(&sheet),
      ownEditor_(std::make_unique<CGroupListEditor>(sheet.EnsureGroupList(groupType), &sheet)),
      editor_(ownEditor_.get()), prompt_(&sheet.Prompt()), hooks_(hooks) {
    Build();
    sheet_->AddObserver(this);
}

CListPanel::CListPanel(CGroupListEditor& editor, IPrompt& prompt, const CWindowHooks& hooks,
                       std::function<void()> onChange, QWidget* parent)
    : QWidget(parent), editor_(&editor), prompt_(&prompt), hooks_(hooks), onChange_(std::move(onChange)) {
    Build();
}

CListPanel::~CListPanel() {
    if (sheet_) {
        sheet_->RemoveObserver(this);
    }
    if (menu_) {
        delete menu_.data();
    }
}

void CListPanel::Build() {
    const SGroupTypeRow& texts = editor_->Texts();
    setObjectName(ToQString(texts.label));
    auto* column = new QVBoxLayout(this);
    column_ = column;
    column->setContentsMargins(0, 0, 0, 0);
    label_ = new QLabel(ToQString(texts.label), this);
    label_->setObjectName(QStringLiteral("ListLabel"));
    column->addWidget(label_);

    auto* row = new QHBoxLayout;
    row_ = row;
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListLines"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setItemDelegate(new CListLineDelegate(list_));
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->setMinimumHeight(120);
    label_->setBuddy(list_);
    list_->setAccessibleName(label_->text());
    row->addWidget(list_, 1);

    auto* buttons = new QVBoxLayout;
    auto button = [&](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        // Enter on a focused button presses it, not the window's OK.
        b->setAutoDefault(true);
        buttons->addWidget(b);
        return b;
    };
    add_ = button("AddButton", "Add...");
    edit_ = button("EditButton", "Edit...");
    insert_ = button("InsertButton", "Insert...");
    delete_ = button("DeleteButton", "Delete");
    clear_ = button("ClearButton", "Clear");
    buttons->addStretch(1);
    row->addLayout(buttons);
    buttons_ = buttons;
    // A page's PDOs are also drawn beside their list; a dialog's mode list has no chart.
    if (sheet_ && PdoNamesOf(editor_->List().Type())) {
        chart_ = new CPdoChart(ToQString(Format(L"No %s in the list.", {texts.plural})), this);
        row->addWidget(chart_);
    }
    column->addLayout(row);

    SetTip(list_, L"Defined %s.", texts.plural);
    SetTip(add_, L"Add a new %s to the list.", texts.singular);
    SetTip(edit_, L"Edit the selected %s.", texts.singular);
    SetTip(insert_, L"Insert a new %s immediately before the selected one.", texts.singular);
    SetTip(delete_, L"Delete the selected %s.", texts.singular);
    SetTip(clear_, L"Remove all %s in the list.", texts.plural);

    connect(add_, &QPushButton::clicked, this, [this] { AddItem(); });
    connect(edit_, &QPushButton::clicked, this, [this] { EditItem(); });
    connect(insert_, &QPushButton::clicked, this, [this] { InsertItem(); });
    connect(delete_, &QPushButton::clicked, this, [this] { DeleteItem(); });
    connect(clear_, &QPushButton::clicked, this, [this] { RemoveAll(); });
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        editor_->Select(list_->row(item));
        EditItem();
    });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { OnContextMenu(pos); });
    Refresh();
}

int CListPanel::RunDialog(bool opened, const std::function<void(CGroupDialog&)>& prepare) {
    if (!opened || !editor_->Working()) {
        return QDialog::Rejected;
    }
    int result = QDialog::Rejected;
    {
        CGroupDialog dialog(*editor_, *prompt_, hooks_, window());
        if (prepare) {
            prepare(dialog);
        }
        result = hooks_.RunGroupDialog(dialog);
        if (editor_->Working()) {
            // Cancel, Escape or the close button: the working copy is dropped, the list is as before.
            editor_->Cancel();
            result = QDialog::Rejected;
        }
    }
    return result;
}

void CListPanel::AddItem() {
    if (!enabled_) {
        return;
    }
    editor_->BeginAdd();
    Finished(RunDialog(true) == QDialog::Accepted);
}

void CListPanel::EditItem() {
    if (!enabled_ || !editor_->CanEdit()) {
        return;
    }
    Finished(RunDialog(editor_->BeginEdit() != nullptr) == QDialog::Accepted);
}

void CListPanel::EditItemAt(std::vector<int> item, const std::wstring& question) {
    if (item.empty() || item.front() < 0 || static_cast<std::size_t>(item.front()) >= editor_->LineCount()) {
        return;
    }
    editor_->Select(item.front());
    ShowSelection();
    UpdateButtons();
    if (!enabled_ || !editor_->CanEdit()) {
        return;
    }
    item.erase(item.begin());
    const bool accepted = RunDialog(editor_->BeginEdit() != nullptr, [&](CGroupDialog& dialog) {
                              dialog.OpenAt(item, question);
                          }) == QDialog::Accepted;
    Finished(accepted);
}

void CListPanel::InsertItem() {
    if (!enabled_ || !editor_->CanInsert()) {
        return;
    }
    Finished(RunDialog(editor_->BeginInsert() != nullptr) == QDialog::Accepted);
}

void CListPanel::DeleteItem() {
    if (!enabled_ || !editor_->CanDelete()) {
        return;
    }
    editor_->DeleteSelected();
    Finished(true);
}

void CListPanel::RemoveAll() {
    if (!enabled_ || !editor_->CanRemoveAll()) {
        return;
    }
    editor_->RemoveAll();
    Finished(true);
}

void CListPanel::Finished(bool changed) {
    // A sheet's list was repainted when the sheet announced the change, and nothing changed when
    // the dialog was cancelled; a list of no sheet hears of nothing and repaints now.
    if (!sheet_) {
        Refresh();
    }
    if (changed && onChange_) {
        onChange_();
    }
}

void CListPanel::Refresh() {
    // The sheet may have emptied or shortened the list since the selection was made.
    const int count = static_cast<int>(editor_->LineCount());
    if (editor_->Selection() >= count) {
        editor_->Select(count - 1);
    }
    filling_ = true;
    list_->clear();
    for (std::size_t i = 0; i < editor_->LineCount(); ++i) {
        auto* item = new QListWidgetItem(ToQString(editor_->Line(i)));
        item->setData(CListLineDelegate::kInvalidRole, !editor_->IsLineValid(i));
        list_->addItem(item);
    }
    ShowSelection();
    filling_ = false;
    Recolour();
    FitWidth();
    UpdateButtons();
}

void CListPanel::ShowSelection() {
    const int selection = editor_->Selection();
    if (selection >= 0 && selection < list_->count()) {
        list_->setCurrentRow(selection, QItemSelectionModel::ClearAndSelect);
        list_->scrollToItem(list_->item(selection));
    } else {
        list_->clearSelection();
    }
}

void CListPanel::OnSelectionChanged() {
    if (filling_) {
        return;
    }
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    editor_->Select(selected.isEmpty() ? -1 : list_->row(selected.front()));
    UpdateButtons();
    Recolour();
}

void CListPanel::UpdateButtons() {
    label_->setEnabled(enabled_);
    list_->setEnabled(enabled_);
    add_->setEnabled(enabled_);
    edit_->setEnabled(enabled_ && editor_->CanEdit());
    insert_->setEnabled(enabled_ && editor_->CanInsert());
    delete_->setEnabled(enabled_ && editor_->CanDelete());
    clear_->setEnabled(enabled_ && editor_->CanRemoveAll());
}

void CListPanel::Recolour() {
    MarkInvalid(label_, !editor_->IsListValid());
    for (int i = 0; i < list_->count() && static_cast<std::size_t>(i) < editor_->LineCount(); ++i) {
        list_->item(i)->setData(CListLineDelegate::kInvalidRole,
                                !editor_->IsLineValid(static_cast<std::size_t>(i)));
    }
    list_->viewport()->update();
    RefreshChart();
}

void CListPanel::RefreshChart() {
    if (!chart_) {
        return;
    }
    const SPdoNames& names = *PdoNamesOf(editor_->List().Type());
    chart_->SetShapes(PdoShapes(PdoAnswersOf(names, editor_->List()), editor_->Selection()));
}

void CListPanel::FitWidth() {
    const QFontMetrics metrics(list_->font());
    int widest = 0;
    for (int i = 0; i < list_->count(); ++i) {
        widest =
            std::max(widest, metrics.horizontalAdvance(list_->item(i)->text()) + metrics.averageCharWidth());
    }
    contentWidth_ = widest;
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        item->setSizeHint(QSize(widest, metrics.height() + 4));
    }
    PlaceChart();
}

void CListPanel::PlaceChart() {
    if (!chart_) {
        return;
    }
    // Beside the list while the list's lines still fit whole; else under it, so the lines never
    // scroll sideways for the chart's sake.
    const int list = contentWidth_ + 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width();
    const int spacing =
        row_->spacing() > 0 ? row_->spacing() : style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    const int beside = list + buttons_->sizeHint().width() + chart_->sizeHint().width() + 2 * spacing;
    const bool fits = width() >= beside;
    if (fits == chartBeside_) {
        return;
    }
    chartBeside_ = fits;
    if (fits) {
        column_->removeWidget(chart_);
        row_->addWidget(chart_);
    } else {
        row_->removeWidget(chart_);
        column_->addWidget(chart_, 0, Qt::AlignLeft);
    }
}

void CListPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceChart();
}

void CListPanel::EnablePanel(bool enable) {
    enabled_ = enable;
    UpdateButtons();
}

QMenu* CListPanel::BuildContextMenu(QWidget* parent) {
    auto* menu = new QMenu(QStringLiteral("ListBox Manager"), parent);
    menu->setObjectName(QStringLiteral("ListBoxManager"));
    QAction* edit = menu->addAction(QStringLiteral("Edit..."), this, [this] { EditItem(); });
    QAction* insert = menu->addAction(QStringLiteral("Insert..."), this, [this] { InsertItem(); });
    QAction* remove = menu->addAction(QStringLiteral("Delete"), this, [this] { DeleteItem(); });
    menu->addSeparator();
    QAction* add = menu->addAction(QStringLiteral("Add..."), this, [this] { AddItem(); });
    QAction* clear = menu->addAction(QStringLiteral("Clear"), this, [this] { RemoveAll(); });
    edit->setEnabled(editor_->CanEdit());
    insert->setEnabled(editor_->CanInsert());
    remove->setEnabled(editor_->CanDelete());
    add->setEnabled(true);
    clear->setEnabled(editor_->CanRemoveAll());
    return menu;
}

void CListPanel::OnContextMenu(const QPoint& pos) {
    if (!enabled_) {
        return;
    }
    if (menu_) {
        menu_->close();
    }
    QMenu* menu = BuildContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu_ = menu;
    menu->popup(list_->viewport()->mapToGlobal(pos));
}

void CListPanel::showEvent(QShowEvent* event) {
    if (editor_->Selection() < 0 && editor_->LineCount() > 0) {
        editor_->Select(0);
    }
    Refresh();
    QWidget::showEvent(event);
}

void CListPanel::SheetChanged(const SSheetChange& change) {
    const EGroupType type = editor_->List().Type();
    if (std::find(change.groupLists.begin(), change.groupLists.end(), type) != change.groupLists.end()) {
        Refresh();
    } else if (!change.fields.empty() || !change.pages.empty()) {
        // A page answer (the announced count of the list) may decide whether the list passes.
        Recolour();
    }
}
