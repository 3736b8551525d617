#include "sheet/GroupListEditor.h"

#include "catalog/GroupCatalog.h"
#include "catalog/GroupChecks.h"
#include "logging/Logger.h"
#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "model/ParameterField.h"
#include "model/Predicates.h"
#include "sheet/PropertySheet.h"
#include "sheet/SheetChangeTracker.h"
#include "text/Text.h"

#include <algorithm>
#include <optional>

using orvik::Format;
using orvik::ToWideSigned;

namespace {

bool IsModeType(EGroupType type) {
    const SGroupTypeRow* row = FindGroupTypeRow(type);
    return row && row->kind == EGroupKind::Mode;
}

void ClearAndLock(CParameterField* field) {
    field->SetValue(std::wstring());
    field->SetEnabled(false);
}

} // namespace

// ---- CGroupWorkingCopy ----

// Everything done to the copy while one lives is told to the observer as one change.
class CGroupWorkingCopy::CChangeScope {
public:
    explicit CChangeScope(CGroupWorkingCopy& copy) : copy_(copy) {
        if (copy_.observer_) {
            before_.emplace(copy_.copy_->Fields());
            hiddenBefore_ = copy_.hidden_;
        }
    }
    ~CChangeScope() {
        if (!before_ || !copy_.observer_) {
            return;
        }
        SSheetChange change;
        before_->AddChanges(copy_.copy_->Fields(), change.fields);
        for (CParameterField* field : copy_.copy_->Fields()) {
            const bool wasHidden =
                std::find(hiddenBefore_.begin(), hiddenBefore_.end(), field) != hiddenBefore_.end();
            if (wasHidden == copy_.IsHidden(field)) {
                continue;
            }
            auto entry = std::find_if(change.fields.begin(), change.fields.end(),
                                      [field](const SSheetChange::SField& f) { return f.field == field; });
            if (entry == change.fields.end()) {
                change.fields.push_back({field});
                entry = change.fields.end() - 1;
            }
            entry->availability = true;
        }
        if (!change.Empty()) {
            copy_.observer_->SheetChanged(change);
        }
    }
    CChangeScope(const CChangeScope&) = delete;
    CChangeScope& operator=(const CChangeScope&) = delete;

private:
    CGroupWorkingCopy& copy_;
    std::optional<CFieldStates> before_;
    std::vector<const CParameterField*> hiddenBefore_;
};

CGroupWorkingCopy::CGroupWorkingCopy(const CFieldGroup& edited) : copy_(edited.Clone()) {
    if (CFieldGroupList* modes = copy_->ChildList()) {
        modes_ = std::make_unique<CGroupListEditor>(*modes);
        modes_->Select(modes->Empty() ? -1 : 0);
    }
    Reevaluate();
}

CGroupWorkingCopy::~CGroupWorkingCopy() = default;

CParameterField* CGroupWorkingCopy::Field(const std::wstring& name) const {
    if (CParameterField* field = copy_->FindField(name)) {
        return field;
    }
    return copy_->Fields().FindField(name);
}

void CGroupWorkingCopy::SetAnswer(CParameterField* field, const std::wstring& value) {
    if (!field) {
        throw filegen_error(L"NULL parameter field.");
    }
    if (field->Group() != copy_.get()) {
        throw filegen_error(Format(L"Couldn't find field %s in field list.", {field->GetPrintableName()}));
    }
    const CChangeScope scope(*this);
    field->SetValue(value);
    ReevaluateFields();
}

void CGroupWorkingCopy::SetAnswer(const std::wstring& name, const std::wstring& value) {
    CParameterField* field = Field(name);
    if (!field) {
        throw filegen_error(Format(L"Couldn't find field %s in field list.", {name}));
    }
    SetAnswer(field, value);
}

void CGroupWorkingCopy::Reevaluate() {
    const CChangeScope scope(*this);
    ReevaluateFields();
}

void CGroupWorkingCopy::ReevaluateFields() {
    CFieldList& fields = copy_->Fields();
    if (!fields.Empty()) {
        UpdateAvailability(fields.At(0), fields.FormState());
        fields.PropagateChange(0, fields.At(0), true);
    }
    if (CFieldGroupList* modes = copy_->ChildList()) {
        modes->PropagateChange(nullptr, true);
    }
    HideUnusedModeFields();
}

void CGroupWorkingCopy::HideUnusedModeFields() {
    hidden_.clear();
    const CFieldGroupList* owner = copy_->OwnerList();
    const EGroupType type = owner ? owner->Type() : EGroupType::None;
    if (!IsModeType(type)) {
        return;
    }
    const SSvidNames& names = *SvidNamesOf(type);
    const bool fixed = IsYes(&OwningModesFixed(*copy_));
    const std::vector<const wchar_t*> unused =
        fixed ? std::vector<const wchar_t*>{names.recogMask, names.recogValue} : std::vector{names.enter};
    for (const wchar_t* pattern : unused) {
        if (CParameterField* field = copy_->FindField(pattern)) {
            ClearAndLock(field);
            hidden_.push_back(field);
        }
    }
}

bool CGroupWorkingCopy::IsValid() const {
    return copy_->IsComplete();
}

std::wstring CGroupWorkingCopy::Caption() const {
    return GroupCaption(*copy_);
}

std::wstring GroupCaption(const CFieldGroup& group) {
    const CFieldGroupList* owner = group.OwnerList();
    const SGroupTypeRow& row = GroupTypeRow(owner ? owner->Type() : EGroupType::None);
    const std::wstring number = ToWideSigned(group.InstanceNumber());
    if (row.kind == EGroupKind::Mode) {
        const CFieldGroup* svid = owner->OwnerGroup();
        return Format(L"%s %d - %s %d",
                      {GroupTypeRow(row.owner).caption, ToWideSigned(svid ? svid->InstanceNumber() : 0),
                       row.caption, number});
    }
    return Format(L"%s %d", {row.caption, number});
}

bool CGroupWorkingCopy::IsHidden(const CParameterField* field) const {
    return std::find(hidden_.begin(), hidden_.end(), field) != hidden_.end();
}

void CGroupWorkingCopy::CopyInto(CFieldGroup* target) const {
    if (!target) {
        throw filegen_error(L"NULL field group.");
    }
    for (const CParameterField* field : copy_->Fields()) {
        if (!field) {
            throw filegen_error(L"NULL parameter field.");
        }
        CParameterField* answer = target->FindField(field->NamePattern());
        if (!answer) {
            throw filegen_error(
                Format(L"Couldn't find field %s in output field group.", {field->GetPrintableName()}));
        }
        answer->SetValue(field->Value());
        UpdateAvailability(answer, target->Fields().FormState());
    }
    const CFieldGroupList* modes = copy_->ChildList();
    if (!modes) {
        return;
    }
    target->CreateChildList(modes->Type());
    CFieldGroupList* destination = target->ChildList();
    destination->Clear();
    for (const auto& mode : modes->Groups()) {
        std::unique_ptr<CFieldGroup> copy = mode->Clone();
        CFieldGroup* relinked = copy.get();
        relinked->Fields().SetEnclosingList(&target->Fields());
        destination->Append(std::move(copy));
        for (CParameterField* field : relinked->Fields()) {
            field->SetGroup(relinked);
            field->ResolveParents(relinked->Fields());
        }
    }
}

// ---- CGroupListEditor ----

CGroupListEditor::CGroupListEditor(CFieldGroupList& list, CMarnelPropertySheet* sheet)
    : list_(list), sheet_(sheet) {}

namespace {
// A list operation on a sheet's list is one change and one undo step, named as the user would:
// "Add Source PDO 3", "Remove all SOP SVIDs".
class CListChangeScope {
public:
    explicit CListChangeScope(CMarnelPropertySheet* sheet) {
        if (sheet) {
            step_.emplace(*sheet);
        }
    }
    void SetLabel(std::wstring label) {
        if (step_) {
            step_->SetLabel(std::move(label));
        }
    }

private:
    std::optional<CUndoStep> step_;
};

std::wstring ItemLabel(const wchar_t* operation, const CFieldGroupList& list, std::size_t index) {
    return Format(L"%s %s %d", {operation, GroupTypeRow(list.Type()).caption, orvik::ToWide(index + 1)});
}
} // namespace

CGroupListEditor::~CGroupListEditor() {
    Close();
}

std::wstring CGroupListEditor::Line(std::size_t index) const {
    return list_.Summary(list_.At(index));
}

bool CGroupListEditor::IsLineValid(std::size_t index) const {
    return list_.At(index).IsComplete();
}

std::vector<std::wstring> CGroupListEditor::Lines() const {
    std::vector<std::wstring> lines;
    for (std::size_t i = 0; i < list_.Size(); ++i) {
        lines.push_back(Line(i));
    }
    return lines;
}

bool CGroupListEditor::IsListValid() const {
    return list_.IsListValid();
}

void CGroupListEditor::Select(int index) {
    selection_ = (index < 0 || static_cast<std::size_t>(index) >= list_.Size()) ? -1 : index;
}

void CGroupListEditor::Open(EMode mode, std::unique_ptr<CFieldGroup> fresh, CFieldGroup* edited) {
    Close();
    mode_ = mode;
    fresh_ = std::move(fresh);
    edited_ = edited;
    rejection_.clear();
    working_ = std::make_unique<CGroupWorkingCopy>(*edited_);
}

void CGroupListEditor::Close() {
    working_.reset();
    fresh_.reset();
    edited_ = nullptr;
    mode_ = EMode::None;
}

CGroupWorkingCopy& CGroupListEditor::BeginAdd() {
    std::unique_ptr<CFieldGroup> fresh = list_.MakeGroup(static_cast<int>(list_.Size()) + 1);
    CFieldGroup* edited = fresh.get();
    Open(EMode::Add, std::move(fresh), edited);
    return *working_;
}

CGroupWorkingCopy* CGroupListEditor::BeginEdit() {
    if (!CanEdit()) {
        return nullptr;
    }
    Open(EMode::Edit, nullptr, &list_.At(static_cast<std::size_t>(selection_)));
    return working_.get();
}

CGroupWorkingCopy* CGroupListEditor::BeginInsert() {
    if (!CanInsert()) {
        return nullptr;
    }
    std::unique_ptr<CFieldGroup> fresh = list_.MakeGroup(selection_ + 1);
    CFieldGroup* edited = fresh.get();
    Open(EMode::Insert, std::move(fresh), edited);
    return working_.get();
}

bool CGroupListEditor::Ok() {
    if (!working_) {
        return false;
    }
    if (!working_->IsValid()) {
        rejection_ = Format(L"%s dialog not filled out or invalid data entered.", {working_->Caption()});
        Log(rejection_);
        return false;
    }
    CListChangeScope scope(sheet_);
    working_->CopyInto(edited_);
    switch (mode_) {
    case EMode::Add:
        list_.Append(std::move(fresh_));
        selection_ = static_cast<int>(list_.Size()) - 1;
        scope.SetLabel(ItemLabel(L"Add", list_, list_.Size() - 1));
        break;
    case EMode::Insert:
        list_.Insert(static_cast<std::size_t>(selection_), std::move(fresh_));
        scope.SetLabel(ItemLabel(L"Insert", list_, static_cast<std::size_t>(selection_)));
        break;
    case EMode::Edit:
        scope.SetLabel(ItemLabel(L"Edit", list_, static_cast<std::size_t>(selection_)));
        break;
    case EMode::None:
        break;
    }
    Close();
    return true;
}

void CGroupListEditor::Cancel() {
    Close();
}

void CGroupListEditor::DeleteSelected() {
    if (!CanDelete()) {
        return;
    }
    CListChangeScope scope(sheet_);
    scope.SetLabel(ItemLabel(L"Delete", list_, static_cast<std::size_t>(selection_)));
    Close();
    list_.Delete(static_cast<std::size_t>(selection_));
    if (list_.Empty()) {
        selection_ = -1;
    } else if (static_cast<std::size_t>(selection_) >= list_.Size()) {
        selection_ = static_cast<int>(list_.Size()) - 1;
    }
}

void CGroupListEditor::RemoveAll() {
    CListChangeScope scope(sheet_);
    scope.SetLabel(Format(L"Remove all %s", {GroupTypeRow(list_.Type()).label}));
    Close();
    list_.Clear();
    selection_ = -1;
}
