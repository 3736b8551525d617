#pragma once

#include "catalog/GroupTypes.h"
#include "model/FieldList.h"

#include <memory>
#include <string>
#include <vector>

class CGroupListEditor;
class CMarnelPropertySheet;
class ISheetObserver;

// What the program calls one item, as its dialog's title does: "Source PDO 2", "SOP SVID 1 - Mode 3".
std::wstring GroupCaption(const CFieldGroup& group);

// What a group dialog works on: a deep copy of one group. The real group stays untouched until the
// answers are copied back.
class CGroupWorkingCopy {
public:
    explicit CGroupWorkingCopy(const CFieldGroup& edited);
    ~CGroupWorkingCopy();
    CGroupWorkingCopy(const CGroupWorkingCopy&) = delete;
    CGroupWorkingCopy& operator=(const CGroupWorkingCopy&) = delete;

    CFieldGroup& Group() { return *copy_; }
    const CFieldGroup& Group() const { return *copy_; }
    // A field of the copy by name pattern or printable name; null when the group has none.
    CParameterField* Field(const std::wstring& name) const;

    // A user's answer: stores it and evaluates the copy again.
    void SetAnswer(CParameterField* field, const std::wstring& value);
    void SetAnswer(const std::wstring& name, const std::wstring& value);
    // Availability of every field from the first one on, then of the modes.
    void Reevaluate();
    // Told after each answer and each re-evaluation which of the copy's fields changed as a view
    // shows them, the way the sheet tells its observers (a field that is shown or hidden counts as
    // a change of its availability). Not owned; null for none.
    void SetObserver(ISheetObserver* observer) { observer_ = observer; }

    // The copy passes its group's check (for an SVID, its modes included).
    bool IsValid() const;
    // "Source PDO 2", "SOP SVID 1 - Mode 3".
    std::wstring Caption() const;
    // A field the dialog does not show: in a mode dialog the enter flag or the recognition fields,
    // by the SVID's modes-fixed answer.
    bool IsHidden(const CParameterField* field) const;

    // The panel over the copy's modes; null for a group without modes.
    CGroupListEditor* Modes() const { return modes_.get(); }

    // Copies every answer back into `target` by name, recomputing each field's availability, and
    // replaces target's modes by copies of the copy's modes. Structural faults are filegen_error.
    void CopyInto(CFieldGroup* target) const;

private:
    class CChangeScope;
    void ReevaluateFields();
    void HideUnusedModeFields();

    std::unique_ptr<CFieldGroup> copy_;
    std::unique_ptr<CGroupListEditor> modes_;
    std::vector<const CParameterField*> hidden_;
    ISheetObserver* observer_ = nullptr;
};

// A list panel without its window: the groups of one list as summary lines, a selection, and the
// operations Add, Edit, Insert, Delete and Remove all. Add, Edit and Insert open a working copy that
// OK commits and Cancel drops.
class CGroupListEditor {
public:
    // With a sheet, every operation that changes the list is announced to the sheet's observers;
    // a working copy's own mode list has none.
    explicit CGroupListEditor(CFieldGroupList& list, CMarnelPropertySheet* sheet = nullptr);
    ~CGroupListEditor();
    CGroupListEditor(const CGroupListEditor&) = delete;
    CGroupListEditor& operator=(const CGroupListEditor&) = delete;

    CFieldGroupList& List() const { return list_; }
    // The sheet the list belongs to; null for a working copy's own mode list.
    CMarnelPropertySheet* Sheet() const { return sheet_; }
    // The form whose answers explain this list's questions (the question pane): the sheet, or for
    // the modes of an SVID being edited, whose changes the sheet does not hear of, the SVID's form.
    CMarnelPropertySheet* Form() const { return form_ ? form_ : sheet_; }
    void SetForm(CMarnelPropertySheet* form) { form_ = form; }
    // What the panel calls the list's items; a list of no repeated-group type is a std::out_of_range.
    const SGroupTypeRow& Texts() const { return GroupTypeRow(list_.Type()); }

    // ---- lines and selection ----
    std::size_t LineCount() const { return list_.Size(); }
    std::wstring Line(std::size_t index) const;
    // False shows the line in red.
    bool IsLineValid(std::size_t index) const;
    std::vector<std::wstring> Lines() const;
    bool IsListValid() const;
    int Selection() const { return selection_; }
    // -1 or an index past the end selects nothing.
    void Select(int index);

    // ---- buttons ----
    bool CanEdit() const { return selection_ >= 0 && !list_.Empty(); }
    bool CanInsert() const { return CanEdit(); }
    bool CanDelete() const { return CanEdit(); }
    bool CanRemoveAll() const { return !list_.Empty(); }

    // ---- operations ----
    // A new group numbered count + 1.
    CGroupWorkingCopy& BeginAdd();
    // The selected group; null without a selection.
    CGroupWorkingCopy* BeginEdit();
    // A new group numbered selection + 1, to go before the selection; null without a selection.
    CGroupWorkingCopy* BeginInsert();
    // The open working copy, or null.
    CGroupWorkingCopy* Working() const { return working_.get(); }
    // The group of the list the open working copy stands for (an Edit's); null for an Add or an
    // Insert, whose copy joins the list only at OK.
    const CFieldGroup* Replaced() const { return mode_ == EMode::Edit ? edited_ : nullptr; }
    // OK of the dialog: false, with the message logged and kept in RejectionMessage, while the copy
    // is invalid (the dialog stays open); else the answers go to the list and the copy is closed.
    bool Ok();
    const std::wstring& RejectionMessage() const { return rejection_; }
    // Cancel of the dialog: the copy is dropped, the list is as before.
    void Cancel();
    void DeleteSelected();
    void RemoveAll();

private:
    enum class EMode { None, Add, Edit, Insert };

    void Open(EMode mode, std::unique_ptr<CFieldGroup> fresh, CFieldGroup* edited);
    void Close();

    CFieldGroupList& list_;
    CMarnelPropertySheet* sheet_;
    CMarnelPropertySheet* form_ = nullptr;
    int selection_ = -1;
    EMode mode_ = EMode::None;
    std::unique_ptr<CFieldGroup> fresh_; // the new group of an Add or Insert
    CFieldGroup* edited_ = nullptr;
    std::unique_ptr<CGroupWorkingCopy> working_;
    std::wstring rejection_;
};
