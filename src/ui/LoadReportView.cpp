#include "ui/LoadReportView.h"

#include "persistence/LoadReport.h"
#include "ui/QtText.h"
#include "ui/SheetNavigation.h"
#include "ui/SheetWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The bar shows this many lines at most; a longer report scrolls, so the page keeps its room.
constexpr int kMaxRows = 12;

QStringList ToQStringList(const std::vector<std::wstring>& lines) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::wstring& line : lines) {
        list << ToQString(line);
    }
    return list;
}

} // namespace

CLoadReportView::CLoadReportView(CSheetWindow& window, QWidget* parent) : QFrame(parent), window_(window) {
    setObjectName(QStringLiteral("LoadReport"));
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(QStringLiteral("Load report"));
    hide();
}

void CLoadReportView::Build() {
    if (text_) {
        return;
    }
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("LoadReportHeading"));
    heading_->setTextFormat(Qt::PlainText);
    // A long path must not widen the window.
    heading_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("LoadReportText"));
    text_->setReadOnly(true);
    text_->setTabChangesFocus(true);
    text_->setAccessibleName(QStringLiteral("Load report"));
    heading_->setBuddy(text_);
    showAll_ = new QPushButton(QStringLiteral("Show all"), this);
    showAll_->setObjectName(QStringLiteral("LoadReportShowAll"));
    showAll_->setCheckable(true);
    showAll_->setToolTip(QStringLiteral("Every example the load kept, not only the first few"));
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setObjectName(QStringLiteral("LoadReportClose"));
    close_->setAccessibleDescription(QStringLiteral("Closes the load report (Escape)"));
    close_->setToolTip(QStringLiteral("Close (Escape)"));
    for (QPushButton* button : {showAll_, close_}) {
        // Enter on a field presses OK; these buttons never take the default.
        button->setAutoDefault(false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* top = new QHBoxLayout;
    top->addWidget(heading_, 1);
    top->addWidget(showAll_);
    top->addWidget(close_);
    layout->addLayout(top);
    layout->addWidget(text_);

    for (QWidget* w :
         {static_cast<QWidget*>(text_), static_cast<QWidget*>(showAll_), static_cast<QWidget*>(close_)}) {
        w->installEventFilter(this);
    }
    connect(showAll_, &QPushButton::toggled, this, &CLoadReportView::ShowLines);
    connect(close_, &QPushButton::clicked, this, &CLoadReportView::Close);
}

void CLoadReportView::ShowReport(const SLoadReport* report) {
    if (!report) {
        return;
    }
    if (report->Clean()) {
        Close();
        return;
    }
    Build();
    firstLines_ = ToQStringList(report->Lines());
    allLines_ = ToQStringList(report->AllLines());
    const QString path = ToQString(report->path);
    const QString heading = QStringLiteral("Load report for %1").arg(QFileInfo(path).fileName());
    heading_->setText(heading);
    heading_->setToolTip(path);
    setAccessibleDescription(heading);
    text_->setAccessibleDescription(heading);
    {
        const QSignalBlocker blocker(showAll_);
        showAll_->setChecked(false);
    }
    showAll_->setVisible(allLines_ != firstLines_);
    ShowLines();
    if (isHidden()) {
        QWidget* focus = QApplication::focusWidget();
        before_ = focus && !isAncestorOf(focus) && window_.isAncestorOf(focus) ? focus : nullptr;
        show();
    }
    if (window_.isVisible()) {
        text_->setFocus(Qt::OtherFocusReason);
    }
}

QStringList CLoadReportView::ShownLines() const {
    return showAll_ && showAll_->isChecked() ? allLines_ : firstLines_;
}

void CLoadReportView::ShowLines() {
    const QStringList lines = ShownLines();
    text_->setPlainText(lines.join(QLatin1Char('\n')));
    const int rows = std::clamp(static_cast<int>(lines.size()), 2, kMaxRows);
    // The last row needs a few pixels beyond the line spacing, or a report that fits would scroll.
    text_->setFixedHeight(rows * text_->fontMetrics().lineSpacing() +
                          2 * static_cast<int>(text_->document()->documentMargin()) +
                          2 * text_->frameWidth() + 4);
}

void CLoadReportView::Close() {
    CloseBar(window_, *this, before_);
    before_ = nullptr;
}

bool CLoadReportView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        // Escape closes the report; it must not reach the sheet's Cancel question.
        Close();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
