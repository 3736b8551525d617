#pragma once

#include "model/WndWrapper.h"

#include <QDialog>

#include <memory>
#include <vector>

class CGroupListEditor;
class CGroupWorkingCopy;
class CListPanel;
class CParameterField;
class CQtFieldControl;
class CWindowHooks;
class IPrompt;
class QDialogButtonBox;
class QFormLayout;

// The modal dialog of one group (a PDO, an SVID or a mode) over the open working copy of a list
// editor: one label and control per shown field, the SVID's own mode list below them, OK and
// Cancel. OK hands the copy to the editor, which refuses an invalid one; the real group is only
// touched by an accepted OK.
class CGroupDialog : public QDialog {
    Q_OBJECT
public:
    // The editor must have a working copy open; `parent` is the window the dialog is modal to;
    // `hooks` (which must outlive the dialog) ring the bell and run the mode dialogs of an SVID.
    CGroupDialog(CGroupListEditor& editor, IPrompt& prompt, const CWindowHooks& hooks, QWidget* parent);
    ~CGroupDialog() override;

    CGroupWorkingCopy& Copy() const { return copy_; }
    // The mode list of an SVID dialog; null in other dialogs.
    CListPanel* ModesPanel() const { return modes_; }
    QFormLayout* Form() const { return form_; }
    QDialogButtonBox* Buttons() const { return buttons_; }
    // The control showing a field of the copy, by printable name; null when none.
    CQtFieldControl* ControlOf(const QString& printableName) const;

    // Values, availability, shown rows and colours of every control from the copy.
    void RefreshControls();

public slots:
    void accept() override;

private:
    class CDialogWrapper : public CWndWrapper {
    public:
        explicit CDialogWrapper(CGroupDialog& dialog) : dialog_(dialog) {}
        std::unique_ptr<CFieldControl> MakeControl(CParameterField& field) override;

    private:
        CGroupDialog& dialog_;
    };

    void OnEdit(CParameterField* field, const std::wstring& value);

    CGroupListEditor& editor_;
    CGroupWorkingCopy& copy_;
    IPrompt& prompt_;
    const CWindowHooks& hooks_;
    CDialogWrapper wrapper_{*this};
    QFormLayout* form_ = nullptr;
    CListPanel* modes_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    std::vector<CParameterField*> fields_;
    bool refreshing_ = false;
};
