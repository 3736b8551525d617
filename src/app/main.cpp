#include "QuitWhenShown.h"
#include "ui/Application.h"
#include "ui/QtPrompt.h"
#include "ui/QtText.h"

#include "catalog/RuleTable.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#ifdef ORVIK_READ_FONT_CONFIGURATION_EARLY
#include <fontconfig/fontconfig.h>
#endif
#ifdef ORVIK_WEB_PAGE
#include "PageStorage.h"
#include "PageTitle.h"
#include "PageWindow.h"
#include "WebPrompt.h"
#endif

namespace {

// What the start needs that no display is needed for is made on a second thread while the window
// toolkit connects to the display: the system's font configuration, a large part of the start,
// which the toolkit then finds read and uses as it is, and the rule table. A failure to build the
// table is left to the run, which builds it again and reports the failure as ever.
void ReadAheadWork() {
#ifdef ORVIK_READ_FONT_CONFIGURATION_EARLY
    FcInit();
#endif
    try {
        ProgramRules();
    } catch (...) {
    }
}

// A build without threads (the browser's) reads the same at once.
#ifdef ORVIK_NO_THREADS
struct CReadAhead {
    CReadAhead() { ReadAheadWork(); }
    void join() {}
};
#else
struct CReadAhead : std::jthread {
    CReadAhead() : std::jthread(ReadAheadWork) {}
};
#endif

} // namespace

int main(int argc, char* argv[]) {
    // The usage and version texts read the same on every system: "\n" stays one byte.
    orvik::platform::UseBinaryStandardStreams();
    // The arguments as the user typed them, whatever the system's own code page: a file name with
    // letters outside it still names the file.
    const std::vector<std::string> arguments = orvik::platform::Utf8Arguments(argc, argv);
    std::vector<const char*> utf8Argv{argc > 0 ? argv[0] : "orvik-generator"};
    for (const std::string& argument : arguments) {
        utf8Argv.push_back(argument.c_str());
    }
    // Help, version and a bad command line are answered before any window exists, so they also work
    // without a display.
    const SStartOptions options = ParseStartOptions(static_cast<int>(utf8Argv.size()), utf8Argv.data());
    if (const int exitCode = ReportStartOptions(options); exitCode >= 0) {
        return exitCode;
    }
    CReadAhead readAhead;
    COrvikApplication app(argc, argv);
    readAhead.join();
    QApplication::setApplicationName(QStringLiteral("orvik-generator"));
#ifdef ORVIK_WEB_PAGE
    FollowWindowTitleInPage(app);
    KeepPageFilesInBrowserStorage(app);
#endif
    if (const char* quit = std::getenv("ORVIK_QUIT_WHEN_SHOWN"); quit && *quit) {
        app.installEventFilter(new CQuitWhenShown(&app));
    }
    std::wstring startFile;
    if (!options.file.empty()) {
        startFile = ToWString(QFileInfo(QString::fromStdString(options.file)).absoluteFilePath());
    }
    CQtLogPlatform logPlatform;
#ifdef ORVIK_WEB_PAGE
    CWebPrompt prompt;
    return app.Run(prompt, logPlatform, AdaptWindowToPage, startFile);
#else
    CQtPrompt prompt;
    return app.Run(prompt, logPlatform, {}, startFile);
#endif
}
