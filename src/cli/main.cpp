#include "cli/CliApp.h"
#include "cli/Console.h"
#include "cli/ConsoleLog.h"
#include "logging/Logger.h"
#include "model/Errors.h"
#include "platform/Platform.h"
#include "text/Text.h"

#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    orvik::platform::UseBinaryStandardStreams();
    CCliApp app;
    CConsole& console = app.Console();
    SetLogSink(std::make_unique<CConsoleLog>(console));
    EExitCode code = EExitCode::Failure;
    try {
        code = app.Run(orvik::platform::Utf8Arguments(argc, argv));
    } catch (const CCliError& e) {
        if (!e.Message().empty()) {
            console.Err(L"orvik: " + e.Message());
        }
        code = e.Code();
    } catch (const fieldlist_error& e) {
        console.Err(L"orvik: fieldlist_error exception: " + e.Message());
    } catch (const filegen_error& e) {
        console.Err(L"orvik: filegen_error exception: " + e.Message());
    } catch (const std::exception& e) {
        console.Err(L"orvik: std::exception: " + orvik::FromUtf8(e.what()));
    } catch (...) {
        console.Err(L"orvik: unexpected failure");
    }
    SetLogSink(nullptr);
    // The process ends with the app still alive: taking apart the thousands of fields and groups of
    // its form just before exiting would cost more than most commands. Leaving through exit() runs
    // the usual shutdown (standard output and error are flushed) without destroying main's own
    // objects, and the form stays reachable from the app until the very end, so leak checkers see
    // nothing lost.
    std::exit(static_cast<int>(code));
}
