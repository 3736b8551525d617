#include "ui/Application.h"

#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "model/Errors.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"
#include "ui/QtPrompt.h"
#include "ui/SheetWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <exception>
#include <string>
#include <utility>

namespace {

// The common error report: the log, then a box with the error icon.
void ReportError(IPrompt& prompt, const std::wstring& message) {
    Log(message);
    prompt.ShowError(message);
}

std::exception_ptr& PendingFailure() {
    static std::exception_ptr failure;
    return failure;
}

QPointer<QEventLoop>& RunLoop() {
    static QPointer<QEventLoop> loop;
    return loop;
}

} // namespace

bool COrvikApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (!PendingFailure()) {
            PendingFailure() = std::current_exception();
        }
        if (RunLoop()) {
            RunLoop()->quit();
        }
        return false;
    }
}

int RunApplication(IPrompt& prompt, ILogPlatform& logPlatform,
                   const std::function<void(CSheetWindow&)>& onShown) {
    StartLogger(logPlatform);
    auto* qtPrompt = dynamic_cast<CQtPrompt*>(&prompt);
    try {
        CRuleTable::Instance().Build();
        CMarnelPropertySheet sheet(&prompt);
        sheet.Initialize();
        CSheetWindow window(sheet);
        if (qtPrompt) {
            qtPrompt->SetParent(&window);
        }
        QEventLoop loop;
        RunLoop() = &loop;
        QObject::connect(&window, &QDialog::finished, &loop, &QEventLoop::quit);
        window.show();
        if (onShown) {
            QTimer::singleShot(0, &window, [&] {
                try {
                    onShown(window);
                } catch (...) {
                    PendingFailure() = std::current_exception();
                    loop.quit();
                }
            });
        }
        if (window.isVisible()) {
            loop.exec();
        }
        if (qtPrompt) {
            qtPrompt->SetParent(nullptr);
        }
        RunLoop() = nullptr;
        if (std::exception_ptr failure = std::exchange(PendingFailure(), nullptr)) {
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
