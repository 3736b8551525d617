#pragma once

#include "sheet/Prompt.h"

// Message boxes as lines on standard error. Questions are answered Yes and no file is ever chosen:
// the command line names the files.
class CConsolePrompt : public IPrompt {
public:
    void ShowError(const std::wstring& text) override;
    void ShowInformation(const std::wstring& text) override;
    bool AskYesNo(const std::wstring& text) override;
    std::optional<std::wstring> ChooseFileToOpen(unsigned& errorCode) override;
};
