#pragma once

#include <QApplication>

#include <exception>
#include <functional>
#include <string>

class CSheetWindow;
class ILogPlatform;
class IPrompt;

// What the command line asks for: `orvik-generator [FILE]`, --help, --version. Options of the
// window toolkit (such as -platform NAME or -style NAME) are left to it.
struct SStartOptions {
    enum class EAction { Run, Help, Version, Error };
    EAction action = EAction::Run;
    // The file to load at start, as given; empty for none.
    std::string file;
    // For Error: the one-line reason.
    std::string error;
};
SStartOptions ParseStartOptions(int argc, const char* const* argv);
// The --help text.
std::string StartUsageText();
// The --version text.
std::string StartVersionText();
// Prints what --help, --version or a bad command line call for and answers the exit code; for a run
// answers -1 and prints nothing.
int ReportStartOptions(const SStartOptions& options);

// The program's application object. A failure thrown out of an event handler is kept, the run's
// event loop ends, and Run reports it like a failure during start-up.
class COrvikApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;

    // The whole run of the program: the log, the rule table, the sheet and its window, the event
    // loop until the window closes, and shutdown in reverse order. The three kinds of failure that
    // reach the top are reported through `prompt` and the log; the log's last line is always
    // "Shutting down logger.". `onShown`, when set, runs once the window is shown (tests drive the
    // window from there). A non-empty `startFile` is loaded through the Load flow once the window is
    // shown, before `onShown`.
    int Run(IPrompt& prompt, ILogPlatform& logPlatform,
            const std::function<void(CSheetWindow&)>& onShown = {}, const std::wstring& startFile = {});

private:
    // The failure that ended the running event loop, until Run reports it.
    std::exception_ptr pendingFailure_;
    // True while Run's event loop runs the window.
    bool running_ = false;
};
