#include "ui/UndoControls.h"

#include "sheet/PropertySheet.h"
#include "sheet/SheetHistory.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

CClearNoticeBar::CClearNoticeBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ClearNotice"));
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(QStringLiteral("Answers cleared"));
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("ClearNoticeText"));
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    show_ = new QPushButton(QStringLiteral("Show"), this);
    show_->setObjectName(QStringLiteral("ClearNoticeShow"));
    show_->setToolTip(
        QStringLiteral("Lists the answers and items the choice cleared, with their old values"));
    undo_ = new QPushButton(QStringLiteral("Undo"), this);
    undo_->setObjectName(QStringLiteral("ClearNoticeUndo"));
    undo_->setToolTip(QStringLiteral("Gives back what the choice cleared (Ctrl+Z)"));
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setObjectName(QStringLiteral("ClearNoticeClose"));
    close_->setToolTip(QStringLiteral("Close (Escape)"));
    for (QPushButton* button : {show_, undo_, close_}) {
        // Enter on a field presses OK; these buttons never take the default.
        button->setAutoDefault(false);
    }
    details_ = new QTreeWidget(this);
    details_->setObjectName(QStringLiteral("ClearNoticeDetails"));
    details_->setAccessibleName(QStringLiteral("Cleared answers"));
    details_->setColumnCount(2);
    details_->setHeaderLabels({QStringLiteral("Cleared"), QStringLiteral("Was")});
    details_->setRootIsDecorated(true);
    details_->setUniformRowHeights(true);
    details_->setMaximumHeight(180);
    details_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* row = new QHBoxLayout;
    row->addWidget(text_, 1);
    row->addWidget(show_);
    row->addWidget(undo_);
    row->addWidget(close_);
    layout->addLayout(row);
    layout->addWidget(details_);
    connect(close_, &QPushButton::clicked, this, &QWidget::hide);
    connect(show_, &QPushButton::clicked, this, [this] { ShowDetails(details_->isHidden()); });
    hide();
}

void CClearNoticeBar::ShowText(const QString& text, const std::vector<SClearedEntry>& entries) {
    text_->setText(text);
    setAccessibleDescription(text);
    details_->clear();
    QTreeWidgetItem* tab = nullptr;
    for (const SClearedEntry& entry : entries) {
        const QString label = ToQString(entry.tab);
        if (!tab || tab->text(0) != label) {
            tab = new QTreeWidgetItem(details_, {label});
            tab->setFirstColumnSpanned(true);
        }
        new QTreeWidgetItem(tab, {ToQString(entry.name), ToQString(entry.oldValue)});
    }
    details_->expandAll();
    details_->resizeColumnToContents(0);
    show_->setEnabled(!entries.empty());
    ShowDetails(false);
    show();
}

void CClearNoticeBar::ShowDetails(bool shown) {
    details_->setVisible(shown);
    show_->setText(shown ? QStringLiteral("Hide") : QStringLiteral("Show"));
}

CUndoControls::CUndoControls(CMarnelPropertySheet& sheet, QWidget* window, QDialogButtonBox* buttons)
    : QObject(window), sheet_(sheet), window_(window) {
    sheet_.History().SetEnabled(true);
    undo_ = new QPushButton(QStringLiteral("&Undo"), window);
    undo_->setObjectName(QStringLiteral("UndoButton"));
    redo_ = new QPushButton(QStringLiteral("&Redo"), window);
    redo_->setObjectName(QStringLiteral("RedoButton"));
    for (QPushButton* button : {undo_, redo_}) {
        button->setAutoDefault(false);
        buttons->addButton(button, QDialogButtonBox::ResetRole);
    }
    connect(undo_, &QPushButton::clicked, this, &CUndoControls::Undo);
    connect(redo_, &QPushButton::clicked, this, &CUndoControls::Redo);

    const std::pair<QKeySequence, bool> keys[] = {{QKeySequence(Qt::CTRL | Qt::Key_Z), true},
                                                  {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), false},
                                                  {QKeySequence(Qt::CTRL | Qt::Key_Y), false}};
    for (const auto& [key, undo] : keys) {
        auto* shortcut = new QShortcut(key, window);
        connect(shortcut, &QShortcut::activated, this, undo ? &CUndoControls::Undo : &CUndoControls::Redo);
    }

    bar_ = new CClearNoticeBar(window);
    connect(bar_->UndoButton(), &QPushButton::clicked, this, &CUndoControls::Undo);
    // Escape closes the bar while it shows; otherwise it is the sheet's Cancel.
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape_->setEnabled(false);
    const auto closeBar = [this] {
        bar_->hide();
        escape_->setEnabled(false);
    };
    connect(escape_, &QShortcut::activated, this, closeBar);
    connect(bar_->CloseButton(), &QPushButton::clicked, this, closeBar);

    // Typing in one box is one step until the focus leaves it.
    connect(qApp, &QApplication::focusChanged, this, [this] { sheet_.History().EndMerge(); });
    sheet_.AddObserver(this);
    shownSerial_ = sheet_.History().Serial();
    Refresh();
}

CUndoControls::~CUndoControls() {
    sheet_.RemoveObserver(this);
}

void CUndoControls::Undo() {
    // A dialog over the sheet (a group's, a question) owns the keyboard: nothing steps under it.
    if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != window_) {
        return;
    }
    sheet_.History().Undo();
}

void CUndoControls::Redo() {
    if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != window_) {
        return;
    }
    sheet_.History().Redo();
}

void CUndoControls::SheetChanged(const SSheetChange& /*change*/) {
    const CSheetHistory& history = sheet_.History();
    const bool newStep = history.Serial() != shownSerial_;
    shownSerial_ = history.Serial();
    if (newStep && !history.LastClearedText().empty()) {
        bar_->ShowText(ToQString(history.LastClearedText()), history.LastClearedEntries());
    } else {
        bar_->hide();
    }
    escape_->setEnabled(!bar_->isHidden());
    Refresh();
}

void CUndoControls::Refresh() {
    const CSheetHistory& history = sheet_.History();
    undo_->setEnabled(history.CanUndo());
    redo_->setEnabled(history.CanRedo());
    const QString undoTip = history.CanUndo() ? QStringLiteral("Undo: %1").arg(ToQString(history.UndoLabel()))
                                              : QStringLiteral("Nothing to undo");
    const QString redoTip = history.CanRedo() ? QStringLiteral("Redo: %1").arg(ToQString(history.RedoLabel()))
                                              : QStringLiteral("Nothing to redo");
    undo_->setToolTip(undoTip + QStringLiteral(" (Ctrl+Z)"));
    redo_->setToolTip(redoTip + QStringLiteral(" (Ctrl+Shift+Z)"));
    undo_->setAccessibleDescription(undoTip);
    redo_->setAccessibleDescription(redoTip);
}
