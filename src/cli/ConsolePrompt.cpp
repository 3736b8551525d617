#include "cli/ConsolePrompt.h"

#include "cli/Console.h"

void CConsolePrompt::ShowError(const std::wstring& text) {
    console_.ErrUnlessRepeated(text);
}

void CConsolePrompt::ShowInformation(const std::wstring& text) {
    console_.ErrUnlessRepeated(text);
}

bool CConsolePrompt::AskYesNo(const std::wstring& /*text*/) {
    return true;
}

std::optional<std::wstring> CConsolePrompt::ChooseFileToOpen(unsigned& errorCode) {
    errorCode = 0;
    return std::nullopt;
}
