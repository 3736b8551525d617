#include "ui/IntroPanel.h"

#include "persistence/LoadFlow.h"
#include "sheet/PropertySheet.h"
#include "ui/LoadReportView.h"
#include "ui/QtText.h"
#include "ui/SheetWindow.h"
#include "ui/WindowHooks.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

CRegressionTestingDialog::CRegressionTestingDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RegressionTestingDialog"));
    setWindowTitle(QStringLiteral("Regression Testing"));
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    // With only an OK button the dialog would be narrower than its caption, which the title bar
    // then cuts short: make room for the caption in the bold type title bars use, the window icon
    // and three title-bar buttons.
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int titleBarButton = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    setMinimumWidth(metrics.horizontalAdvance(windowTitle()) + 4 * titleBarButton +
                    4 * metrics.averageCharWidth());
}

CIntroPanel::CIntroPanel(CSheetWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setObjectName(QStringLiteral("IntroButtons"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    releaseNotes_ = new QPushButton(QStringLiteral("Release Notes"), this);
    releaseNotes_->setObjectName(QStringLiteral("ReleaseNotes"));
    load_ = new QPushButton(QStringLiteral("Load Orvik"), this);
    load_->setObjectName(QStringLiteral("LoadOrvik"));
    regression_ = new QPushButton(QStringLiteral("Regression Testing"), this);
    regression_->setObjectName(QStringLiteral("RegressionTesting"));
    for (QPushButton* button : {releaseNotes_, load_, regression_}) {
        // Enter on a field presses OK; these buttons never take the default.
        button->setAutoDefault(false);
        row->addWidget(button);
    }
    row->addStretch(1);

    const bool regression = !qEnvironmentVariableIsEmpty(kRegressionVariable);
    regression_->setVisible(regression);
    regression_->setEnabled(regression);

    connect(releaseNotes_, &QPushButton::clicked, this, &CIntroPanel::ReleaseNotes);
    connect(load_, &QPushButton::clicked, this, &CIntroPanel::LoadOrvik);
    connect(regression_, &QPushButton::clicked, this, &CIntroPanel::RegressionTesting);
}

void CIntroPanel::ReleaseNotes() {
    emit window_.releaseNotesRequested();
}

void CIntroPanel::LoadOrvik() {
    window_.LoadReportView()->ShowReport(RunLoadCommand(window_.Sheet()));
}

void CIntroPanel::RegressionTesting() {
    CRegressionTestingDialog dialog(&window_);
    window_.Hooks().RunDialog(dialog);
}

CFileDropLoader::CFileDropLoader(CSheetWindow& window) : QObject(&window), window_(window) {
    // Every spot of the window takes drops; the controls that take text drops of their own are
    // watched too, so a file dropped on one of them is loaded rather than typed in.
    window_.setAcceptDrops(true);
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installEventFilter(this);
    }
}

CFileDropLoader::~CFileDropLoader() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeEventFilter(this);
    }
}

QString CFileDropLoader::LoadablePath(const QMimeData* data) {
    if (!data || !data->hasUrls()) {
        return {};
    }
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return {};
    }
    const QString path = urls.front().toLocalFile();
    if (QFileInfo(path).suffix().compare(QStringLiteral("txt"), Qt::CaseInsensitive) != 0) {
        return {};
    }
    return QFileInfo(path).absoluteFilePath();
}

bool CFileDropLoader::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_) {
        return false;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    if (!drop->mimeData() || !drop->mimeData()->hasUrls()) {
        return false;
    }
    const QString path = LoadablePath(drop->mimeData());
    // A modal box (a question open, a group dialog) keeps the window from taking a file.
    const QWidget* modal = QApplication::activeModalWidget();
    if (path.isEmpty() || (modal && modal != &window_)) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        // The drop ends before the Load flow asks its question or shows its boxes.
        const std::wstring file = ToWString(path);
        QPointer<CSheetWindow> window(&window_);
        QTimer::singleShot(0, &window_, [window, file] {
            if (window) {
                window->LoadReportView()->ShowReport(LoadChosenFile(window->Sheet(), file));
            }
        });
    }
    return true;
}
