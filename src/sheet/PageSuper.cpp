#include "sheet/PageSuper.h"
#include "model/FieldNames.h"

#include "model/FieldKinds.h"
#include "model/FieldValues.h"
#include "sheet/PropertySheet.h"

namespace {

bool IsNumberAtLeast(const CParameterField* larger, const CParameterField* smaller) {
    const auto* max = FieldAs<const CNumEditField>(larger);
    const auto* min = FieldAs<const CNumEditField>(smaller);
    std::uint32_t maxValue = 0;
    std::uint32_t minValue = 0;
    if (!max || !min || !max->IsValid() || !TryTextToUnsigned(max->Value(), maxValue)) {
        return true; // no valid maximum yet: nothing to compare
    }
    if (!TryTextToUnsigned(min->Value(), minValue)) {
        return true;
    }
    return maxValue >= minValue;
}

bool SameNumber(const CParameterField* a, const CParameterField* b) {
    if (!a || !b) {
        return false;
    }
    std::uint32_t x = 0;
    std::uint32_t y = 0;
    if (TryTextToUnsigned(a->Value(), x) && TryTextToUnsigned(b->Value(), y)) {
        return x == y;
    }
    return a->Value() == b->Value();
}

} // namespace

bool CPageWrapper::IsActivePage() const {
    return &page_.Sheet().ActivePage() == &page_;
}

IPageContext* CPageWrapper::GetPage() const {
    return &page_;
}

CPageSuper* HostPage(const CParameterField* field) {
    if (!field || !field->Host()) {
        return nullptr;
    }
    return dynamic_cast<CPageSuper*>(field->Host()->GetPage());
}

CPageSuper::CPageSuper(CMarnelPropertySheet& sheet, const SPageRow& row) : sheet_(sheet), row_(row) {}

CParameterField* CPageSuper::Field(const std::wstring& name) const {
    return fields_.FindField(name);
}

CParameterField* CPageSuper::FormField(const std::wstring& name) const {
    return sheet_.FindField(name);
}

void CPageSuper::RegisterFields(std::vector<std::unique_ptr<CParameterField>>& fieldStore) {
    for (const SFieldRow& row : row_.fields) {
        auto field = CreateField(row, sheet_.Rules(), &wrapper_, nullptr);
        fields_.Append(field.get());
        fieldStore.push_back(std::move(field));
    }
}

void CPageSuper::FillChoices() {
    for (std::size_t i = 0; i < row_.fields.size() && i < fields_.Size(); ++i) {
        const SFieldRow& row = row_.fields[i];
        if (row.kind != EFieldKind::Choice || row.choices.empty()) {
            continue;
        }
        if (auto* list = FieldAs<CPulldownListField>(fields_.At(i))) {
            list->SetOptions(row.choices);
        }
    }
}

bool CPageSuper::HasAvailableField() const {
    for (const CParameterField* f : fields_) {
        if (f->IsAvailable()) {
            return true;
        }
    }
    return false;
}

bool CPageSuper::IsPageValid() const {
    if (reviewFlag_ && sheet_.ReviewFlagsEnabled()) {
        return false;
    }
    return AreAnswersValid();
}

bool CPageSuper::AreAnswersValid() const {
    for (const CParameterField* f : fields_) {
        if (f->IsAvailable() && !f->PassesValidity()) {
            return false;
        }
    }
    if (ListsGroups()) {
        const auto& lists = sheet_.GroupLists();
        auto it = lists.find(ListedGroupType());
        if (it != lists.end() && !it->second->IsListValid()) {
            return false;
        }
    }
    return PageRuleProblems().empty();
}

bool CPageSuper::IsPageEmpty() const {
    if (row_.id == EPage::Intro) {
        // The product type and the answers the program fills in do not count as work.
        for (const CParameterField* f : fields_) {
            if (f->NamePattern() == fieldname::kOrvikProductType || f->IsFilledByProgram()) {
                continue;
            }
            if (!f->IsEmpty()) {
                return false;
            }
        }
        return true;
    }
    for (const CParameterField* f : fields_) {
        if (!f->IsEmpty()) {
            return false;
        }
    }
    if (ListsGroups()) {
        const auto& lists = sheet_.GroupLists();
        auto it = lists.find(ListedGroupType());
        if (it != lists.end() && !it->second->Empty()) {
            return false;
        }
    }
    return true;
}

std::vector<std::wstring> CPageSuper::PageRuleProblems() const {
    std::vector<std::wstring> problems;
    switch (row_.id) {
    case EPage::UsbTypeC: {
        const CParameterField* trySrc = Field(fieldname::kTrySrc);
        const CParameterField* trySnk = Field(fieldname::kTrySnk);
        if (IsYes(trySrc) && IsYes(trySnk)) {
            problems.push_back(L"Type_C_Implements_Try_SRC and Type_C_Implements_Try_SNK are both YES");
        }
        const CParameterField* comms = sheet_.FindField(fieldname::kUsbCommsCapable);
        if (!comms) {
            problems.push_back(L"USB_Comms_Capable is missing");
        } else if (IsNo(comms) &&
                   (IsYes(Field(fieldname::kCanActAsHost)) || IsYes(Field(fieldname::kCanActAsDevice)))) {
            problems.push_back(L"USB_Comms_Capable is NO but the port can act as host or device");
        }
        break;
    }
    case EPage::SOPDiscovery2:
    case EPage::Cables2: {
        std::wstring problem = SvidCountProblem();
        if (!problem.empty()) {
            problems.push_back(std::move(problem));
        }
        break;
    }
    default:
        break;
    }
    return problems;
}

std::wstring CPageSuper::SvidCountProblem() const {
    if (row_.id != EPage::SOPDiscovery2 && row_.id != EPage::Cables2) {
        return {};
    }
    const bool sop = row_.id == EPage::SOPDiscovery2;
    const CParameterField* fixed = Field(sop ? fieldname::kSvidFixedSop : fieldname::kSvidFixedCable);
    const CParameterField* min = Field(sop ? fieldname::kNumSvidsMinSop : fieldname::kCableNumSvidsMin);
    const CParameterField* max = Field(sop ? fieldname::kNumSvidsMaxSop : fieldname::kCableNumSvidsMax);
    const std::wstring minName = min ? min->GetPrintableName() : L"minimum";
    const std::wstring maxName = max ? max->GetPrintableName() : L"maximum";
    if (IsYes(fixed)) {
        if (!SameNumber(min, max)) {
            return minName + L" and " + maxName + L" must be equal when the SVIDs are fixed";
        }
    } else if (IsNo(fixed)) {
        if (!IsNumberAtLeast(max, min)) {
            return maxName + L" is less than " + minName;
        }
    } else {
        return (fixed ? fixed->GetPrintableName() : std::wstring(L"SVID_fixed")) + L" is not answered";
    }
    return {};
}

bool CPageSuper::IsFieldShownInvalid(const CParameterField& field) const {
    if (!field.PassesValidity()) {
        return true;
    }
    if (row_.id != EPage::SOPDiscovery2 && row_.id != EPage::Cables2) {
        return false;
    }
    // The two counts are red together so that the user sees which pair conflicts.
    const bool sop = row_.id == EPage::SOPDiscovery2;
    const CParameterField* min = Field(sop ? fieldname::kNumSvidsMinSop : fieldname::kCableNumSvidsMin);
    const CParameterField* max = Field(sop ? fieldname::kNumSvidsMaxSop : fieldname::kCableNumSvidsMax);
    if ((&field != min && &field != max) || !min || !max || min->IsEmpty() || max->IsEmpty()) {
        return false;
    }
    return !SvidCountProblem().empty();
}

std::wstring CPageSuper::UnitText(const CParameterField& field) const {
    for (std::size_t i = 0; i < fields_.Size() && i < row_.fields.size(); ++i) {
        if (fields_.At(i) == &field) {
            return ShownUnit(row_.fields[i], field);
        }
    }
    return {};
}

bool IsShownInvalid(const CParameterField& field) {
    // A question the user cannot edit now (not asked yet, or its answer fixed by another) is shown
    // greyed, not red: red asks for an edit that cannot be made.
    if (!field.IsAvailable() || !field.IsEnabled()) {
        return false;
    }
    const CPageSuper* page = HostPage(&field);
    return page ? page->IsFieldShownInvalid(field) : !field.PassesValidity();
}
