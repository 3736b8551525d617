#include "catalog/GroupChecks.h"
#include "model/FieldNames.h"

#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "model/ParameterField.h"
#include "model/Predicates.h"
#include "text/Text.h"

#include <set>

using orvik::Format;
using orvik::ToWideSigned;

namespace {

template <class T> const T* FieldOf(const CFieldGroup& group, const wchar_t* pattern) {
    return pattern ? FieldAs<const T>(group.FindField(pattern)) : nullptr;
}

// The list's count field on the page around it, read as decimal.
long long PageCount(const CFieldGroupList& list, const wchar_t* countField) {
    const CFieldList* scope = list.EnclosingList();
    return scope ? DecimalOf(scope->FindFieldInScope(countField)) : -1;
}

} // namespace

const CParameterField& OwningModesFixed(const CFieldGroup& mode) {
    const CFieldGroupList* owner = mode.OwnerList();
    const SSvidNames* names = owner ? SvidNamesOf(owner->Type()) : nullptr;
    const std::wstring wanted = names ? names->modesFixed : L"modes fixed";
    const CFieldGroup* svid = owner ? owner->OwnerGroup() : nullptr;
    const CParameterField* fixed = (svid && names) ? svid->FindField(names->modesFixed) : nullptr;
    if (!fixed) {
        throw fieldlist_error(Format(L"Couldn't find expected parent field: %s.", {wanted}));
    }
    return *fixed;
}

// ---- checks ----

bool AllAvailableFieldsValid(const CFieldGroup& group) {
    for (const CParameterField* f : group.Fields()) {
        if (!f->PassesValidity()) {
            return false;
        }
    }
    return true;
}

bool IsPdoComplete(const SPdoNames& names, const CFieldGroup& pdo) {
    if (!AllAvailableFieldsValid(pdo)) {
        return false;
    }
    const int supplyType = ChoiceOf(pdo.FindField(names.supplyType));
    if (supplyType == ST_APDO &&
        ChoiceOf(pdo.Fields().FindFieldInScope(fieldname::kPdSpecificationRevision)) != PDREV_30) {
        return false;
    }
    if (pdo.InstanceNumber() == 1) {
        return supplyType == ST_FIXED && DecimalOf(pdo.FindField(names.voltage)) == 5000;
    }
    return true;
}

bool IsPdoListComplete(const SPdoNames& names, const CFieldGroupList& list) {
    for (const auto& pdo : list.Groups()) {
        if (!IsPdoComplete(names, *pdo)) {
            return false;
        }
    }
    return PageCount(list, names.countField) == static_cast<long long>(list.Size());
}

bool IsSvidComplete(const SSvidNames& names, const CFieldGroup& svid) {
    return AllAvailableFieldsValid(svid) && IsModeListComplete(names, svid, svid.ChildList());
}

bool IsSvidListComplete(const SSvidNames& names, const CFieldGroupList& list) {
    std::set<long long> seen;
    for (const auto& svid : list.Groups()) {
        if (!IsSvidComplete(names, *svid)) {
            return false;
        }
        const CParameterField* value = svid->FindField(names.svid);
        std::uint32_t n = 0;
        const long long key = (value && value->IsValid() && HexOf(value, n)) ? static_cast<long long>(n) : -1;
        if (!seen.insert(key).second) {
            return false;
        }
    }
    return PageCount(list, names.countField) == static_cast<long long>(list.Size());
}

bool IsModeListComplete(const SSvidNames& names, const CFieldGroup& svid, const CFieldGroupList* modes) {
    const std::size_t count = modes ? modes->Size() : 0;
    if (modes) {
        for (const auto& mode : modes->Groups()) {
            if (!AllAvailableFieldsValid(*mode)) {
                return false;
            }
        }
    }
    if (DecimalOf(svid.FindField(names.maxModes)) != static_cast<long long>(count)) {
        return false;
    }
    if (!modes) {
        return true;
    }
    const int fixed = ChoiceOf(svid.FindField(names.modesFixed));
    if (IsYes(fixed)) {
        for (const auto& mode : modes->Groups()) {
            if (IsYes(mode->FindField(names.enter))) {
                return true;
            }
        }
        return false;
    }
    if (IsNo(fixed)) {
        std::set<std::uint32_t> keys;
        for (const auto& mode : modes->Groups()) {
            const CParameterField* mask = mode->FindField(names.recogMask);
            const CParameterField* value = mode->FindField(names.recogValue);
            std::uint32_t m = 0xFFFFFFFFu;
            std::uint32_t v = 0xFFFFFFFFu;
            if (!mask || !mask->IsValid() || !HexOf(mask, m)) {
                m = 0xFFFFFFFFu;
            }
            if (!value || !value->IsValid() || !HexOf(value, v)) {
                v = 0xFFFFFFFFu;
            }
            if (!keys.insert(m & v).second) {
                return false;
            }
        }
    }
    return true;
}

// ---- summary lines ----

std::wstring PdoSummary(const SPdoNames& names, const CFieldGroup& pdo) {
    const bool source = names.peakCurrent != nullptr;
    const auto* supply = FieldOf<CPulldownListField>(pdo, names.supplyType);
    const std::wstring item = GroupTypeRow(names.type).shortName;
    const std::wstring number = ToWideSigned(pdo.InstanceNumber());
    const std::wstring label = CPulldownListField::SummaryText(supply);
    const std::wstring voltage = CNumEditField::SummaryText(FieldOf<CNumEditField>(pdo, names.voltage));
    const std::wstring current = CNumEditField::SummaryText(FieldOf<CNumEditField>(pdo, names.current));
    const std::wstring power = CNumEditField::SummaryText(FieldOf<CNumEditField>(pdo, names.power));
    const std::wstring minVoltage = CNumEditField::SummaryText(FieldOf<CNumEditField>(pdo, names.minVoltage));
    const std::wstring maxVoltage = CNumEditField::SummaryText(FieldOf<CNumEditField>(pdo, names.maxVoltage));
    switch (supply ? supply->GetIntValue() : -1) {
    case ST_FIXED:
        if (source) {
            const std::wstring peak =
                CPulldownListField::SummaryText(FieldOf<CPulldownListField>(pdo, names.peakCurrent));
            return Format(L"%s %d - %s: Peak Current=%s, Voltage=%s, Max Current=%s",
                          {item, number, label, peak, voltage, current});
        }
        return Format(L"%s %d - %s: Voltage=%s, Op Current=%s", {item, number, label, voltage, current});
    case ST_BATTERY:
        return Format(source ? L"%s %d - %s: Min Voltage=%s, Max Voltage=%s, Max Power=%s"
                             : L"%s %d - %s: Min Voltage=%s, Max Voltage=%s, Op Power=%s",
                      {item, number, label, minVoltage, maxVoltage, power});
    case ST_VARIABLE:
    case ST_APDO:
        return Format(source ? L"%s %d - %s: Min Voltage=%s, Max Voltage=%s, Max Current=%s"
                             : L"%s %d - %s: Min Voltage=%s, Max Voltage=%s, Op Current=%s",
                      {item, number, label, minVoltage, maxVoltage, current});
    default:
        return Format(L"%s %d - %s", {item, number, label});
    }
}

std::wstring SvidSummary(const SSvidNames& names, const CFieldGroup& svid) {
    return Format(L"%s %d - %s: min modes=%s, max modes=%s, modes fixed: %s",
                  {GroupTypeRow(names.svidType).shortName, ToWideSigned(svid.InstanceNumber()),
                   CDigitStringEditField::SummaryText(FieldOf<CDigitStringEditField>(svid, names.svid)),
                   CNumEditField::SummaryText(FieldOf<CNumEditField>(svid, names.minModes)),
                   CNumEditField::SummaryText(FieldOf<CNumEditField>(svid, names.maxModes)),
                   CPulldownListField::SummaryText(FieldOf<CPulldownListField>(svid, names.modesFixed))});
}

std::wstring ModeSummary(const SSvidNames& names, const CFieldGroup& mode) {
    const std::wstring item = GroupTypeRow(names.modeType).shortName;
    const std::wstring number = ToWideSigned(mode.InstanceNumber());
    const CParameterField* fixed = &OwningModesFixed(mode);
    if (IsYes(fixed)) {
        const CParameterField* enter = mode.FindField(names.enter);
        return Format(L"%s %d: Enter=%s", {item, number, enter ? enter->Value() : L"--"});
    }
    if (IsNo(fixed)) {
        return Format(
            L"%s %d: Recog Mask=%s, Recog Value=%s",
            {item, number,
             CDigitStringEditField::SummaryText(FieldOf<CDigitStringEditField>(mode, names.recogMask)),
             CDigitStringEditField::SummaryText(FieldOf<CDigitStringEditField>(mode, names.recogValue))});
    }
    return L"<Invalid mode>";
}

void AttachGroupChecks(CGroupPrototype& prototype) {
    const EGroupType type = prototype.type;
    const SGroupTypeRow* row = FindGroupTypeRow(type);
    if (!row) {
        return;
    }
    switch (row->kind) {
    case EGroupKind::Pdo: {
        const SPdoNames& names = *PdoNamesOf(type);
        prototype.summary = [&names](const CFieldGroup& pdo) { return PdoSummary(names, pdo); };
        prototype.groupCheck = [&names](const CFieldGroup& pdo) { return IsPdoComplete(names, pdo); };
        prototype.listCheck = [&names](const CFieldGroupList& list) {
            return IsPdoListComplete(names, list);
        };
        break;
    }
    case EGroupKind::Svid: {
        const SSvidNames& names = *SvidNamesOf(type);
        prototype.summary = [&names](const CFieldGroup& svid) { return SvidSummary(names, svid); };
        prototype.groupCheck = [&names](const CFieldGroup& svid) { return IsSvidComplete(names, svid); };
        prototype.listCheck = [&names](const CFieldGroupList& list) {
            return IsSvidListComplete(names, list);
        };
        break;
    }
    case EGroupKind::Mode: {
        const SSvidNames& names = *SvidNamesOf(type);
        prototype.summary = [&names](const CFieldGroup& mode) { return ModeSummary(names, mode); };
        prototype.groupCheck = AllAvailableFieldsValid;
        prototype.listCheck = [&names](const CFieldGroupList& modes) {
            return modes.OwnerGroup() != nullptr && IsModeListComplete(names, *modes.OwnerGroup(), &modes);
        };
        break;
    }
    }
}
