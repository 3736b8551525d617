#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "model/Errors.h"
#include "model/Text.h"
#include "sheet/PropertySheet.h"
#include "ui/QtPrompt.h"
#include "ui/SheetWindow.h"

#include <QApplication>

#include <exception>
#include <memory>
#include <string>

namespace {

// The common error report: the log, then a box with the error icon.
void ReportError(IPrompt& prompt, const std::wstring& message) {
    Log(message);
    prompt.ShowError(message);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvik-generator"));
    QApplication::setApplicationDisplayName(QString());

    CQtLogPlatform logPlatform;
    StartLogger(logPlatform);
    CQtPrompt prompt;
    try {
        CRuleTable::Instance().Build();
        CMarnelPropertySheet sheet(&prompt);
        sheet.Initialize();
        CSheetWindow window(sheet);
        prompt.SetParent(&window);
        QObject::connect(&window, &QDialog::finished, &app, [&app] { app.quit(); });
        window.show();
        QApplication::exec();
        prompt.SetParent(nullptr);
    } catch (const fieldlist_error& e) {
        ReportError(prompt, L"fieldlist_error exception: " + e.Message());
    } catch (const filegen_error& e) {
        ReportError(prompt, L"filegen_error exception: " + e.Message());
    } catch (const std::exception& e) {
        ReportError(prompt, L"std::exception: " + orvik::FromUtf8(e.what()));
    }
    StopLogger();
    return 0;
}
