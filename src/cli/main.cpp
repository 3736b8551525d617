#include "cli/CliApp.h"
#include "cli/Console.h"
#include "cli/ConsoleLog.h"
#include "logging/Logger.h"
#include "model/Errors.h"
#include "platform/Platform.h"
#include "text/Text.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    orvik::platform::UseBinaryStandardStreams();
    SetLogSink(std::make_unique<CConsoleLog>());
    EExitCode code = EExitCode::Failure;
    try {
        code = CCliApp::Run(orvik::platform::Utf8Arguments(argc, argv));
    } catch (const CCliError& e) {
        if (!e.Message().empty()) {
            CConsole::Err(L"orvik: " + e.Message());
        }
        code = e.Code();
    } catch (const fieldlist_error& e) {
        CConsole::Err(L"orvik: fieldlist_error exception: " + e.Message());
    } catch (const filegen_error& e) {
        CConsole::Err(L"orvik: filegen_error exception: " + e.Message());
    } catch (const std::exception& e) {
        CConsole::Err(L"orvik: std::exception: " + orvik::FromUtf8(e.what()));
    } catch (...) {
        CConsole::Err(L"orvik: unexpected failure");
    }
    SetLogSink(nullptr);
    return static_cast<int>(code);
}
