#pragma once

#include "model/WndWrapper.h"
#include "sheet/SheetObserver.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class CGroupListEditor;
class CGroupWorkingCopy;
class CListPanel;
class CPdoChart;
class CQuestionPane;
class CParameterField;
class CQtFieldControl;
class CWindowHooks;
class IPrompt;
class QDialogButtonBox;
class QFormLayout;

// The modal dialog of one group (a PDO, an SVID or a mode) over the open working copy of a list
// editor: one label and control per shown field, the SVID's own mode list below them, OK and
// Cancel. OK hands the copy to the editor, which refuses an invalid one; the real group is only
// touched by an accepted OK. The dialog owns its controls and shows in them what the copy announces.
class CGroupDialog : public QDialog, public ISheetObserver {
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
    // The chart of a PDO dialog: the list's PDOs with the working copy in its place; null in others.
    CPdoChart* Chart() const { return chart_; }
    QDialogButtonBox* Buttons() const { return buttons_; }
    // The question pane below the questions; null for a dialog of a list outside the sheet.
    CQuestionPane* QuestionPane() const { return pane_; }
    // The control showing a field of the copy, by printable name; null when none.
    CQtFieldControl* ControlOf(const QString& printableName) const;
    // The control showing a field of the copy; null when none.
    CQtFieldControl* ControlOf(const CParameterField& field) const;

    // Readies the dialog to open at a question before it runs: with no `item`, tells the copy's
    // question of name pattern `question` in the question pane and puts the keyboard on it when it
    // takes answers; else, once the dialog runs, opens line `item[0]` of its mode list at it
    // (CListPanel::EditItemAt).
    void OpenAt(const std::vector<int>& item, const std::wstring& question);
    // Values, availability, shown rows and colours of every control from the copy.
    void RefreshControls();
    // What an answer or a re-evaluation changed in the copy.
    void SheetChanged(const SSheetChange& change) override;

public slots:
    void accept() override;

private:
    std::unique_ptr<CQtFieldControl> MakeControl(CParameterField& field);
    void OnEdit(CParameterField* field, const std::wstring& value);
    // Every control's unit, and the SVID's mode list as wide as its lines.
    void RefreshUnitsAndModes();
    void RefreshChart();

    CGroupListEditor& editor_;
    CGroupWorkingCopy& copy_;
    IPrompt& prompt_;
    const CWindowHooks& hooks_;
    // What the copy's fields know of this dialog while it shows them: no page of the sheet.
    CWndWrapper host_;
    QFormLayout* form_ = nullptr;
    CListPanel* modes_ = nullptr;
    CPdoChart* chart_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    CQuestionPane* pane_ = nullptr;
    // One control per field of the copy, in the group's order.
    std::vector<std::unique_ptr<CQtFieldControl>> controls_;
    bool refreshing_ = false;
};
