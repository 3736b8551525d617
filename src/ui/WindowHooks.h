#pragma once

#include <functional>
#include <utility>

class CGroupDialog;
class QDialog;

// The places where the window reaches outside itself or blocks: the bell of a dropped keystroke and
// the modal run of its dialogs. The window owns one and hands it to the parts it makes; by default
// the bell rings and every dialog runs modally, and tests replace them on the window they drive to
// count beeps and answer dialogs without blocking.
class CWindowHooks {
public:
    using Beep = std::function<void()>;
    // Runs a group dialog and answers its result (QDialog::Accepted after a successful OK).
    using GroupDialogRunner = std::function<int(CGroupDialog&)>;
    // Runs one of the window's other dialogs (the regression-testing one) and answers its result.
    using DialogRunner = std::function<int(QDialog&)>;

    // An empty function restores the default.
    void SetBeep(Beep beep) { beep_ = std::move(beep); }
    void SetGroupDialogRunner(GroupDialogRunner runner) { groupDialogRunner_ = std::move(runner); }
    void SetDialogRunner(DialogRunner runner) { dialogRunner_ = std::move(runner); }

    void Ring() const;
    int RunGroupDialog(CGroupDialog& dialog) const;
    int RunDialog(QDialog& dialog) const;

private:
    Beep beep_;
    GroupDialogRunner groupDialogRunner_;
    DialogRunner dialogRunner_;
};
