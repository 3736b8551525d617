#pragma once

#include "sheet/Prompt.h"

class CConsole;

// Message boxes as lines on standard error. Questions are answered Yes and no file is ever chosen:
// the command line names the files.
class CConsolePrompt : public IPrompt {
public:
    // The console must outlive the prompt.
    explicit CConsolePrompt(CConsole& console) : console_(console) {}

    void ShowError(const std::wstring& text) override;
    void ShowInformation(const std::wstring& text) override;
    bool AskYesNo(const std::wstring& text) override;
    std::optional<std::wstring> ChooseFileToOpen(unsigned& errorCode) override;

private:
    CConsole& console_;
};
