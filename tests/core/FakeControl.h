#pragma once

#include "model/FieldControl.h"
#include "model/WndWrapper.h"

#include <memory>
#include <string>

// A control that only remembers what the field did to it.
class CFakeControl : public CFieldControl {
public:
    void ResetControl() override { text = std::wstring(); }
    void RedrawControl() override { ++redraws; }
    void EnableControl(bool enable) override { enabled = enable; }
    void ShowControl(bool show) override { shown = show; }
    bool IsControlEnabled() const override { return enabled; }
    void SetControlText(const std::wstring& value) override { text = value; }
    std::wstring GetControlText() const override { return text; }
    bool IsLive() const override { return live; }
    void ChoicesChanged() override { ++choiceRefills; }

    std::wstring text;
    bool live = true;
    bool enabled = true;
    bool shown = true;
    int redraws = 0;
    int choiceRefills = 0;
};

// A window that hands out fake controls and keeps a pointer to the last one.
class CFakeHost : public CWndWrapper {
public:
    std::unique_ptr<CFieldControl> MakeControl(CParameterField& /*field*/) override {
        auto control = std::make_unique<CFakeControl>();
        last = control.get();
        ++made;
        return control;
    }

    CFakeControl* last = nullptr;
    int made = 0;
};
