#include "ui/SheetInfoWindows.h"

#include "ui/PageInfoTexts.h"
#include "ui/ReleaseNotes.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

namespace {

const QSize kPageInfoSize(460, 260);
const QSize kReleaseNotesSize(620, 640);

QSize FitOnScreen(QSize size, const QWidget& sheet) {
    if (const QScreen* screen = sheet.screen()) {
        return size.boundedTo(screen->availableGeometry().size() * 0.9);
    }
    return size;
}

} // namespace

CSheetInfoWindows::CSheetInfoWindows(QWidget& sheetWindow) : sheetWindow_(sheetWindow) {}

CSheetInfoWindows::~CSheetInfoWindows() {
    for (QPointer<CInfoToUserDlg>& window : pageWindows_) {
        delete window.data();
    }
    delete releaseNotes_.data();
}

void CSheetInfoWindows::PageActivated(EPage page) {
    if (!PageInfoOf(page).fill) {
        return;
    }
    // Posted, so the window is placed against the sheet as it is once the page shows.
    QTimer::singleShot(0, this, [this, page] { ShowPageWindow(page); });
}

void CSheetInfoWindows::ShowPageWindow(EPage page) {
    QPointer<CInfoToUserDlg>& slot = pageWindows_[static_cast<std::size_t>(page)];
    if (slot) {
        // The sheet keeps the keyboard: the explanation comes forward without taking it.
        slot->BringToFront(false);
        return;
    }
    const SPageInfo info = PageInfoOf(page);
    auto* window = new CInfoToUserDlg(info.title, info.fill, &slot, &sheetWindow_,
                                      FitOnScreen(kPageInfoSize, sheetWindow_));
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    const bool sheetHasKeyboard = sheetWindow_.isActiveWindow();
    window->show();
    // Desktop window managers honour the request not to activate the new window, which then opens
    // over the sheet while the sheet keeps the keyboard; asking for the keyboard back there would
    // raise the sheet over the explanation it has just opened. The offscreen platform activates every
    // new window regardless, so there the keyboard is handed back.
    if (sheetHasKeyboard && QGuiApplication::platformName() == QLatin1String("offscreen")) {
        sheetWindow_.activateWindow();
    }
}

void CSheetInfoWindows::ShowReleaseNotes() {
    if (releaseNotes_) {
        releaseNotes_->BringToFront(true);
        return;
    }
    auto* window = new CInfoToUserDlg(QStringLiteral("Release Notes"), &FillReleaseNotes, &releaseNotes_,
                                      &sheetWindow_, FitOnScreen(kReleaseNotesSize, sheetWindow_));
    window->setObjectName(QStringLiteral("ReleaseNotes"));
    window->Text()->setAccessibleName(QStringLiteral("Release Notes"));
    window->show();
    window->activateWindow();
}
