#pragma once

#include "model/FieldControl.h"

#include <memory>

class CFieldControl;
class CParameterField;
class IPageContext;

// What a field knows of the window that shows it: a tab of the sheet or a group dialog.
class CWndWrapper {
public:
    virtual ~CWndWrapper() = default;

    // Repaints the owner's indicator (a page's tab caption); nothing for other owners.
    virtual void RedrawIndicator() {}
    // The page behind this wrapper, or null when the owner is not a tab of the sheet.
    virtual IPageContext* GetPage() const { return nullptr; }
    // True when the owner is the sheet's active page.
    virtual bool IsActivePage() const { return false; }
    // Builds the control for a field; null where there is no window (the headless form).
    virtual std::unique_ptr<CFieldControl> MakeControl(CParameterField& /*field*/) { return nullptr; }
};
