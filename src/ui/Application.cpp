#include "ui/Application.h"

#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "model/Errors.h"
#include "persistence/LoadFlow.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"
#include "text/Version.h"
#include "ui/FieldControls.h"
#include "ui/FormStyle.h"
#include "ui/IntroPanel.h"
#include "ui/LoadReportView.h"
#include "ui/QtPrompt.h"
#include "ui/RecoveryKeeper.h"
#include "ui/SheetWindow.h"

#include <QApplication>
#include <QTimer>

#include <array>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace {

// What a run shows, kept on the heap and made by value into every handler: in a browser page the
// application's loop hands control back to the browser and never comes back, and Run's own frame
// is gone by the first event.
struct SRunSession {
    explicit SRunSession(IPrompt& prompt) : sheet(&prompt) {
        sheet.Initialize();
        window = std::make_unique<CSheetWindow>(sheet);
    }
    CMarnelPropertySheet sheet;
    std::unique_ptr<CSheetWindow> window;
};

// The common error report: the log, then a box with the error icon.
void ReportError(IPrompt& prompt, const std::wstring& message) {
    Log(message);
    prompt.ShowError(message);
}

// The window toolkit's own options that take a value (-platform offscreen, -style=fusion).
constexpr std::array<std::string_view, 15> kToolkitOptionsWithValue = {"platform",
                                                                       "platformpluginpath",
                                                                       "platformtheme",
                                                                       "plugin",
                                                                       "style",
                                                                       "stylesheet",
                                                                       "session",
                                                                       "display",
                                                                       "geometry",
                                                                       "title",
                                                                       "qwindowgeometry",
                                                                       "qwindowicon",
                                                                       "qwindowtitle",
                                                                       "qmljsdebugger",
                                                                       "name"};
constexpr std::array<std::string_view, 6> kToolkitFlags = {"reverse", "widgetcount", "nograb",
                                                           "dograb",  "sync",        "testability"};

template <std::size_t N> bool Contains(const std::array<std::string_view, N>& names, std::string_view name) {
    for (std::string_view n : names) {
        if (n == name) {
            return true;
        }
    }
    return false;
}

} // namespace

SStartOptions ParseStartOptions(int argc, const char* const* argv) {
    SStartOptions options;
    bool filesOnly = false;
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i] ? argv[i] : "";
        if (!filesOnly && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                filesOnly = true;
                continue;
            }
            if (arg == "-h" || arg == "--help") {
                options.action = SStartOptions::EAction::Help;
                return options;
            }
            if (arg == "--version") {
                options.action = SStartOptions::EAction::Version;
                return options;
            }
            std::string_view name = arg.substr(arg[1] == '-' ? 2 : 1);
            const std::size_t equals = name.find('=');
            const bool inlineValue = equals != std::string_view::npos;
            name = name.substr(0, equals);
            if (Contains(kToolkitOptionsWithValue, name)) {
                if (!inlineValue) {
                    ++i;
                }
                continue;
            }
            if (!inlineValue && Contains(kToolkitFlags, name)) {
                continue;
            }
            options.action = SStartOptions::EAction::Error;
            options.error = "unknown option '" + std::string(arg) + "'";
            return options;
        }
        if (++files > 1) {
            options.action = SStartOptions::EAction::Error;
            options.error = "only one FILE can be loaded at start";
            return options;
        }
        options.file = std::string(arg);
    }
    return options;
}

std::string StartUsageText() {
    return "Usage: orvik-generator [OPTION]... [FILE]\n"
           "Fill in, check and save a Marnel file (Orvik) in a window.\n"
           "With FILE, the window starts with FILE loaded, as the Load Orvik button loads it.\n"
           "\n"
           "Options:\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "\n"
           "The window toolkit's own options, such as -platform NAME or -style NAME, are accepted too.\n";
}

std::string StartVersionText() {
    return "orvik-generator " + orvik::ToUtf8(orvik::kGeneratorVersion) + "\n";
}

int ReportStartOptions(const SStartOptions& options) {
    switch (options.action) {
    case SStartOptions::EAction::Help:
        std::fputs(StartUsageText().c_str(), stdout);
        return 0;
    case SStartOptions::EAction::Version:
        std::fputs(StartVersionText().c_str(), stdout);
        return 0;
    case SStartOptions::EAction::Error:
        std::fprintf(stderr, "orvik-generator: %s\n", options.error.c_str());
        std::fputs(StartUsageText().c_str(), stderr);
        return 2;
    case SStartOptions::EAction::Run:
        break;
    }
    return -1;
}

bool COrvikApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!pendingFailure_) {
            pendingFailure_ = std::current_exception();
        }
        if (running_) {
            QCoreApplication::exit();
        }
        return false;
    }
}

int COrvikApplication::Run(IPrompt& prompt, ILogPlatform& logPlatform,
                           const std::function<void(CSheetWindow&)>& onShown, const std::wstring& startFile) {
    StartLogger(logPlatform);
    InstallApplicationStyle();
    auto* qtPrompt = dynamic_cast<CQtPrompt*>(&prompt);
    try {
        auto session = std::make_unique<SRunSession>(prompt);
        CMarnelPropertySheet& sheet = session->sheet;
        CSheetWindow* window = session->window.get();
        if (qtPrompt) {
            qtPrompt->SetParent(window);
        }
        // The application's own loop, not a QEventLoop of Run's: in a browser page it is the one
        // loop that hands control back to the browser between events, and a modal box asked from
        // an event handler can wait for its answer only when no other loop is waiting beneath it.
        QObject::connect(window, &QDialog::finished, this, [] { QCoreApplication::exit(); });
        window->show();
        (new CRecoveryKeeper(*window))->OfferRestore(); // the window owns it
        if (!startFile.empty()) {
            FinishWindowLoad(*window, LoadChosenFile(sheet, startFile));
        }
        if (onShown) {
            QTimer::singleShot(0, window, [this, window, onShown] {
                try {
                    onShown(*window);
                } catch (...) {
                    pendingFailure_ = std::current_exception();
                    QCoreApplication::exit();
                }
            });
        }
        if (window->isVisible()) {
            running_ = true;
            QApplication::exec();
            running_ = false;
        }
        if (qtPrompt) {
            qtPrompt->SetParent(nullptr);
        }
        session.reset();
        if (std::exception_ptr failure = std::exchange(pendingFailure_, nullptr)) {
            std::rethrow_exception(failure);
        }
    } catch (const fieldlist_error& e) {
        if (qtPrompt) {
            qtPrompt->SetParent(nullptr);
        }
        ReportError(prompt, L"fieldlist_error exception: " + e.Message());
    } catch (const filegen_error& e) {
        if (qtPrompt) {
            qtPrompt->SetParent(nullptr);
        }
        ReportError(prompt, L"filegen_error exception: " + e.Message());
    } catch (const std::exception& e) {
        if (qtPrompt) {
            qtPrompt->SetParent(nullptr);
        }
        ReportError(prompt, L"std::exception: " + orvik::FromUtf8(e.what()));
    }
    StopLogger();
    return 0;
}
