#include "ui/RecoveryKeeper.h"

#include "logging/Logger.h"
#include "persistence/LoadFlow.h"
#include "persistence/OrvikReader.h"
#include "persistence/Recovery.h"
#include "platform/Platform.h"
#include "sheet/PropertySheet.h"
#include "text/PathText.h"
#include "ui/QtText.h"
#include "ui/SheetWindow.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <filesystem>
#include <string>
#include <system_error>

namespace {

// Windows of one process tell their copies apart by their number.
std::atomic<int> windowCount{0};

} // namespace

CRecoveryKeeper::CRecoveryKeeper(CSheetWindow& window, const QString& folder)
    : QObject(&window), window_(window), sheet_(window.Sheet()), folder_(folder) {
    path_ = QDir(folder_).filePath(
        QString::fromStdString(RecoveryFileName(orvik::platform::CurrentProcessId(), ++windowCount)));
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, &CRecoveryKeeper::WriteCopy);
    writer_.setMaxThreadCount(1);
    sheet_.AddObserver(this);
    connect(&window_, &QDialog::finished, this, [this](int result) {
        sheet_.RemoveObserver(this);
        watching_ = false;
        // Answers thrown away with Cancel may have been thrown away by a slip of the keyboard: their
        // copy stays for the next start to offer, written now with the last keystroke in it.
        if (result == QDialog::Rejected && unsaved_ && sheet_.HasEnteredAnswers()) {
            KeepDiscardedAnswers();
        } else {
            NothingToLose();
        }
    });
    connect(&window_, &CSheetWindow::formStored, this, &CRecoveryKeeper::NothingToLose);
}

CRecoveryKeeper::~CRecoveryKeeper() {
    // A window taken down without finishing (a failure that ended the run) keeps its copy.
    if (watching_) {
        sheet_.RemoveObserver(this);
    }
    timer_.stop();
    writer_.waitForDone();
}

QString CRecoveryKeeper::StateFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void CRecoveryKeeper::WaitForWrites() {
    writer_.waitForDone();
}

void CRecoveryKeeper::SheetChanged(const SSheetChange& change) {
    // Moving to another tab changes the active page and its review flag, not an answer.
    if (change.fields.empty() && change.groupLists.empty() && change.tabsAdded.empty() &&
        change.tabsRemoved.empty()) {
        return;
    }
    unsaved_ = true;
    if (!timer_.isActive()) {
        timer_.start();
    }
}

void CRecoveryKeeper::WriteCopy() {
    // A system that names no state folder gets no copies, rather than copies in the current folder.
    if (!unsaved_ || folder_.isEmpty()) {
        return;
    }
    // One write at a time: a slow disk delays the next copy rather than racing it.
    if (writer_.activeThreadCount() > 0) {
        timer_.start();
        return;
    }
    std::string bytes = RecoveryBytes(sheet_);
    const std::filesystem::path target = orvik::ToPath(ToWString(path_));
    writer_.start([this, target, bytes = std::move(bytes)] {
        std::error_code ignored;
        std::filesystem::create_directories(target.parent_path(), ignored);
        std::string error;
        // A copy that cannot be written is only a lost safety net; the form goes on as before.
        if (orvik::platform::ReplaceFileContents(target, bytes, error)) {
            ++writes_;
        }
    });
}

void CRecoveryKeeper::KeepDiscardedAnswers() {
    timer_.stop();
    writer_.waitForDone();
    WriteCopy();
    writer_.waitForDone();
}

void CRecoveryKeeper::NothingToLose() {
    timer_.stop();
    writer_.waitForDone();
    unsaved_ = false;
    if (!folder_.isEmpty()) {
        QFile::remove(path_);
    }
}

void CRecoveryKeeper::OfferRestore() {
    if (folder_.isEmpty()) {
        return;
    }
    const std::vector<SRecoveryCopy> orphans =
        FindOrphanedCopies(orvik::ToPath(ToWString(folder_)), orvik::platform::CurrentProcessId(),
                           orvik::platform::IsProcessRunning);
    if (orphans.empty()) {
        return;
    }
    const SRecoveryCopy& newest = orphans.front();
    const std::wstring path =
        ToWString(QDir(folder_).filePath(QString::fromStdWString(newest.path.filename().wstring())));
    CMarnelPropertySheet& sheet = sheet_;
    std::string bytes;
    std::wstring error;
    if (!ReadFileBytes(path, bytes, error) || !HoldsAnswers(bytes)) {
        const std::wstring message = L"The answers kept from " + RecoveryTimeText(newest.modified) +
                                     L" cannot be read. They have been deleted.";
        Log(message);
        sheet.Prompt().ShowError(message);
    } else if (sheet.Prompt().AskYesNo(RestoreQuestion(newest.modified))) {
        // The answers come back as a new form: the copy is no file of the user's to name.
        const std::wstring title = sheet.Title();
        LoadChosenFile(sheet, path);
        sheet.SetTitle(title);
        window_.RefreshTitle();
    }
    for (const SRecoveryCopy& orphan : orphans) {
        std::error_code ignored;
        std::filesystem::remove(orphan.path, ignored);
    }
}
