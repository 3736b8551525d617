#include "cli/ConsoleLog.h"

#include "cli/Console.h"
#include "text/Text.h"

void CConsoleLog::Write(std::string_view message) {
    // A message that carries its own line end (the regular-expression report) gets no second one.
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
        message.remove_suffix(1);
    }
    console_.Err(orvik::FromCp1252(message));
}
