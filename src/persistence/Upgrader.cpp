#include "persistence/Upgrader.h"
#include "model/FieldNames.h"

#include "logging/Logger.h"
#include "model/FieldKinds.h"
#include "model/NamePattern.h"
#include "sheet/PropertySheet.h"
#include "text/NameIndex.h"
#include "text/Text.h"

#include <iterator>
#include <string_view>
#include <vector>

namespace {

// Names that older versions wrote and this one no longer has.
constexpr CFieldName kOldProductName = L"$Product_Name";
constexpr CFieldName kOldVersionInfo = L"$Version_Info";
constexpr CFieldName kOldExternallyPowered = L"Externally_Powered";
constexpr CFieldName kOldHostSpeed = L"Type_C_Host_Speed";
constexpr CFieldName kOldDeviceSpeed = L"Type_C_Device_Speed";
constexpr CFieldName kOldBatteryPowered = L"Type_C_Battery_Powered";
constexpr CFieldName kOldBc12Support = L"Type_C_BC_1_2_Support";
constexpr CFieldName kOldProductTypeSop = L"Product_Type_SOP";
constexpr CFieldName kOldDeviceType = L"UUT_Device_Type";
constexpr CFieldName kOldAltModeDevice = L"Type_C_Is_Alt_Mode_Device";

// In the order they are tried.
const wchar_t* const kOldNames[] = {
    kOldProductName,    kOldVersionInfo, kOldExternallyPowered, kOldHostSpeed,  kOldDeviceSpeed,
    kOldBatteryPowered, kOldBc12Support, kOldProductTypeSop,    kOldDeviceType, kOldAltModeDevice,
};

struct SRename {
    const wchar_t* oldPattern;
    const wchar_t* newPattern;
};

// clang-format off
const SRename kRenames[] = {
    {kOldProductName,       fieldname::kModelPartNumber},
    {kOldVersionInfo,       fieldname::kProductRevision},
    {kOldExternallyPowered, fieldname::kUnconstrainedPower},
    {kOldHostSpeed,         fieldname::kHostSpeed},
    {kOldDeviceSpeed,       fieldname::kDeviceSpeed},
    {kOldBatteryPowered,    fieldname::kPortBatteryPowered},
    {kOldBc12Support,       fieldname::kBc12Support},
    {kOldProductTypeSop,    fieldname::kProductTypeUfpSop},
    {kOldAltModeDevice,     fieldname::kAltModeAdapter},
};

// UUT_Device_Type n split into product type, connector type, USB PD support and PD port type;
// nullptr is the empty value and kPortTypeIsN the old value itself.
const wchar_t* const kPortTypeIsN = L"n";
struct SSplitRow {
    const wchar_t* productType;
    const wchar_t* connectorType;
    const wchar_t* usbPdSupport;
    const wchar_t* pdPortType;
};
const SSplitRow kSplitPortN      = {L"0",     L"2",     L"YES",   kPortTypeIsN};
const SSplitRow kSplitCable      = {L"1",     nullptr,  L"YES",   nullptr};
const SSplitRow kSplitPortNoPd   = {L"0",     L"2",     L"NO",    nullptr};
const SSplitRow kSplitUnknown    = {nullptr,  nullptr,  nullptr,  nullptr};
// clang-format on

// The fields of a split row, in the row's order.
const wchar_t* const kSplitTargets[] = {fieldname::kOrvikProductType, fieldname::kConnectorType,
                                        fieldname::kUsbPdSupport, fieldname::kPdPortType};

const SSplitRow& SplitRowFor(std::uint32_t n, bool isNumber) {
    if (!isNumber || n >= 7) {
        return kSplitUnknown;
    }
    if (n <= 4) {
        return kSplitPortN;
    }
    return n == 5 ? kSplitCable : kSplitPortNoPd;
}

} // namespace

std::wstring PrintableNameOfPattern(const std::wstring& pattern) {
    std::size_t start = 0;
    while (start < pattern.size()) {
        const wchar_t c = pattern[start];
        const bool keep = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                          c == L'$' || c == L'\'';
        if (keep) {
            break;
        }
        ++start;
    }
    std::wstring name = pattern.substr(start);
    const std::size_t dollar = name.rfind(L'$');
    if (dollar != std::wstring::npos && dollar >= 2) {
        name.erase(dollar);
    }
    return name;
}

namespace {

// The retired name that `name` (with its lookup keys) is, or null.
const CNamePattern* RetiredPatternOf(const std::wstring& name, const SNameKeys& keys) {
    // Never destroyed, as the program's other tables.
    static const std::vector<CNamePattern>& parsed =
        *new std::vector<CNamePattern>(std::begin(kOldNames), std::end(kOldNames));
    // A retired name is one name: it is looked up by its upper case, as the page fields are, and
    // every entry of a current file is a miss at the cost of one probe.
    static const orvik::CNameIndex& literals = *[] {
        auto* index = new orvik::CNameIndex;
        for (std::size_t i = 0; i < parsed.size(); ++i) {
            if (parsed[i].IsLiteral()) {
                index->Emplace(parsed[i].UpperLiteralText(), i);
            }
        }
        return index;
    }();
    // The others, matched one by one before the literal one found (the first match counts).
    static const std::vector<std::size_t>& others = *[] {
        auto* positions = new std::vector<std::size_t>;
        for (std::size_t i = 0; i < parsed.size(); ++i) {
            if (!parsed[i].IsLiteral()) {
                positions->push_back(i);
            }
        }
        return positions;
    }();
    const std::size_t literal = literals.Find(keys.Upper());
    for (std::size_t i : others) {
        if (i > literal) {
            break;
        }
        if (parsed[i].Match(name)) {
            return &parsed[i];
        }
    }
    return literal < parsed.size() ? &parsed[literal] : nullptr;
}

} // namespace

bool CUpgrader::IsRetiredName(const std::wstring& name) {
    SNameKeys keys;
    return IsRetiredName(name, keys.Of(name));
}

bool CUpgrader::IsRetiredName(const std::wstring& name, const SNameKeys& keys) {
    return RetiredPatternOf(name, keys) != nullptr;
}

bool CUpgrader::CollectOldEntry(const COrvikEntry& entry) {
    SNameKeys keys;
    return CollectOldEntry(entry, keys.Of(entry.Name()));
}

bool CUpgrader::CollectOldEntry(const COrvikEntry& entry, const SNameKeys& keys) {
    if (entry.count != 1) {
        return false;
    }
    if (const CNamePattern* oldPattern = RetiredPatternOf(entry.Name(), keys)) {
        const std::wstring& oldName = oldPattern->Pattern();
        Log(orvik::Format(L"\"%s\" is not a valid field in this version of the Orvik.  It will be upgraded "
                          L"to the current version.",
                          {entry.Name()}));
        map_[oldName] = entry.first;
        return true;
    }
    return false;
}

void CUpgrader::ApplyUpgrades(CMarnelPropertySheet& sheet) {
    if (map_.empty()) {
        return;
    }
    for (const SRename& rename : kRenames) {
        auto it = map_.find(rename.oldPattern);
        if (it == map_.end()) {
            continue;
        }
        const std::wstring value = it->second.value;
        map_.erase(it);
        map_[rename.newPattern] = COccurrence{PrintableNameOfPattern(rename.newPattern), value};
    }

    if (auto it = map_.find(kOldDeviceType); it != map_.end()) {
        std::uint32_t n = 0;
        const bool isNumber = TryTextToUnsigned(it->second.value, n);
        const std::wstring oldValue = isNumber ? orvik::ToWide(n) : std::wstring();
        map_.erase(it);
        const SSplitRow& row = SplitRowFor(n, isNumber);
        auto store = [&](const wchar_t* pattern, const wchar_t* value) {
            std::wstring text = value == nullptr ? std::wstring() : value == kPortTypeIsN ? oldValue : value;
            map_[pattern] = COccurrence{PrintableNameOfPattern(pattern), std::move(text)};
        };
        const wchar_t* const values[] = {row.productType, row.connectorType, row.usbPdSupport,
                                         row.pdPortType};
        for (std::size_t i = 0; i < std::size(kSplitTargets); ++i) {
            store(kSplitTargets[i], values[i]);
        }
    }

    for (const auto& [pattern, occurrence] : map_) {
        CParameterField* field = sheet.FindField(pattern);
        if (!field) {
            Log(orvik::Format(L"Upgrading: couldn't find field \"%s\" to upgrade to.", {occurrence.name}));
            continue;
        }
        field->SetValue(occurrence.value);
        field->SetFileEntry(occurrence.name, occurrence.value);
    }
}

std::vector<SRetiredField> RetiredFields() {
    std::vector<SRetiredField> fields;
    for (const wchar_t* oldName : kOldNames) {
        SRetiredField field{PrintableNameOfPattern(oldName), {}};
        for (const SRename& rename : kRenames) {
            if (std::wstring_view(rename.oldPattern) == oldName) {
                field.currentNames.push_back(PrintableNameOfPattern(rename.newPattern));
            }
        }
        if (std::wstring_view(oldName) == kOldDeviceType) {
            for (const wchar_t* target : kSplitTargets) {
                field.currentNames.push_back(PrintableNameOfPattern(target));
            }
        }
        fields.push_back(std::move(field));
    }
    return fields;
}
