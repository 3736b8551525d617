#include "catalog/GroupCatalog.h"
#include "catalog/GroupChecks.h"
#include "catalog/PageActions.h"
#include "catalog/RuleTable.h"
#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/FieldNames.h"
#include "model/Predicates.h"
#include "text/Text.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

using pagerules::And;

const wchar_t* const kOcpMethod = fieldname::kPdOcpMethod;
const wchar_t* const kSrcOcDebounce = L"^Src_PD_OCP_OC_Debounce([0-9]+)$";
const wchar_t* const kSrcOcThreshold = L"^Src_PD_OCP_OC_Threshold([0-9]+)$";
const wchar_t* const kSrcUvDebounce = L"^Src_PD_OCP_UV_Debounce([0-9]+)$";
const wchar_t* const kSrcUvThresholdType = L"^Src_PD_OCP_UV_Threshold_Type([0-9]+)$";
const wchar_t* const kSrcUvThreshold = L"^Src_PD_OCP_UV_Threshold([0-9]+)$";

CRuleRecord Rule(const wchar_t* pattern, FieldPredicate availability, FieldPredicate validity,
                 FieldAction onAvailable, FieldAction refresh) {
    return CRuleRecord{pattern, std::move(availability), std::move(validity), std::move(onAvailable),
                       std::move(refresh)};
}

// The same group's field of another name; a field outside a group, or a group without it, is a
// fieldlist_error.
const CParameterField& Sibling(const CParameterField* field, const wchar_t* pattern) {
    if (!field) {
        throw fieldlist_error(L"const CParameterField arg is NULL.");
    }
    const CParameterField* sibling = field->Group() ? field->Group()->FindField(pattern) : nullptr;
    if (!sibling) {
        throw fieldlist_error(
            orvik::Format(L"Field %s does not have parent %s.", {field->NamePattern(), pattern}));
    }
    return *sibling;
}

// A bound taken from another answer, held to what a range can carry: a huge answer in a file gives
// a huge bound, never a wrapped, negative one.
int RangeBound(long long value) {
    return static_cast<int>(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int InstanceOf(const CParameterField* field) {
    return field->Group() ? field->Group()->InstanceNumber() : 0;
}

// ---- validity ----

// Of the pair of voltages, the minimum must stay below the maximum in whole steps of the scale. A
// partner that holds no number yet shows as its own fault, not as this field's.
class CMinBelowMax {
public:
    CMinBelowMax(const wchar_t* minimum, const wchar_t* maximum) : minimum_(minimum), maximum_(maximum) {}
    bool operator()(const CParameterField* field) const {
        const auto* self = FieldCast<CNumEditField>(field);
        if (!self->IsValid()) {
            return false;
        }
        const bool isMinimum = field->NamePattern() == minimum_;
        const long long partner = DecimalOf(&Sibling(field, isMinimum ? maximum_ : minimum_));
        if (partner < 0) {
            return true;
        }
        const long long own = DecimalOf(field);
        const long long scale = self->Scale() == 0 ? 1 : self->Scale();
        const long long minSteps = (isMinimum ? own : partner) / scale;
        const long long maxSteps = (isMinimum ? partner : own) / scale;
        return minSteps < maxSteps;
    }

private:
    const wchar_t* minimum_;
    const wchar_t* maximum_;
};

// An SVID or a recognition mask of all zeros identifies nothing.
bool IsNonZeroHex(const CParameterField* field) {
    std::uint32_t n = 0;
    return field && field->IsValid() && HexOf(field, n) && n != 0;
}

// The smallest and largest number of modes of one SVID: max at least min, equal when fixed.
class CModeCountCheck {
public:
    explicit CModeCountCheck(const SSvidNames& names) : names_(names) {}
    bool operator()(const CParameterField* field) const {
        if (!field || !field->IsValid()) {
            return false;
        }
        const bool isMinimum = field->NamePattern() == names_.minModes;
        const CParameterField& partner = Sibling(field, isMinimum ? names_.maxModes : names_.minModes);
        if (partner.IsEmpty()) {
            return true;
        }
        const long long own = DecimalOf(field);
        const long long other = DecimalOf(&partner);
        if (other < 0) {
            return true;
        }
        const long long minimum = isMinimum ? own : other;
        const long long maximum = isMinimum ? other : own;
        if (IsYes(ChoiceOf(&Sibling(field, names_.modesFixed)))) {
            return maximum == minimum;
        }
        return maximum >= minimum;
    }

private:
    const SSvidNames& names_;
};

// ---- actions ----

// G1: the first PDO of a list is always a Fixed supply.
void ForceFirstPdoFixed(CParameterField* field) {
    if (InstanceOf(field) == 1) {
        field->Force(L"0");
    }
}

// G2: the first PDO is always the 5 V supply.
void ForceFirstPdoFiveVolts(CParameterField* field) {
    if (InstanceOf(field) == 1) {
        field->Force(L"5000");
    }
}

// G3: supply type 3 states its voltages in 100 mV steps, the others in 50 mV steps.
class CVoltageSteps {
public:
    CVoltageSteps(const wchar_t* supplyType, bool rescale) : supplyType_(supplyType), rescale_(rescale) {}
    void operator()(CParameterField* field) const {
        auto* number = FieldCast<CNumEditField>(field);
        const int type = GetParentAs<CPulldownListField>(field, supplyType_)->GetIntValue();
        if (type < ST_FIXED || type > ST_APDO) {
            return;
        }
        const unsigned scale = type == ST_APDO ? 100 : 50;
        if (number->Maximum() == 21000 && number->Scale() == scale) {
            return;
        }
        number->SetRangeAndScale(0, 21000, scale, rescale_);
    }

    std::vector<std::wstring> Reads() const { return {supplyType_}; }

private:
    const wchar_t* supplyType_;
    bool rescale_;
};

// G4: supply type 3 states its currents in 50 mA steps, the others in 10 mA steps.
class CCurrentSteps {
public:
    CCurrentSteps(const wchar_t* supplyType, bool rescale) : supplyType_(supplyType), rescale_(rescale) {}
    void operator()(CParameterField* field) const {
        auto* number = FieldCast<CNumEditField>(field);
        const int type = GetParentAs<CPulldownListField>(field, supplyType_)->GetIntValue();
        if (type < ST_FIXED || type > ST_APDO) {
            return;
        }
        const unsigned scale = type == ST_APDO ? 50 : 10;
        if (number->Scale() == scale) {
            return;
        }
        number->SetRangeAndScale(0, 5000, scale, rescale_);
    }

    std::vector<std::wstring> Reads() const { return {supplyType_}; }

private:
    const wchar_t* supplyType_;
    bool rescale_;
};

// G5: the over-current threshold starts at the PDO's maximum current.
class COcThresholdRange {
public:
    COcThresholdRange(const wchar_t* maxCurrent, bool rescale) : maxCurrent_(maxCurrent), rescale_(rescale) {}
    void operator()(CParameterField* field) const {
        auto* number = FieldCast<CNumEditField>(field);
        const long long current = DecimalOf(GetParentAs<CNumEditField>(field, maxCurrent_));
        if (current == static_cast<long long>(number->Minimum())) {
            return;
        }
        number->SetRangeAndScale(RangeBound(current), 10000, number->Scale(), rescale_);
    }

    std::vector<std::wstring> Reads() const { return {maxCurrent_}; }

private:
    const wchar_t* maxCurrent_;
    bool rescale_;
};

// G6: an under-voltage threshold is a voltage up to 95 % of the PDO's, or a percentage.
class CUvThresholdRange {
public:
    CUvThresholdRange(const wchar_t* thresholdType, const wchar_t* voltage, bool rescale)
        : thresholdType_(thresholdType), voltage_(voltage), rescale_(rescale) {}
    void operator()(CParameterField* field) const {
        auto* number = FieldCast<CNumEditField>(field);
        const int type = GetParentAs<CPulldownListField>(field, thresholdType_)->GetIntValue();
        const long long voltage = DecimalOf(GetParentAs<CNumEditField>(field, voltage_));
        if (type == 0 && voltage >= 0) {
            number->SetRangeAndScale(800, RangeBound(voltage / 100 * 95 + voltage % 100 * 95 / 100), 10,
                                     rescale_);
            number->SetUnits(L"mV");
        } else if (type == 1) {
            number->SetRangeAndScale(0, 95, 1, rescale_);
            number->SetUnits(L"%");
        } else {
            number->SetUnits(L"");
            number->SetValue(L"");
        }
    }

    std::vector<std::wstring> Reads() const { return {thresholdType_, voltage_}; }

private:
    const wchar_t* thresholdType_;
    const wchar_t* voltage_;
    bool rescale_;
};

// G7: the mode counts wait for the answer whether the modes are fixed.
class CCountsWaitForModesFixed {
public:
    explicit CCountsWaitForModesFixed(const wchar_t* modesFixed) : modesFixed_(modesFixed) {}
    void operator()(CParameterField* field) const {
        if (!GetParentAs<CYesNoPulldownListField>(field, modesFixed_)->Value().empty()) {
            return;
        }
        field->SetValue(L"");
        field->SetEnabled(false);
    }

    std::vector<std::wstring> Reads() const { return {modesFixed_}; }

private:
    const wchar_t* modesFixed_;
};

template <class E> FieldPredicate SupplyTypeIs(const wchar_t* supplyType, std::initializer_list<E> types) {
    return IsParentValue<E>(supplyType, types);
}

void AddSvidRules(CRuleGroup& group, const SSvidNames& names) {
    const FieldPredicate modal = IsParentYNYes(names.modalOperation);
    const FieldPredicate counts = CModeCountCheck(names);
    const FieldAction g7 = CCountsWaitForModesFixed(names.modesFixed);
    // clang-format off
    group.Add(Rule(names.svid,       modal, IsNonZeroHex, {}, {}));
    group.Add(Rule(names.modesFixed, modal, {},           {}, {}));
    group.Add(Rule(names.minModes,   modal, counts,       g7, {}));
    group.Add(Rule(names.maxModes,   modal, counts,       g7, {}));
    // clang-format on
}

void AddModeRules(CRuleGroup& group, const SSvidNames& names) {
    // clang-format off
    group.Add(Rule(names.enter,      IsParentYNYes(names.modesFixed), {},           {}, {}));
    group.Add(Rule(names.recogMask,  IsParentYNNo(names.modesFixed),  IsNonZeroHex, {}, {}));
    group.Add(Rule(names.recogValue, IsParentYNNo(names.modesFixed),  {},           {}, {}));
    // clang-format on
}

} // namespace

void AddSourcePdoRules(CRuleGroup& group) {
    const SPdoNames& n = SourcePdoNames();
    // clang-format off
    const FieldPredicate pdSource     = pagerules::SharedConditions().pdSource;
    const FieldPredicate fixed        = SupplyTypeIs<ESupplyType>(n.supplyType, {ST_FIXED});
    const FieldPredicate withCurrent  = SupplyTypeIs<ESupplyType>(n.supplyType, {ST_FIXED, ST_VARIABLE, ST_APDO});
    const FieldPredicate withRange    = SupplyTypeIs<ESupplyType>(n.supplyType, {ST_BATTERY, ST_VARIABLE, ST_APDO});
    const FieldPredicate battery      = SupplyTypeIs<ESupplyType>(n.supplyType, {ST_BATTERY});
    const FieldPredicate overCurrent  = And(IsValidButNotParentValue<EPDOCPMethod>(kOcpMethod, OCP_UNDER_VOLTAGE), fixed);
    const FieldPredicate underVoltage = And(IsValidButNotParentValue<EPDOCPMethod>(kOcpMethod, OCP_OVER_CURRENT), fixed);
    const FieldPredicate uvThreshold  = And(underVoltage, IsParentValidValue(kSrcUvThresholdType));
    const FieldPredicate minBelowMax  = CMinBelowMax(n.minVoltage, n.maxVoltage);

    const FieldAction g3        = CVoltageSteps(n.supplyType, false);
    const FieldAction g3Rescale = CVoltageSteps(n.supplyType, true);
    const FieldAction g4        = CCurrentSteps(n.supplyType, false);
    const FieldAction g4Rescale = CCurrentSteps(n.supplyType, true);
    const FieldAction g5        = COcThresholdRange(n.current, false);
    const FieldAction g5Rescale = COcThresholdRange(n.current, true);
    const FieldAction g6        = CUvThresholdRange(kSrcUvThresholdType, n.voltage, false);
    const FieldAction g6Rescale = CUvThresholdRange(kSrcUvThresholdType, n.voltage, true);

    //             field                availability  validity     on available            refresh
    group.Add(Rule(n.supplyType,        pdSource,     {},          ForceFirstPdoFixed,     {}));
    group.Add(Rule(n.peakCurrent,       fixed,        {},          {},                     {}));
    group.Add(Rule(n.voltage,           fixed,        {},          ForceFirstPdoFiveVolts, {}));
    group.Add(Rule(n.current,           withCurrent,  {},          g4,                     g4Rescale));
    group.Add(Rule(n.minVoltage,        withRange,    minBelowMax, g3,                     g3Rescale));
    group.Add(Rule(n.maxVoltage,        withRange,    minBelowMax, g3,                     g3Rescale));
    group.Add(Rule(n.power,             battery,      {},          {},                     {}));
    group.Add(Rule(kSrcOcDebounce,      overCurrent,  {},          {},                     {}));
    group.Add(Rule(kSrcOcThreshold,     overCurrent,  {},          g5,                     g5Rescale));
    group.Add(Rule(kSrcUvDebounce,      underVoltage, {},          {},                     {}));
    group.Add(Rule(kSrcUvThresholdType, underVoltage, {},          {},                     {}));
    group.Add(Rule(kSrcUvThreshold,     uvThreshold,  {},          g6,                     g6Rescale));
    // clang-format on
}

void AddSinkPdoRules(CRuleGroup& group) {
    const SPdoNames& n = SinkPdoNames();
    // clang-format off
    const FieldPredicate pdSink      = pagerules::SharedConditions().pdSink;
    const FieldPredicate fixed       = SupplyTypeIs<ESupplyType>(n.supplyType, {ST_FIXED});
    const FieldPredicate withCurrent = SupplyTypeIs<ESupplyType>(n.supplyType, {ST_FIXED, ST_VARIABLE, ST_APDO});
    const FieldPredicate withRange   = SupplyTypeIs<ESupplyType>(n.supplyType, {ST_BATTERY, ST_VARIABLE, ST_APDO});
    const FieldPredicate battery     = SupplyTypeIs<ESupplyType>(n.supplyType, {ST_BATTERY});
    const FieldPredicate minBelowMax = CMinBelowMax(n.minVoltage, n.maxVoltage);

    const FieldAction g3        = CVoltageSteps(n.supplyType, false);
    const FieldAction g3Rescale = CVoltageSteps(n.supplyType, true);
    const FieldAction g4        = CCurrentSteps(n.supplyType, false);
    const FieldAction g4Rescale = CCurrentSteps(n.supplyType, true);

    //             field         availability validity     on available            refresh
    group.Add(Rule(n.supplyType, pdSink,      {},          ForceFirstPdoFixed,     {}));
    group.Add(Rule(n.voltage,    fixed,       {},          ForceFirstPdoFiveVolts, {}));
    group.Add(Rule(n.current,    withCurrent, {},          g4,                     g4Rescale));
    group.Add(Rule(n.power,      battery,     {},          {},                     {}));
    group.Add(Rule(n.minVoltage, withRange,   minBelowMax, g3,                     g3Rescale));
    group.Add(Rule(n.maxVoltage, withRange,   minBelowMax, g3,                     g3Rescale));
    // clang-format on
}

void AddSopSvidRules(CRuleGroup& group) {
    AddSvidRules(group, SopSvidNames());
}
void AddSopModeRules(CRuleGroup& group) {
    AddModeRules(group, SopSvidNames());
}
void AddCableSvidRules(CRuleGroup& group) {
    AddSvidRules(group, CableSvidNames());
}
void AddCableModeRules(CRuleGroup& group) {
    AddModeRules(group, CableSvidNames());
}
