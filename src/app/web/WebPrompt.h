#pragma once

#include "ui/QtPrompt.h"

// The prompt in a browser page, where the program sees no disk of the user's: the file to load
// comes from the browser's file picker and is put into the page's own file system for the load
// flow to read; a saved file goes to the browser as a download, and the success box says so.
class CWebPrompt : public CQtPrompt {
public:
    void ShowInformation(const std::wstring& text) override;
    std::optional<std::wstring> ChooseFileToOpen(unsigned& errorCode) override;
};
