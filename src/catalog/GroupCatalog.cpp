#include "catalog/GroupCatalog.h"
#include "model/FieldNames.h"

#include "model/NamePattern.h"

#include <map>

namespace {

// clang-format off

const COptionList kSupplyTypes = {{0, L"Fixed"}, {1, L"Battery"}, {2, L"Variable"}};

std::vector<SFieldRow> SourcePdoFields() {
    const COptionList kPeakCurrents     = {{0, L"100% IOC"}, {1, L"130% IOC"}, {2, L"150% IOC"}, {3, L"200% IOC"}};
    const COptionList kUvThresholdTypes = {{0, L"Value"}, {1, L"Percentage"}};
    // The file's comments spell the debounce times' milliseconds "mS"; the user reads ms.
    return {
        ChoiceField(L"Src_PDO_Supply_Type([0-9]+)",          kSupplyTypes,            L"The supply type of this Source PDO."),
        ChoiceField(L"Src_PDO_Peak_Current([0-9]+)",         kPeakCurrents,           L"Peak current (over the value of Src_PDO_Voltage) the UUT may provide for short periods."),
        NumberField(L"Src_PDO_Voltage([0-9]+)",              0, 20000,                L"Output voltage.",                                                       50,  L"mV"),
        NumberField(L"Src_PDO_Max_Current([0-9]+)",          0, 5000,                 L"Maximum operating current.",                                            10,  L"mA"),
        NumberField(L"Src_PDO_Min_Voltage([0-9]+)",          0, 21000,                L"This field must be less than Src_PDO_Max_Voltage.",                     50,  L"mV"),
        NumberField(L"Src_PDO_Max_Voltage([0-9]+)",          0, 21000,                L"This field must be greater than Src_PDO_Min_Voltage.",                  50,  L"mV"),
        NumberField(L"Src_PDO_Max_Power([0-9]+)",            0, 100000,               L"Power supplied.",                                                       250, L"mW"),
        NumberField(L"Src_PD_OCP_OC_Debounce([0-9]+)",       0, 1000,                 L"Over-current debounce time in milliseconds.",                           1,   L"mS").ShownIn(L"ms"),
        NumberField(L"Src_PD_OCP_OC_Threshold([0-9]+)",      0, 10000,                L"Valid values are in the range Src_PDO_Max_Current to 10000 mA.",        10,  L"mA"),
        NumberField(L"Src_PD_OCP_UV_Debounce([0-9]+)",       0, 1000,                 L"Under-voltage debounce time in milliseconds.",                          1,   L"mS").ShownIn(L"ms"),
        ChoiceField(L"Src_PD_OCP_UV_Threshold_Type([0-9]+)", kUvThresholdTypes,       L"How the under-voltage threshold is given."),
        NumberField(L"Src_PD_OCP_UV_Threshold([0-9]+)",      0, 0,                    L"Under-voltage threshold.",                                              1,   L""),
    };
}

std::vector<SFieldRow> SinkPdoFields() {
    return {
        ChoiceField(L"Snk_PDO_Supply_Type([0-9]+)", kSupplyTypes, L"The supply type of this Sink PDO."),
        NumberField(L"Snk_PDO_Voltage([0-9]+)",     0, 20000,     L"Voltage required to operate at least one mode of operation.",       50,  L"mV"),
        NumberField(L"Snk_PDO_Op_Power([0-9]+)",    0, 100000,    L"Operating power required.",                                         250, L"mW"),
        NumberField(L"Snk_PDO_Min_Voltage([0-9]+)", 0, 21000,     L"Minimum voltage; the absolute voltage shall not fall below it.",    50,  L"mV"),
        NumberField(L"Snk_PDO_Max_Voltage([0-9]+)", 0, 21000,     L"Maximum voltage; the absolute voltage shall not exceed it.",        50,  L"mV"),
        NumberField(L"Snk_PDO_Op_Current([0-9]+)",  0, 5000,      L"Operating current required.",                                       10,  L"mA"),
    };
}

const wchar_t kSvidHelp[]     = L"This is a 4-digit hexadecimal number, which must not be equal to zero. This value must be unique across all SVIDs for this UUT.";
const wchar_t kFixedHelp[]    = L"Is the mode list of this SVID fixed and in order?";
const wchar_t kMinModesHelp[] = L"Valid values are in the range 1 - 6.";
const wchar_t kMaxModesHelp[] = L"The largest number of modes ever announced for this SVID. It must match the number of modes defined below.";
const wchar_t kEnterHelp[]    = L"If this field is set to 'YES', then it must be possible to Enter and Exit the associated mode.";
const wchar_t kMaskHelp[]     = L"A non-zero 32-bit mask which, with the recognition value, identifies the mode.";
const wchar_t kValueHelp[]    = L"A 32-bit value which, with the mask, identifies the mode.";

std::vector<SFieldRow> SopSvidFields() {
    return {
        HexField   (L"SVID([0-9]+)_SOP",               4,    kSvidHelp),
        YesNoField (L"SVID([0-9]+)_modes_fixed_SOP",         kFixedHelp),
        NumberField(L"SVID([0-9]+)_num_modes_min_SOP", 1, 6, kMinModesHelp),
        NumberField(L"SVID([0-9]+)_num_modes_max_SOP", 1, 6, kMaxModesHelp),
    };
}

std::vector<SFieldRow> SopModeFields() {
    return {
        YesNoField(L"SVID([0-9]+)_mode([0-9]+)_enter_SOP",          kEnterHelp),
        HexField  (L"SVID([0-9]+)_mode([0-9]+)_recog_mask_SOP",  8, kMaskHelp),
        HexField  (L"SVID([0-9]+)_mode([0-9]+)_recog_value_SOP", 8, kValueHelp),
    };
}

std::vector<SFieldRow> CableSvidFields() {
    return {
        HexField   (L"SVID([0-9]+)",               4,    kSvidHelp),
        YesNoField (L"SVID([0-9]+)_modes_fixed",         kFixedHelp),
        NumberField(L"SVID([0-9]+)_num_modes_min", 1, 6, kMinModesHelp),
        NumberField(L"SVID([0-9]+)_num_modes_max", 1, 6, kMaxModesHelp),
    };
}

std::vector<SFieldRow> CableModeFields() {
    return {
        YesNoField(L"SVID([0-9]+)_mode([0-9]+)_enter",          kEnterHelp),
        HexField  (L"SVID([0-9]+)_mode([0-9]+)_recog_mask",  8, kMaskHelp),
        HexField  (L"SVID([0-9]+)_mode([0-9]+)_recog_value", 8, kValueHelp),
    };
}

// clang-format on

} // namespace

const SPdoNames& SourcePdoNames() {
    static const SPdoNames names = {
        EGroupType::SourcePdo,
        L"^Src_PDO_Supply_Type([0-9]+)$",
        L"^Src_PDO_Peak_Current([0-9]+)$",
        L"^Src_PDO_Voltage([0-9]+)$",
        L"^Src_PDO_Max_Current([0-9]+)$",
        L"^Src_PDO_Max_Power([0-9]+)$",
        L"^Src_PDO_Min_Voltage([0-9]+)$",
        L"^Src_PDO_Max_Voltage([0-9]+)$",
        fieldname::kNumSrcPdos,
    };
    return names;
}

const SPdoNames& SinkPdoNames() {
    static const SPdoNames names = {
        EGroupType::SinkPdo,
        L"^Snk_PDO_Supply_Type([0-9]+)$",
        nullptr,
        L"^Snk_PDO_Voltage([0-9]+)$",
        L"^Snk_PDO_Op_Current([0-9]+)$",
        L"^Snk_PDO_Op_Power([0-9]+)$",
        L"^Snk_PDO_Min_Voltage([0-9]+)$",
        L"^Snk_PDO_Max_Voltage([0-9]+)$",
        fieldname::kNumSnkPdos,
    };
    return names;
}

const SSvidNames& SopSvidNames() {
    static const SSvidNames names = {
        EGroupType::SopSvid,
        EGroupType::SopMode,
        fieldname::kModalOperationSop,
        L"^SVID([0-9]+)_SOP$",
        L"^SVID([0-9]+)_modes_fixed_SOP$",
        L"^SVID([0-9]+)_num_modes_min_SOP$",
        L"^SVID([0-9]+)_num_modes_max_SOP$",
        L"^SVID([0-9]+)_mode([0-9]+)_enter_SOP$",
        L"^SVID([0-9]+)_mode([0-9]+)_recog_mask_SOP$",
        L"^SVID([0-9]+)_mode([0-9]+)_recog_value_SOP$",
        fieldname::kNumSvidsMaxSop,
    };
    return names;
}

const SSvidNames& CableSvidNames() {
    static const SSvidNames names = {
        EGroupType::CableSvid,
        EGroupType::CableMode,
        fieldname::kModalOperationCable,
        L"^SVID([0-9]+)$",
        L"^SVID([0-9]+)_modes_fixed$",
        L"^SVID([0-9]+)_num_modes_min$",
        L"^SVID([0-9]+)_num_modes_max$",
        L"^SVID([0-9]+)_mode([0-9]+)_enter$",
        L"^SVID([0-9]+)_mode([0-9]+)_recog_mask$",
        L"^SVID([0-9]+)_mode([0-9]+)_recog_value$",
        fieldname::kCableNumSvidsMax,
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
    static const std::map<EGroupType, std::vector<SFieldRow>> catalog = {
        {EGroupType::SourcePdo, SourcePdoFields()}, {EGroupType::SinkPdo, SinkPdoFields()},
        {EGroupType::SopSvid, SopSvidFields()},     {EGroupType::SopMode, SopModeFields()},
        {EGroupType::CableSvid, CableSvidFields()}, {EGroupType::CableMode, CableModeFields()},
    };
    static const std::vector<SFieldRow> none;
    auto it = catalog.find(type);
    return it == catalog.end() ? none : it->second;
}

const std::vector<SFieldRow>& GroupFieldRows(int typeId) {
    return GroupFieldRows(GroupTypeOf(typeId));
}

const SFieldRow* FindGroupFieldRow(int typeId, const std::wstring& name) {
    for (const SFieldRow& row : GroupFieldRows(typeId)) {
        if (row.Pattern() == name || CNamePattern(row.Pattern()).Match(name)) {
            return &row;
        }
    }
    return nullptr;
}
