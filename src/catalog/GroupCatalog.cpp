#include "catalog/GroupCatalog.h"
#include "catalog/GroupActions.h"
#include "catalog/PageActions.h"
#include "model/FieldNames.h"

#include "model/NamePattern.h"

#include <map>

namespace {

// clang-format off

using namespace fieldname;
using namespace grouprules;

const COptionList kSupplyTypes = {{0, L"Fixed"}, {1, L"Battery"}, {2, L"Variable"}};
// The over-current threshold's upper bound: its range and the words of its tip.
constexpr unsigned kOcThresholdLimit = 10000;

std::vector<SFieldRow> SourcePdoFields() {
    const COptionList kPeakCurrents     = {{0, L"100% IOC"}, {1, L"130% IOC"}, {2, L"150% IOC"}, {3, L"200% IOC"}};
    const COptionList kUvThresholdTypes = {{0, L"Value"}, {1, L"Percentage"}};
    const std::wstring kOcThresholdHelp = L"Valid values are in the range Src_PDO_Max_Current to " + std::to_wstring(kOcThresholdLimit) + L" mA.";

    const FieldPredicate pdSource     = pagerules::SharedConditions().pdSource;
    const FieldPredicate fixed        = SupplyTypeIs(kSrcPdoSupplyType, {ST_FIXED});
    const FieldPredicate withCurrent  = SupplyTypeIs(kSrcPdoSupplyType, {ST_FIXED, ST_VARIABLE, ST_APDO});
    const FieldPredicate withRange    = SupplyTypeIs(kSrcPdoSupplyType, {ST_BATTERY, ST_VARIABLE, ST_APDO});
    const FieldPredicate battery      = SupplyTypeIs(kSrcPdoSupplyType, {ST_BATTERY});
    const FieldPredicate overCurrent  = pagerules::And(IsValidButNotParentValue<EPDOCPMethod>(kPdOcpMethod, OCP_UNDER_VOLTAGE), fixed);
    const FieldPredicate underVoltage = pagerules::And(IsValidButNotParentValue<EPDOCPMethod>(kPdOcpMethod, OCP_OVER_CURRENT), fixed);
    const FieldPredicate uvThreshold  = pagerules::And(underVoltage, IsParentValidValue(kSrcUvThresholdType));
    const FieldPredicate minBelowMax  = MinBelowMax(kSrcPdoMinVoltage, kSrcPdoMaxVoltage);

    // The file's comments spell the debounce times' milliseconds "mS"; the user reads ms.
    //                                                                                                                                               availability  validity     on available            refresh
    return MoveRows({
        ChoiceField(kSrcPdoSupplyType,   kSupplyTypes,                     L"The supply type of this Source PDO.")                                    .Rule(pdSource,     {},          ForceFirstPdoFixed,     {}),
        ChoiceField(kSrcPdoPeakCurrent,  kPeakCurrents,                    L"Peak current (over the value of Src_PDO_Voltage) the UUT may provide for short periods.").Rule(fixed, {}, {}, {}),
        NumberField(kSrcPdoVoltage,      0, 20000,                         L"Output voltage.",                                        50,  L"mV")     .Rule(fixed,        {},          ForceFirstPdoFiveVolts, {}),
        NumberField(kSrcPdoMaxCurrent,   0, 5000,                          L"Maximum operating current.",                             10,  L"mA")     .Rule(withCurrent,  {},          CurrentSteps(kSrcPdoSupplyType, false), CurrentSteps(kSrcPdoSupplyType, true)),
        NumberField(kSrcPdoMinVoltage,   0, 21000,                         L"This field must be less than Src_PDO_Max_Voltage.",      50,  L"mV")     .Rule(withRange,    minBelowMax, VoltageSteps(kSrcPdoSupplyType, false), VoltageSteps(kSrcPdoSupplyType, true)),
        NumberField(kSrcPdoMaxVoltage,   0, 21000,                         L"This field must be greater than Src_PDO_Min_Voltage.",   50,  L"mV")     .Rule(withRange,    minBelowMax, VoltageSteps(kSrcPdoSupplyType, false), VoltageSteps(kSrcPdoSupplyType, true)),
        NumberField(kSrcPdoMaxPower,     0, 100000,                        L"Power supplied.",                                        250, L"mW")     .Rule(battery,      {},          {},                     {}),
        NumberField(kSrcOcDebounce,      0, 1000,                          L"Over-current debounce time in milliseconds.",            1,   L"mS").ShownIn(L"ms").Rule(overCurrent, {}, {}, {}),
        NumberField(kSrcOcThreshold,     0, kOcThresholdLimit,             kOcThresholdHelp,                                          10,  L"mA")     .Rule(overCurrent,  {},          OcThresholdRange(kSrcPdoMaxCurrent, false), OcThresholdRange(kSrcPdoMaxCurrent, true)),
        NumberField(kSrcUvDebounce,      0, 1000,                          L"Under-voltage debounce time in milliseconds.",           1,   L"mS").ShownIn(L"ms").Rule(underVoltage, {}, {}, {}),
        ChoiceField(kSrcUvThresholdType, kUvThresholdTypes,                L"How the under-voltage threshold is given.")                              .Rule(underVoltage, {},          {},                     {}),
        NumberField(kSrcUvThreshold,     0, 0,                             L"Under-voltage threshold.",                               1,   L"")       .Rule(uvThreshold,  {},          UvThresholdRange(kSrcUvThresholdType, kSrcPdoVoltage, false), UvThresholdRange(kSrcUvThresholdType, kSrcPdoVoltage, true)),
    });
}

std::vector<SFieldRow> SinkPdoFields() {
    const FieldPredicate pdSink      = pagerules::SharedConditions().pdSink;
    const FieldPredicate fixed       = SupplyTypeIs(kSnkPdoSupplyType, {ST_FIXED});
    const FieldPredicate withCurrent = SupplyTypeIs(kSnkPdoSupplyType, {ST_FIXED, ST_VARIABLE, ST_APDO});
    const FieldPredicate withRange   = SupplyTypeIs(kSnkPdoSupplyType, {ST_BATTERY, ST_VARIABLE, ST_APDO});
    const FieldPredicate battery     = SupplyTypeIs(kSnkPdoSupplyType, {ST_BATTERY});
    const FieldPredicate minBelowMax = MinBelowMax(kSnkPdoMinVoltage, kSnkPdoMaxVoltage);
    //                                                                                                                    availability validity     on available            refresh
    return MoveRows({
        ChoiceField(kSnkPdoSupplyType, kSupplyTypes, L"The supply type of this Sink PDO.")                                .Rule(pdSink,      {},          ForceFirstPdoFixed,     {}),
        NumberField(kSnkPdoVoltage,    0, 20000,     L"Voltage required to operate at least one mode of operation.",    50,  L"mV").Rule(fixed,       {},          ForceFirstPdoFiveVolts, {}),
        NumberField(kSnkPdoOpPower,    0, 100000,    L"Operating power required.",                                      250, L"mW").Rule(battery,     {},          {},                     {}),
        NumberField(kSnkPdoMinVoltage, 0, 21000,     L"Minimum voltage; the absolute voltage shall not fall below it.", 50,  L"mV").Rule(withRange,   minBelowMax, VoltageSteps(kSnkPdoSupplyType, false), VoltageSteps(kSnkPdoSupplyType, true)),
        NumberField(kSnkPdoMaxVoltage, 0, 21000,     L"Maximum voltage; the absolute voltage shall not exceed it.",     50,  L"mV").Rule(withRange,   minBelowMax, VoltageSteps(kSnkPdoSupplyType, false), VoltageSteps(kSnkPdoSupplyType, true)),
        NumberField(kSnkPdoOpCurrent,  0, 5000,      L"Operating current required.",                                    10,  L"mA").Rule(withCurrent, {},          CurrentSteps(kSnkPdoSupplyType, false), CurrentSteps(kSnkPdoSupplyType, true)),
    });
}

const wchar_t kSvidHelp[]     = L"This is a 4-digit hexadecimal number, which must not be equal to zero. This value must be unique across all SVIDs for this UUT.";
const wchar_t kFixedHelp[]    = L"Is the mode list of this SVID fixed and in order?";
const wchar_t kMinModesHelp[] = L"Valid values are in the range 1 - 6.";
const wchar_t kMaxModesHelp[] = L"The largest number of modes ever announced for this SVID. It must match the number of modes defined below.";
const wchar_t kEnterHelp[]    = L"If this field is set to 'YES', then it must be possible to Enter and Exit the associated mode.";
const wchar_t kMaskHelp[]     = L"A non-zero 32-bit mask which, with the recognition value, identifies the mode.";
const wchar_t kValueHelp[]    = L"A 32-bit value which, with the mask, identifies the mode.";

// What the questions of one SVID family read: an SVID is asked while its page's modal operation is
// supported; its mode counts wait for whether the modes are fixed, which also decides a mode's.
struct SSvidRules {
    explicit SSvidRules(const SSvidNames& n)
        : modal(IsParentYNYes(n.modalOperation)), counts(ModeCountIsConsistent(n)),
          countsWait(CountsWaitForModesFixed(n.modesFixed)), fixedModes(IsParentYNYes(n.modesFixed)),
          freeModes(IsParentYNNo(n.modesFixed)) {}
    FieldPredicate modal, counts;
    FieldAction countsWait;
    FieldPredicate fixedModes, freeModes;
};

std::vector<SFieldRow> SopSvidFields() {
    const SSvidRules r(SopSvidNames());
    //                                                                   availability validity      on available  refresh
    return MoveRows({
        HexField   (kSopSvid,        4,    kSvidHelp)    .Rule(r.modal,   IsNonZeroHex, {},           {}),
        YesNoField (kSopModesFixed,        kFixedHelp)   .Rule(r.modal,   {},           {},           {}),
        NumberField(kSopNumModesMin, 1, 6, kMinModesHelp).Rule(r.modal,   r.counts,     r.countsWait, {}),
        NumberField(kSopNumModesMax, 1, 6, kMaxModesHelp).Rule(r.modal,   r.counts,     r.countsWait, {}),
    });
}

std::vector<SFieldRow> SopModeFields() {
    const SSvidRules r(SopSvidNames());
    return MoveRows({
        YesNoField(kSopModeEnter,         kEnterHelp).Rule(r.fixedModes, {},           {}, {}),
        HexField  (kSopModeRecogMask,  8, kMaskHelp) .Rule(r.freeModes,  IsNonZeroHex, {}, {}),
        HexField  (kSopModeRecogValue, 8, kValueHelp).Rule(r.freeModes,  {},           {}, {}),
    });
}

std::vector<SFieldRow> CableSvidFields() {
    const SSvidRules r(CableSvidNames());
    return MoveRows({
        HexField   (kCableSvid,        4,    kSvidHelp)    .Rule(r.modal, IsNonZeroHex, {},           {}),
        YesNoField (kCableModesFixed,        kFixedHelp)   .Rule(r.modal, {},           {},           {}),
        NumberField(kCableNumModesMin, 1, 6, kMinModesHelp).Rule(r.modal, r.counts,     r.countsWait, {}),
        NumberField(kCableNumModesMax, 1, 6, kMaxModesHelp).Rule(r.modal, r.counts,     r.countsWait, {}),
    });
}

std::vector<SFieldRow> CableModeFields() {
    const SSvidRules r(CableSvidNames());
    return MoveRows({
        YesNoField(kCableModeEnter,         kEnterHelp).Rule(r.fixedModes, {},           {}, {}),
        HexField  (kCableModeRecogMask,  8, kMaskHelp) .Rule(r.freeModes,  IsNonZeroHex, {}, {}),
        HexField  (kCableModeRecogValue, 8, kValueHelp).Rule(r.freeModes,  {},           {}, {}),
    });
}

// clang-format on

} // namespace

const SPdoNames& SourcePdoNames() {
    static const SPdoNames names = {
        EGroupType::SourcePdo,        fieldname::kSrcPdoSupplyType, fieldname::kSrcPdoPeakCurrent,
        fieldname::kSrcPdoVoltage,    fieldname::kSrcPdoMaxCurrent, fieldname::kSrcPdoMaxPower,
        fieldname::kSrcPdoMinVoltage, fieldname::kSrcPdoMaxVoltage, fieldname::kNumSrcPdos,
    };
    return names;
}

const SPdoNames& SinkPdoNames() {
    static const SPdoNames names = {
        EGroupType::SinkPdo,          fieldname::kSnkPdoSupplyType, nullptr,
        fieldname::kSnkPdoVoltage,    fieldname::kSnkPdoOpCurrent,  fieldname::kSnkPdoOpPower,
        fieldname::kSnkPdoMinVoltage, fieldname::kSnkPdoMaxVoltage, fieldname::kNumSnkPdos,
    };
    return names;
}

const SSvidNames& SopSvidNames() {
    static const SSvidNames names = {
        EGroupType::SopSvid,           EGroupType::SopMode,        fieldname::kModalOperationSop,
        fieldname::kSopSvid,           fieldname::kSopModesFixed,  fieldname::kSopNumModesMin,
        fieldname::kSopNumModesMax,    fieldname::kSopModeEnter,   fieldname::kSopModeRecogMask,
        fieldname::kSopModeRecogValue, fieldname::kNumSvidsMaxSop,
    };
    return names;
}

const SSvidNames& CableSvidNames() {
    static const SSvidNames names = {
        EGroupType::CableSvid,           EGroupType::CableMode,        fieldname::kModalOperationCable,
        fieldname::kCableSvid,           fieldname::kCableModesFixed,  fieldname::kCableNumModesMin,
        fieldname::kCableNumModesMax,    fieldname::kCableModeEnter,   fieldname::kCableModeRecogMask,
        fieldname::kCableModeRecogValue, fieldname::kCableNumSvidsMax,
    };
    return names;
}

const SSvidNames* SvidNamesOf(EGroupType type) {
    const SGroupTypeRow* row = FindGroupTypeRow(type);
    if (!row || row->kind == EGroupKind::Pdo) {
        return nullptr;
    }
    const EGroupType svid = row->kind == EGroupKind::Mode ? row->owner : type;
    return svid == EGroupType::SopSvid ? &SopSvidNames() : &CableSvidNames();
}

const SPdoNames* PdoNamesOf(EGroupType type) {
    switch (type) {
    case EGroupType::SourcePdo:
        return &SourcePdoNames();
    case EGroupType::SinkPdo:
        return &SinkPdoNames();
    default:
        return nullptr;
    }
}

const std::vector<SFieldRow>& GroupFieldRows(EGroupType type) {
    // Moved in, not listed: a braced list would copy every row. Never destroyed, as the page rows.
    static const std::map<EGroupType, std::vector<SFieldRow>>& catalog = *[] {
        auto* rows = new std::map<EGroupType, std::vector<SFieldRow>>;
        rows->emplace(EGroupType::SourcePdo, SourcePdoFields());
        rows->emplace(EGroupType::SinkPdo, SinkPdoFields());
        rows->emplace(EGroupType::SopSvid, SopSvidFields());
        rows->emplace(EGroupType::SopMode, SopModeFields());
        rows->emplace(EGroupType::CableSvid, CableSvidFields());
        rows->emplace(EGroupType::CableMode, CableModeFields());
        return rows;
    }();
    static const std::vector<SFieldRow> none;
    auto it = catalog.find(type);
    return it == catalog.end() ? none : it->second;
}

const SFieldRow* FindGroupFieldRow(EGroupType type, const std::wstring& name) {
    for (const SFieldRow& row : GroupFieldRows(type)) {
        if (row.Pattern() == name || CNamePattern(row.Pattern()).Match(name)) {
            return &row;
        }
    }
    return nullptr;
}
