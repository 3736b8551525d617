#include "PageStorage.h"

#include "ui/RecoveryKeeper.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QStringList>

#include <emscripten.h>

// The storage's side is PageStorage.js, which fills the folders before the program starts.
// clang-format off
EM_JS(void, WriteBackToBrowserStorage, (), {
    Module.orvikStorage.writeBack();
});

EM_JS(int, KeptInBrowserStorage, (const char* folder), {
    return Module.orvikStorage.keeps(UTF8ToString(folder)) ? 1 : 0;
});
// clang-format on

namespace {

// The folders whose files must outlive the page. Qt keeps the user's settings file in the generic
// configuration folder.
QStringList KeptFolders() {
    return {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
            QStandardPaths::writableLocation(QStandardPaths::ConfigLocation), CRecoveryKeeper::StateFolder(),
            ChosenFilesFolder()};
}

} // namespace

QString ChosenFilesFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::HomeLocation))
        .filePath(QStringLiteral("Chosen"));
}

void KeepPageFilesInBrowserStorage(QCoreApplication& app) {
    for (const QString& folder : KeptFolders()) {
        if (!folder.isEmpty() && !KeptInBrowserStorage(QDir::cleanPath(folder).toUtf8().constData())) {
            qWarning("%s is not kept in the browser's storage: its files last only while the page is open",
                     qUtf8Printable(folder));
        }
    }
    // The window's last save, or the copy it removed, before the page goes idle.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [] { WriteBackToBrowserStorage(); });
}
