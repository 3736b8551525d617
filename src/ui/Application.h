#pragma once

#include <QApplication>

#include <exception>
#include <functional>

class CSheetWindow;
class ILogPlatform;
class IPrompt;

// The whole run of the program inside an existing QApplication: the log, the rule table, the sheet
// and its window, the event loop until the window closes, and shutdown in reverse order. The three
// kinds of failure that reach the top are reported through `prompt` and the log; the log's last line
// is always "Shutting down logger.". `onShown`, when set, runs once the window is shown (tests drive
// the window from there).
int RunApplication(IPrompt& prompt, ILogPlatform& logPlatform,
                   const std::function<void(CSheetWindow&)>& onShown = {});

// The program's application object: a failure thrown out of an event handler is kept, the run's
// event loop ends, and RunApplication reports it like a failure during start-up.
class COrvikApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override;
};
