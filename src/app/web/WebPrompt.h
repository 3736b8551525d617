#pragma once

#include "ui/QtPrompt.h"

// The prompt in a browser page, where the program sees no disk of the user's: the file to load
// comes from the browser's file picker and is kept in the page's folder of chosen files for the
// load flow to read, and for the recent files of later pages; a saved file goes to the browser as a download,
// and the success box says so.
class CWebPrompt : public CQtPrompt {
public:
    void ShowInformation(const std::wstring& text) override;
    std::optional<std::wstring> ChooseFileToOpen(unsigned& errorCode) override;
};
