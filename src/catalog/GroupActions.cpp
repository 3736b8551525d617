#include "catalog/GroupActions.h"
#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/FieldNames.h"
#include "model/FieldValues.h"
#include "model/Predicates.h"
#include "text/Text.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

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

// A field's own bound, as its row gave it.
int RangeBound(unsigned long long value) {
    return static_cast<int>(std::min<unsigned long long>(value, std::numeric_limits<int>::max()));
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
    std::wstring Words() const {
        return QuestionWords(minimum_) + L" is below " + QuestionWords(maximum_) + L" by at least one step";
    }

private:
    const wchar_t* minimum_;
    const wchar_t* maximum_;
};

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
    std::wstring Words() const {
        return QuestionWords(names_.maxModes) + L" is at least " + QuestionWords(names_.minModes) +
               L", and equal to it while " + IsWords(names_.modesFixed, {YN_YES}, true);
    }

private:
    const SSvidNames& names_;
};

// ---- actions ----

// The steps a PDO's number is stated in: supply type 3's own, or the other types' one. The range
// stays the one the field was made with.
class CSupplyTypeSteps {
public:
    CSupplyTypeSteps(const wchar_t* supplyType, unsigned step, unsigned apdoStep, bool rescale)
        : supplyType_(supplyType), step_(step), apdoStep_(apdoStep), rescale_(rescale) {}
    void operator()(CParameterField* field) const {
        auto* number = FieldCast<CNumEditField>(field);
        const int type = GetParentAs<CPulldownListField>(field, supplyType_)->GetIntValue();
        if (type < ST_FIXED || type > ST_APDO) {
            return;
        }
        const unsigned scale = type == ST_APDO ? apdoStep_ : step_;
        if (number->Scale() == scale) {
            return;
        }
        number->SetRangeAndScale(RangeBound(number->Minimum()), RangeBound(number->Maximum()), scale,
                                 rescale_);
    }

    std::vector<std::wstring> Reads() const { return {supplyType_}; }
    std::wstring Words() const {
        return L"stored in steps of " + orvik::ToWide(apdoStep_) + L" when " +
               IsWords(supplyType_, {ST_APDO}) + L", of " + orvik::ToWide(step_) + L" otherwise";
    }

private:
    const wchar_t* supplyType_;
    unsigned step_;
    unsigned apdoStep_;
    bool rescale_;
};

// The over-current threshold starts at the PDO's maximum current.
class COcThresholdRange {
public:
    COcThresholdRange(const wchar_t* maxCurrent, bool rescale) : maxCurrent_(maxCurrent), rescale_(rescale) {}
    void operator()(CParameterField* field) const {
        auto* number = FieldCast<CNumEditField>(field);
        const long long current = DecimalOf(GetParentAs<CNumEditField>(field, maxCurrent_));
        if (current == static_cast<long long>(number->Minimum())) {
            return;
        }
        number->SetRangeAndScale(RangeBound(current), RangeBound(number->Maximum()), number->Scale(),
                                 rescale_);
    }

    std::vector<std::wstring> Reads() const { return {maxCurrent_}; }
    std::wstring Words() const { return L"at least " + QuestionWords(maxCurrent_); }

private:
    const wchar_t* maxCurrent_;
    bool rescale_;
};

// An under-voltage threshold is a voltage up to 95 % of the PDO's, or a percentage.
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
    std::wstring Words() const {
        return L"from 800 mV to 95 % of " + QuestionWords(voltage_) + L" when " +
               IsWords(thresholdType_, {0}) + L", from 0 to 95 % when " + IsWords(thresholdType_, {1}) +
               L"; cleared otherwise";
    }

private:
    const wchar_t* thresholdType_;
    const wchar_t* voltage_;
    bool rescale_;
};

// The mode counts wait for the answer whether the modes are fixed.
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
    std::wstring Words() const {
        return L"cleared and greyed while " + QuestionWords(modesFixed_) + L" is unanswered";
    }

private:
    const wchar_t* modesFixed_;
};

} // namespace

namespace grouprules {

FieldPredicate SupplyTypeIs(const wchar_t* supplyType, std::initializer_list<ESupplyType> types) {
    return IsParentValue<ESupplyType>(supplyType, types);
}

FieldPredicate MinBelowMax(const wchar_t* minimum, const wchar_t* maximum) {
    return CMinBelowMax(minimum, maximum);
}

const FieldPredicate IsNonZeroHex(L"it is a hexadecimal number other than 0", {},
                                  [](const CParameterField* field) {
                                      std::uint32_t n = 0;
                                      return field && field->IsValid() && HexOf(field, n) && n != 0;
                                  });

FieldPredicate ModeCountIsConsistent(const SSvidNames& names) {
    return CModeCountCheck(names);
}

const FieldAction ForceFirstPdoFixed(L"set to 0 : Fixed for the first PDO", {}, [](CParameterField* field) {
    if (InstanceOf(field) == 1) {
        field->Force(L"0");
    }
});

const FieldAction ForceFirstPdoFiveVolts(L"set to 5000 mV for the first PDO", {}, [](CParameterField* field) {
    if (InstanceOf(field) == 1) {
        field->Force(L"5000");
    }
});

FieldAction VoltageSteps(const wchar_t* supplyType, bool rescale) {
    return CSupplyTypeSteps(supplyType, 50, 100, rescale);
}

FieldAction CurrentSteps(const wchar_t* supplyType, bool rescale) {
    return CSupplyTypeSteps(supplyType, 10, 50, rescale);
}

FieldAction OcThresholdRange(const wchar_t* maxCurrent, bool rescale) {
    return COcThresholdRange(maxCurrent, rescale);
}

FieldAction UvThresholdRange(const wchar_t* thresholdType, const wchar_t* voltage, bool rescale) {
    return CUvThresholdRange(thresholdType, voltage, rescale);
}

FieldAction CountsWaitForModesFixed(const wchar_t* modesFixed) {
    return CCountsWaitForModesFixed(modesFixed);
}

} // namespace grouprules
