#include "WebPrompt.h"

#include "PageStorage.h"
#include "ui/QtText.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

#include <emscripten.h>

namespace {

// The wait for the browser's file picker, while it is open.
QEventLoop* pickerWait = nullptr;

} // namespace

// Called by the page when the user closes the file picker without choosing a file.
extern "C" EMSCRIPTEN_KEEPALIVE void OrvikFilePickerCancelled() {
    if (pickerWait) {
        pickerWait->quit();
    }
}

namespace {

// Qt's file picker answers only when a file is chosen. The page can wait for one answer at a time,
// so a wait that never ended would take every later question with it: every file input the page
// opens also reports its "cancel" (a browser of 2023 or later sends it).
void WatchFilePickersForCancel() {
    // clang-format off
    EM_ASM({
        if (Module.orvikPickersWatched) {
            return;
        }
        Module.orvikPickersWatched = true;
        var click = HTMLInputElement.prototype.click;
        HTMLInputElement.prototype.click = function() {
            if (this.type == "file") {
                this.addEventListener("cancel", function() { Module._OrvikFilePickerCancelled(); });
            }
            return click.call(this);
        };
    });
    // clang-format on
}

constexpr std::wstring_view kGenerated =
    L"A text file has been generated in the same directory as this application. It is named ";

} // namespace

void CWebPrompt::ShowInformation(const std::wstring& text) {
    // The page's own file system is out of the user's reach: the saved file goes to the browser as
    // a download (see AdaptWindowToPage), and the success box says so.
    if (text.starts_with(kGenerated) && text.ends_with(L".")) {
        const std::wstring name = text.substr(kGenerated.size(), text.size() - kGenerated.size() - 1);
        CQtPrompt::ShowInformation(L"A text file has been generated. It is named " + name +
                                   L"; the browser downloads it when this box is closed.");
        return;
    }
    CQtPrompt::ShowInformation(text);
}

std::optional<std::wstring> CWebPrompt::ChooseFileToOpen(unsigned& errorCode) {
    errorCode = 0;
    QString chosen;
    QEventLoop wait;
    WatchFilePickersForCancel();
    pickerWait = &wait;
    QFileDialog::getOpenFileContent(QStringLiteral("Text Files (*.txt)"),
                                    [&chosen, &wait](const QString& name, const QByteArray& content) {
                                        if (!name.isEmpty()) {
                                            // Kept under its own name, in place of an earlier
                                            // file of that name, where a later page finds it.
                                            const QDir folder(ChosenFilesFolder());
                                            folder.mkpath(QStringLiteral("."));
                                            const QString path = folder.filePath(QFileInfo(name).fileName());
                                            QFile file(path);
                                            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                                                file.write(content) == content.size()) {
                                                chosen = path;
                                            }
                                        }
                                        wait.quit();
                                    });
    // The page's event loop goes on meanwhile.
    wait.exec();
    pickerWait = nullptr;
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return ToWString(chosen);
}
