#include "ui/IntroPanel.h"

#include "logging/Logger.h"
#include "persistence/LoadFlow.h"
#include "persistence/LoadReport.h"
#include "persistence/Recovery.h"
#include "sheet/PropertySheet.h"
#include "ui/LoadReportView.h"
#include "ui/QtText.h"
#include "ui/RecentFiles.h"
#include "ui/SheetWindow.h"
#include "ui/WindowHooks.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
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

void FinishWindowLoad(CSheetWindow& window, const SLoadReport* report) {
    window.LoadReportView()->ShowReport(report);
    if (report && report->outcome == SLoadReport::EOutcome::Loaded) {
        // A file that holds the form's answers as they stand changes no answer, and so tells the
        // window nothing: the caption names the file all the same.
        window.RefreshTitle();
        emit window.formStored(ToQString(report->path));
    }
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
    recent_ = new QToolButton(this);
    recent_->setObjectName(QStringLiteral("RecentOrvikFiles"));
    recent_->setText(QStringLiteral("Recent"));
    recent_->setToolTip(QStringLiteral("Load one of the files last loaded or saved"));
    recent_->setAccessibleName(QStringLiteral("Recent files"));
    recent_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    recent_->setPopupMode(QToolButton::InstantPopup);
    recent_->setFocusPolicy(Qt::StrongFocus);
    recentMenu_ = new QMenu(recent_);
    recentMenu_->setObjectName(QStringLiteral("RecentOrvikFilesMenu"));
    recentMenu_->setAccessibleName(QStringLiteral("Recent files"));
    recent_->setMenu(recentMenu_);
    connect(recentMenu_, &QMenu::aboutToShow, this, &CIntroPanel::FillRecentMenu);
    for (QPushButton* button : {releaseNotes_, load_, regression_}) {
        // Enter on a field presses OK; these buttons never take the default.
        button->setAutoDefault(false);
        row->addWidget(button);
        if (button == load_) {
            row->addWidget(recent_);
        }
    }
    row->addStretch(1);
    // A button that opens its menu at once draws the menu's arrow over the end of its caption
    // unless it is given room for it; it stands as tall as its neighbours.
    const int arrow = recent_->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, recent_);
    recent_->setMinimumSize(recent_->sizeHint().width() + arrow, load_->sizeHint().height());

    const bool regression = !qEnvironmentVariableIsEmpty(kRegressionVariable);
    regression_->setVisible(regression);
    regression_->setEnabled(regression);

    connect(releaseNotes_, &QPushButton::clicked, this, &CIntroPanel::ReleaseNotes);
    connect(load_, &QPushButton::clicked, this, &CIntroPanel::LoadOrvik);
    connect(regression_, &QPushButton::clicked, this, &CIntroPanel::RegressionTesting);
    // After the window's own handlers, which save.
    connect(window_.OkButton(), &QPushButton::clicked, this, &CIntroPanel::NoteSave);
    connect(window_.ApplyButton(), &QPushButton::clicked, this, &CIntroPanel::NoteSave);
    connect(&window_, &CSheetWindow::formStored, this,
            [this](const QString& path) { UpdateRecentButton(recentFiles_.Add(path)); });
    UpdateRecentButton(recentFiles_.Files());
}

void CIntroPanel::ReleaseNotes() {
    emit window_.releaseNotesRequested();
}

void CIntroPanel::LoadOrvik() {
    FinishWindowLoad(window_, RunLoadCommand(window_.Sheet()));
}

void CIntroPanel::LoadRecent(const QString& path) {
    if (!QFileInfo::exists(path)) {
        UpdateRecentButton(recentFiles_.Remove(path));
        const std::wstring message =
            ToWString(path) + L" no longer exists. It has been removed from the list of recent files.";
        Log(message);
        window_.Sheet().Prompt().ShowError(message);
        return;
    }
    FinishWindowLoad(window_, LoadChosenFile(window_.Sheet(), ToWString(path)));
}

void CIntroPanel::FillRecentMenu() {
    // Only while the menu is closed: clearing it deletes its entries.
    recentMenu_->clear();
    for (const QString& file : recentFiles_.Files()) {
        QString text = file;
        QAction* action = recentMenu_->addAction(text.replace(QLatin1Char('&'), QStringLiteral("&&")));
        // Once the menu's own loop has ended: a question the load asks then waits alone, as a
        // browser page can wait for only one answer at a time.
        connect(
            action, &QAction::triggered, this, [this, file] { LoadRecent(file); }, Qt::QueuedConnection);
    }
}

void CIntroPanel::UpdateRecentButton(const QStringList& files) {
    recent_->setEnabled(!files.isEmpty());
}

void CIntroPanel::NoteSave() {
    const CMarnelPropertySheet& sheet = window_.Sheet();
    if (sheet.OutputFileName().empty()) {
        return;
    }
    const QDir folder(window_.SaveDirectory().empty() ? QDir::currentPath()
                                                      : ToQString(window_.SaveDirectory()));
    const QString path = folder.absoluteFilePath(ToQString(sheet.OutputFileName()));
    QFile file(path);
    // The save went through, or had nothing new to write: either way that file holds the form.
    if (file.open(QIODevice::ReadOnly) && file.readAll().toStdString() == RecoveryBytes(window_.Sheet())) {
        emit window_.formSaved(path);
        emit window_.formStored(path);
    }
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
                FinishWindowLoad(*window, LoadChosenFile(window->Sheet(), file));
            }
        });
    }
    return true;
}
