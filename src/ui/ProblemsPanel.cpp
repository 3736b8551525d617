#include "ui/ProblemsPanel.h"

#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"
#include "ui/QtText.h"
#include "ui/SheetNavigation.h"
#include "ui/SheetWindow.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kProblemRole = Qt::UserRole;
constexpr int kPageRole = Qt::UserRole + 1;

// Enter activates the current entry here instead of pressing the sheet's default button, and a
// double click activates the entry under the pointer whatever the style's activation setting.
class CProblemsTree : public QTreeWidget {
public:
    explicit CProblemsTree(QWidget* parent) : QTreeWidget(parent) {}

protected:
    // Long reasons wrap: the rows are measured again for the new width.
    void resizeEvent(QResizeEvent* event) override {
        QTreeWidget::resizeEvent(event);
        scheduleDelayedItemsLayout();
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (QTreeWidgetItem* item = itemAt(event->position().toPoint())) {
            setCurrentItem(item);
            emit itemActivated(item, 0);
            event->accept();
            return;
        }
        QTreeWidget::mouseDoubleClickEvent(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
            emit itemActivated(currentItem(), 0);
            event->accept();
            return;
        }
        QTreeWidget::keyPressEvent(event);
    }
};

// Measures an entry wrapped to the width the tree gives it, as the style wraps it when painting.
class CWrappingDelegate : public QStyledItemDelegate {
public:
    explicit CWrappingDelegate(QTreeWidget* tree) : QStyledItemDelegate(tree), tree_(tree) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        int depth = 0;
        for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) {
            ++depth;
        }
        const int margin =
            2 * (tree_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree_) + 1);
        const int width = tree_->viewport()->width() - depth * tree_->indentation() - margin;
        if (width <= 0) {
            return size;
        }
        QFont font = option.font;
        const QVariant own = index.data(Qt::FontRole);
        if (own.canConvert<QFont>()) {
            font = own.value<QFont>();
        }
        const QRect text = QFontMetrics(font).boundingRect(QRect(0, 0, width, 1 << 20),
                                                           Qt::TextWordWrap | Qt::TextWrapAnywhere,
                                                           index.data(Qt::DisplayRole).toString());
        size.setWidth(std::min(size.width(), width));
        size.setHeight(std::max(size.height(), text.height() + 4));
        return size;
    }

private:
    QTreeWidget* tree_;
};

bool SameProblems(const std::vector<SProblem>& a, const std::vector<SProblem>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].page != b[i].page || a[i].field != b[i].field || a[i].groupListType != b[i].groupListType ||
            a[i].groupIndex != b[i].groupIndex || a[i].reason != b[i].reason) {
            return false;
        }
    }
    return true;
}

QString SummaryText(std::size_t problems, int tabs) {
    if (problems == 0) {
        return QStringLiteral("No problems with the current answers.");
    }
    return QStringLiteral("%1 %2 on %3 %4")
        .arg(problems)
        .arg(problems == 1 ? QStringLiteral("problem") : QStringLiteral("problems"))
        .arg(tabs)
        .arg(tabs == 1 ? QStringLiteral("tab") : QStringLiteral("tabs"));
}

} // namespace

CProblemsPanel::CProblemsPanel(CSheetWindow& window, QWidget* parent)
    : QWidget(parent), window_(window), sheet_(window.Sheet()) {
    setObjectName(QStringLiteral("ProblemsPanel"));
    setAccessibleName(QStringLiteral("Problems"));

    toggle_ = new QPushButton(QStringLiteral("Problems"), &window);
    toggle_->setObjectName(QStringLiteral("ProblemsButton"));
    toggle_->setCheckable(true);
    toggle_->setAutoDefault(false);
    toggle_->setToolTip(QStringLiteral("Show or hide the list of problems (F8)"));
    toggle_->setAccessibleName(QStringLiteral("Problems"));
    toggle_->setAccessibleDescription(QStringLiteral("Shows or hides the list of problems (F8)"));
    connect(toggle_, &QPushButton::toggled, this, [this](bool on) {
        setVisible(on);
        if (on) {
            tree_->setFocus(Qt::ShortcutFocusReason);
            if (!tree_->currentItem() && tree_->topLevelItemCount() > 0) {
                tree_->setCurrentItem(tree_->topLevelItem(0));
            }
        }
    });
    shortcut_ = new QShortcut(QKeySequence(Qt::Key_F8), &window);
    connect(shortcut_, &QShortcut::activated, toggle_, &QPushButton::toggle);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Plain text in a bold type: a rich-text caption would lay out a whole text document for one
    // word at every start.
    auto* title = new QLabel(QStringLiteral("Problems"), this);
    title->setTextFormat(Qt::PlainText);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("ProblemsSummary"));
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    tree_ = new CProblemsTree(this);
    tree_->setObjectName(QStringLiteral("ProblemsList"));
    tree_->setAccessibleName(QStringLiteral("Problems"));
    tree_->setAccessibleDescription(QStringLiteral(
        "Every invalid answer and every failing list or page rule, under its tab. Press Enter or "
        "double-click an entry to go to it."));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setRootIsDecorated(false);
    tree_->setItemsExpandable(false);
    tree_->setExpandsOnDoubleClick(false);
    tree_->setWordWrap(true);
    tree_->setItemDelegate(new CWrappingDelegate(tree_));
    tree_->setUniformRowHeights(false);
    tree_->setTextElideMode(Qt::ElideNone);
    tree_->header()->setStretchLastSection(true);
    tree_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    title->setBuddy(tree_);
    layout->addWidget(tree_, 1);
    // Enter and a double click (see CProblemsTree).
    connect(tree_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { Activate(item); });

    setMinimumWidth(220);
    hide();
    sheet_.AddObserver(this);
}

CProblemsPanel::~CProblemsPanel() {
    sheet_.RemoveObserver(this);
}

QStringList CProblemsPanel::EntryTexts() const {
    QStringList texts;
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* tab = tree_->topLevelItem(i);
        for (int j = 0; j < tab->childCount(); ++j) {
            texts << tab->child(j)->text(0);
        }
    }
    return texts;
}

QTreeWidgetItem* CProblemsPanel::EntryOf(int index) const {
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* tab = tree_->topLevelItem(i);
        for (int j = 0; j < tab->childCount(); ++j) {
            if (tab->child(j)->data(0, kProblemRole).toInt() == index) {
                return tab->child(j);
            }
        }
    }
    return nullptr;
}

void CProblemsPanel::SetOpen(bool open) {
    toggle_->setChecked(open);
}

void CProblemsPanel::OpenIfAny() {
    Refresh();
    if (problems_.empty()) {
        return;
    }
    SetOpen(true);
    // On the first reason the save was refused for: Enter there goes to it.
    if (QTreeWidgetItem* tab = tree_->topLevelItem(0); tab && tab->childCount() > 0) {
        tree_->setCurrentItem(tab->child(0));
    }
}

void CProblemsPanel::SheetChanged(const SSheetChange&) {
    // A closed panel collects nothing: it catches up when it is opened.
    stale_ = true;
    if (IsOpen()) {
        Refresh();
    }
}

QSize CProblemsPanel::sizeHint() const {
    return QSize(340, QWidget::sizeHint().height());
}

void CProblemsPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_) {
        Refresh();
    }
}

void CProblemsPanel::Refresh() {
    stale_ = false;
    std::vector<SProblem> problems = CollectSaveRefusals(sheet_);
    if (SameProblems(problems, problems_)) {
        summary_->setText(SummaryText(problems_.size(), tree_->topLevelItemCount()));
        return;
    }
    problems_ = std::move(problems);
    Rebuild();
}

void CProblemsPanel::Rebuild() {
    // The entry the user stands on stays current when it is still there.
    QString currentText;
    if (const QTreeWidgetItem* current = tree_->currentItem()) {
        currentText = current->text(0);
    }
    const bool hadFocus = tree_->hasFocus();
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    QTreeWidgetItem* tab = nullptr;
    QTreeWidgetItem* keep = nullptr;
    for (std::size_t i = 0; i < problems_.size(); ++i) {
        const SProblem& problem = problems_[i];
        if (!tab || tab->data(0, kPageRole).toInt() != static_cast<int>(problem.page)) {
            const CPageSuper& page = sheet_.Page(problem.page);
            tab = new QTreeWidgetItem(tree_, QStringList(ToQString(page.TabLabel())));
            tab->setData(0, kPageRole, static_cast<int>(problem.page));
            tab->setData(0, kProblemRole, -1);
            QFont bold = tab->font(0);
            bold.setBold(true);
            tab->setFont(0, bold);
            tab->setToolTip(0, QStringLiteral("Tab %1").arg(ToQString(page.TabLabel())));
            if (!keep && tab->text(0) == currentText) {
                keep = tab;
            }
        }
        auto* entry = new QTreeWidgetItem(tab, QStringList(ToQString(problem.reason)));
        entry->setData(0, kPageRole, static_cast<int>(problem.page));
        entry->setData(0, kProblemRole, static_cast<int>(i));
        entry->setToolTip(0, entry->text(0));
        if (!keep && entry->text(0) == currentText) {
            keep = entry;
        }
    }
    tree_->expandAll();
    if (keep) {
        tree_->setCurrentItem(keep);
    } else if (tree_->topLevelItemCount() > 0 && hadFocus) {
        tree_->setCurrentItem(tree_->topLevelItem(0));
    }
    tree_->setUpdatesEnabled(true);
    summary_->setText(SummaryText(problems_.size(), tree_->topLevelItemCount()));
}

bool CProblemsPanel::Activate(QTreeWidgetItem* item) {
    if (!item) {
        return false;
    }
    const auto page = static_cast<EPage>(item->data(0, kPageRole).toInt());
    const int index = item->data(0, kProblemRole).toInt();
    if (index < 0 || index >= static_cast<int>(problems_.size())) {
        if (!GoToPage(window_, page)) {
            return false;
        }
        FocusFirstControl(window_, page);
        return true;
    }
    // Moving to the tab may announce changes that rebuild the entries: keep a copy.
    const SProblem problem = problems_[static_cast<std::size_t>(index)];
    if (!GoToPage(window_, problem.page)) {
        return false;
    }
    if (problem.groupListType != EGroupType::None) {
        return FocusListLine(window_, problem.page, problem.groupIndex);
    }
    if (problem.field) {
        return FocusField(window_, *problem.field);
    }
    FocusFirstControl(window_, problem.page);
    return true;
}
