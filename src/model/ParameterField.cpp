#include "model/ParameterField.h"

#include "logging/Logger.h"
#include "model/Errors.h"
#include "model/FieldList.h"
#include "model/NamePattern.h"
#include "model/RuleRecord.h"
#include "model/WndWrapper.h"
#include "text/Text.h"

#include <algorithm>

namespace {

EGroupType TypeOf(const CFieldGroup* group) {
    if (!group || !group->OwnerList()) {
        return EGroupType::Page;
    }
    return group->OwnerList()->Type();
}

} // namespace

CParameterField::CParameterField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule,
                                 EGroupType groupType)
    : group_(group), parsedPattern_(rule.parsedPattern.get()), host_(host), rule_(&rule),
      groupType_(groupType != EGroupType::None ? groupType : TypeOf(group)) {
    if (!parsedPattern_) {
        throw fieldlist_error(orvik::Format(L"NULL function list: field=%s, field group type id = %d.",
                                            {rule.namePattern, orvik::ToWideSigned(NumberOf(groupType_))}));
    }
}

CParameterField::CParameterField(const CParameterField& source, SCloneTag)
    : group_(source.group_), parsedPattern_(source.parsedPattern_), host_(source.host_), rule_(source.rule_),
      groupType_(source.groupType_) {}

CParameterField::~CParameterField() = default;

void CParameterField::ResetFrom(const CParameterField& blank) {
    parsedPattern_ = blank.parsedPattern_;
    host_ = blank.host_;
    rule_ = blank.rule_;
    groupType_ = blank.groupType_;
    value_.clear();
    fileEntryName_.clear();
    fileEntryValue_.clear();
    writeComment_ = false;
    enabled_ = true;
    available_ = false;
    changed_ = false;
}

void CParameterField::GetOutputLine(std::wstring& out) const {
    out.clear();
    AppendPrintableName(out);
    out += L": ";
    out += value_;
}

bool CParameterField::IsFilledByProgram() const {
    return rule_->filledBy != nullptr;
}

void CParameterField::FillProgramAnswer(bool keepGiven) {
    if (IsFilledByProgram() && !(keepGiven && !value_.empty())) {
        SetValue(rule_->filledBy());
    }
}

std::wstring CParameterField::WrittenValue() const {
    return IsFilledByProgram() ? rule_->filledBy() : value_;
}

void CParameterField::AppendComment(std::wstring& /*line*/) const {}

void CParameterField::SetIntValue(int /*value*/) {}

void CParameterField::RestoreFileValue() {
    if (fileEntryValue_.empty()) {
        return;
    }
    SetValue(fileEntryValue_);
}

void CParameterField::SetValue(const std::wstring& text) {
    value_ = text;
}

void CParameterField::CopyFrom(const CParameterField& other) {
    value_ = other.value_;
    available_ = other.available_;
    writeComment_ = other.writeComment_;
}

namespace {

void AppendNumber(std::wstring& out, int value) {
    if (value < 0) {
        out += orvik::ToWideSigned(value);
        return;
    }
    wchar_t digits[12];
    wchar_t* end = digits + 12;
    wchar_t* p = end;
    unsigned n = static_cast<unsigned>(value);
    do {
        *--p = static_cast<wchar_t>(L'0' + n % 10);
        n /= 10;
    } while (n != 0);
    out.append(p, end);
}

} // namespace

std::wstring CParameterField::GetPrintableName() const {
    std::wstring name;
    AppendPrintableName(name);
    return name;
}

void CParameterField::AppendPrintableName(std::wstring& name) const {
    const std::vector<std::wstring>& pieces = parsedPattern_->Pieces();
    name += pieces.empty() ? NamePattern() : pieces[0];
    if (!group_) {
        return;
    }
    const int n = group_->InstanceNumber();
    const CFieldGroupList* owner = group_->OwnerList();
    const int p = (owner && owner->OwnerGroup()) ? owner->OwnerGroup()->InstanceNumber() : 0;
    if (p != 0) {
        AppendNumber(name, p);
    } else if (n != 0) {
        AppendNumber(name, n);
    }
    if (pieces.size() > 1) {
        name += pieces[1];
        if (p != 0 && n != 0) {
            AppendNumber(name, n);
        }
        for (std::size_t i = 2; i < pieces.size(); ++i) {
            name += pieces[i];
        }
    }
}

bool CParameterField::IsEmpty() const {
    return Value().empty();
}

bool CParameterField::HasInvalidEntry() const {
    if (host_ && host_->GetPage() && !host_->IsActivePage()) {
        return false;
    }
    return !IsEmpty() && !IsValid();
}

std::wstring CParameterField::ToolTipText(const std::wstring& help) {
    return help + L"\n\nSee the Marnel File specification for more information.";
}

const std::vector<CParameterField*>& CParameterField::NoParents() {
    static const std::vector<CParameterField*> none;
    return none;
}

std::vector<CParameterField*>& CParameterField::OwnParents() {
    if (!parents_) {
        parents_ = std::make_shared<std::vector<CParameterField*>>();
    } else if (parents_.use_count() > 1) {
        parents_ = std::make_shared<std::vector<CParameterField*>>(*parents_);
    }
    return *parents_;
}

void CParameterField::AddParent(CParameterField* parent) {
    if (!parent) {
        throw fieldlist_error(L"NULL parameter field.");
    }
    const std::vector<CParameterField*>& parents = Parents();
    if (std::find(parents.begin(), parents.end(), parent) == parents.end()) {
        OwnParents().push_back(parent);
    }
}

void CParameterField::AddDistinctParent(CParameterField* parent) {
    if (!parent) {
        throw fieldlist_error(L"NULL parameter field.");
    }
    OwnParents().push_back(parent);
}

void CParameterField::SetDistinctParents(std::vector<CParameterField*> parents) {
    if (std::find(parents.begin(), parents.end(), nullptr) != parents.end()) {
        throw fieldlist_error(L"NULL parameter field.");
    }
    parents_ = std::make_shared<std::vector<CParameterField*>>(std::move(parents));
}

void CParameterField::AddParentAndItsParents(CParameterField* parent) {
    AddParent(parent);
    if (parent == this) {
        // A copy: the list read is the one being added to.
        const std::vector<CParameterField*> grandParents = parent->Parents();
        for (CParameterField* p : grandParents) {
            if (p && p != this) {
                AddParent(p);
            }
        }
        return;
    }
    // Every group made links each of its fields this way: room for all at once, still growing
    // geometrically over many calls.
    std::vector<CParameterField*>& own = OwnParents();
    const std::size_t wanted = own.size() + parent->Parents().size();
    if (wanted > own.capacity()) {
        own.reserve(std::max(wanted, 2 * own.capacity()));
    }
    AddParents(parent->Parents());
}

void CParameterField::AddParents(std::span<CParameterField* const> parents) {
    for (CParameterField* p : parents) {
        if (p && p != this) {
            AddParent(p);
        }
    }
}

CParameterField* CParameterField::FindParent(std::wstring_view name) const {
    for (CParameterField* p : Parents()) {
        if (p && p->NamePattern() == name) {
            return p;
        }
    }
    return nullptr;
}

void CParameterField::ResolveParents(const CFieldList& scope) {
    if (!parents_) {
        return;
    }
    for (CParameterField*& p : OwnParents()) {
        if (p) {
            p = scope.FindFieldInScope(p->NamePattern());
        }
    }
}

bool CParameterField::PassesValidity() const {
    if (!available_) {
        return true;
    }
    try {
        return rule_->validity(this);
    } catch (const fieldlist_error& e) {
        Log(std::string_view(e.what()));
        return false;
    }
}

void CParameterField::SetFileEntry(std::wstring name, std::wstring value) {
    fileEntryName_ = std::move(name);
    fileEntryValue_ = std::move(value);
}

void CParameterField::Force(const std::wstring& value) {
    SetValue(value);
    enabled_ = false;
}

void CParameterField::MakeEditable() {
    enabled_ = true;
}

void UpdateAvailability(CParameterField* field) {
    UpdateAvailability(field, SFormState{});
}

void UpdateAvailability(CParameterField* field, const SFormState& form) {
    if (!field) {
        return;
    }
    const CRuleRecord& rule = field->Rule();
    field->SetChanged(false);
    const bool wasAvailable = field->IsAvailable();
    const bool wasEmpty = field->Value().empty();
    // Whether the answer changed. Only the on-available action can change it in any way, so only
    // then is the old answer copied: this runs for every field of every group at each load.
    bool valueChanged = false;

    bool available = false;
    try {
        available = rule.availability(field);
    } catch (const fieldlist_error& e) {
        Log(std::string_view(e.what()));
        available = false;
    }
    field->SetAvailable(available);

    if (available) {
        field->SetEnabled(true);
        std::wstring oldValue;
        if (rule.onAvailable) {
            oldValue = field->Value();
            try {
                rule.onAvailable(field);
            } catch (const fieldlist_error& e) {
                Log(std::string_view(e.what()));
            }
        }
        if (form.fileLoaded && !wasAvailable && field->Value().empty()) {
            field->RestoreFileValue();
        }
        // Without the action the answer was the old one until the file's was restored to an empty
        // one.
        valueChanged = rule.onAvailable ? field->Value() != oldValue : wasEmpty && !field->Value().empty();
    } else {
        field->SetValue(std::wstring());
        field->SetEnabled(false);
        valueChanged = !wasEmpty || !field->Value().empty();
    }

    if (available != wasAvailable || valueChanged) {
        field->SetChanged(true);
    }
}

bool HasFewerParents(const CParameterField* a, const CParameterField* b) {
    return a->Parents().size() < b->Parents().size();
}
