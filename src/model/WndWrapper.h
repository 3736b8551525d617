#pragma once

class IPageContext;

// What a field knows of the window that shows it: a tab of the sheet or a group dialog.
class CWndWrapper {
public:
    virtual ~CWndWrapper() = default;

    // The page behind this wrapper, or null when the owner is not a tab of the sheet.
    virtual IPageContext* GetPage() const { return nullptr; }
    // True when the owner is the sheet's active page.
    virtual bool IsActivePage() const { return false; }
};
