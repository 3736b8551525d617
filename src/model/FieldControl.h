#pragma once

#include <string>

// The on-screen half of a field: an input control and its label. The core only talks to it through
// this interface; the window toolkit implements it. A field without a control works fully.
class CFieldControl {
public:
    virtual ~CFieldControl() = default;

    virtual void ResetControl() = 0;
    virtual void RedrawControl() = 0;
    virtual void EnableControl(bool enable) = 0;
    virtual void ShowControl(bool show) = 0;
    virtual bool IsControlEnabled() const = 0;
    virtual void SetControlText(const std::wstring& text) = 0;
    virtual std::wstring GetControlText() const = 0;
    // True from creation until the window that holds the control is gone; a control that is not
    // live ignores every operation.
    virtual bool IsLive() const = 0;
    // The field's choice list was replaced; a pull-down refills itself.
    virtual void ChoicesChanged() {}
};
