#include "WebPrompt.h"

#include "ui/QtText.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

namespace {

constexpr std::wstring_view kGenerated =
    L"A text file has been generated in the same directory as this application. "
    L"It is named ";

} // namespace

void CWebPrompt::ShowInformation(const std::wstring& text) {
    // The success box of a save names the file it wrote into the page's file system: the browser
    // gets it as a download under that name.
    if (text.starts_with(kGenerated) && text.ends_with(L".")) {
        const std::wstring name = text.substr(kGenerated.size(), text.size() - kGenerated.size() - 1);
        QFile file(QDir::current().filePath(ToQString(name)));
        if (file.open(QIODevice::ReadOnly)) {
            QFileDialog::saveFileContent(file.readAll(), ToQString(name));
            CQtPrompt::ShowInformation(L"A text file has been downloaded. It is named " + name + L".");
            return;
        }
    }
    CQtPrompt::ShowInformation(text);
}

std::optional<std::wstring> CWebPrompt::ChooseFileToOpen(unsigned& errorCode) {
    errorCode = 0;
    QString chosen;
    QEventLoop wait;
    QFileDialog::getOpenFileContent(QStringLiteral("Text Files (*.txt)"),
                                    [&chosen, &wait](const QString& name, const QByteArray& content) {
                                        if (!name.isEmpty()) {
                                            const QString path =
                                                QDir::temp().filePath(QFileInfo(name).fileName());
                                            QFile file(path);
                                            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                                                file.write(content) == content.size()) {
                                                chosen = path;
                                            }
                                        }
                                        wait.quit();
                                    });
    // The picker answers only when a file was chosen; the page's event loop goes on meanwhile.
    wait.exec();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return ToWString(chosen);
}
