#include "ui/Application.h"
#include "ui/QtPrompt.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <string>

int main(int argc, char* argv[]) {
    // Help, version and a bad command line are answered before any window exists, so they also work
    // without a display.
    const SStartOptions options = ParseStartOptions(argc, argv);
    if (const int exitCode = ReportStartOptions(options); exitCode >= 0) {
        return exitCode;
    }
    COrvikApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvik-generator"));
    std::wstring startFile;
    if (!options.file.empty()) {
        startFile = ToWString(QFileInfo(QFile::decodeName(options.file.c_str())).absoluteFilePath());
    }
    CQtLogPlatform logPlatform;
    CQtPrompt prompt;
    return RunApplication(prompt, logPlatform, {}, startFile);
}
