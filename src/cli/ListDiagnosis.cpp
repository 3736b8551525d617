#include "cli/ListDiagnosis.h"

#include "catalog/GroupCatalog.h"
#include "catalog/GroupChecks.h"
#include "model/FieldList.h"
#include "model/Predicates.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"

#include <map>

using orvik::Format;
using orvik::ToWide;
using orvik::ToWideSigned;

namespace {

const wchar_t* ListTitle(int typeId) {
    switch (typeId) {
    case kSourcePdoType:
        return L"Source PDOs";
    case kSinkPdoType:
        return L"Sink PDOs";
    default:
        return L"SVIDs";
    }
}

const wchar_t* ItemNoun(int typeId) {
    return typeId == kSourcePdoType || typeId == kSinkPdoType ? L"PDO" : L"SVID";
}

// "PDO 2 incomplete", "modes 1, 3 incomplete".
std::wstring Incomplete(const std::wstring& noun, const std::vector<int>& numbers) {
    std::wstring text = noun;
    if (numbers.size() > 1) {
        text += L"s";
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text += (i == 0 ? L" " : L", ") + ToWideSigned(numbers[i]);
    }
    return text + L" incomplete";
}

// Groups of the same key, by their numbers, where more than one group has the key.
std::vector<std::vector<int>> SharedKeys(const std::map<long long, std::vector<int>>& numbersByKey) {
    std::vector<std::vector<int>> shared;
    for (const auto& [key, numbers] : numbersByKey) {
        if (numbers.size() > 1) {
            shared.push_back(numbers);
        }
    }
    return shared;
}

std::wstring NumberList(const std::vector<int>& numbers) {
    std::wstring text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        text += (i == 0 ? L"" : i + 1 == numbers.size() ? L" and " : L", ") + ToWideSigned(numbers[i]);
    }
    return text;
}

std::wstring PrintableOr(const CParameterField* field, const std::wstring& fallback) {
    return field ? field->GetPrintableName() : fallback;
}

} // namespace

std::vector<std::wstring> CListDiagnosis::Of(const CMarnelPropertySheet& sheet, const CFieldGroupList& list) {
    std::vector<std::wstring> lines;
    if (!list.IsListValid()) {
        lines.push_back(ListLine(sheet, list));
    }
    if (const SSvidNames* names = SvidNamesOf(list.TypeId())) {
        for (const auto& svid : list.Groups()) {
            std::wstring line = ModesLine(*names, *svid);
            if (!line.empty()) {
                lines.push_back(std::move(line));
            }
        }
    }
    return lines;
}

std::wstring CListDiagnosis::ListLine(const CMarnelPropertySheet& sheet, const CFieldGroupList& list) {
    const int type = list.TypeId();
    const SSvidNames* svidNames = SvidNamesOf(type);
    const wchar_t* countPattern = nullptr;
    if (type == kSourcePdoType) {
        countPattern = SourcePdoNames().countField;
    } else if (type == kSinkPdoType) {
        countPattern = SinkPdoNames().countField;
    } else if (svidNames) {
        countPattern = svidNames->countField;
    }

    std::vector<std::wstring> reasons;
    if (countPattern) {
        const CParameterField* count = sheet.FindField(countPattern);
        std::wstring reason = CountReason(list.Size(), PrintableOr(count, countPattern), DecimalOf(count));
        if (!reason.empty()) {
            reasons.push_back(std::move(reason));
        }
    }
    std::vector<int> incomplete;
    std::map<long long, std::vector<int>> numbersBySvid;
    for (const auto& group : list.Groups()) {
        if (!list.CheckGroup(*group)) {
            incomplete.push_back(group->InstanceNumber());
        }
        std::uint32_t value = 0;
        const CParameterField* svid = svidNames ? group->FindField(svidNames->svid) : nullptr;
        if (svid && svid->IsValid() && HexOf(svid, value)) {
            numbersBySvid[value].push_back(group->InstanceNumber());
        }
    }
    if (!incomplete.empty()) {
        reasons.push_back(Incomplete(ItemNoun(type), incomplete));
    }
    for (const std::vector<int>& numbers : SharedKeys(numbersBySvid)) {
        reasons.push_back(L"SVIDs " + NumberList(numbers) + L" have the same value");
    }
    return Format(L"%s: list incomplete%s", {ListTitle(type), Join(reasons)});
}

std::wstring CListDiagnosis::ModesLine(const SSvidNames& names, const CFieldGroup& svid) {
    const CFieldGroupList* modes = svid.ChildList();
    if (IsModeListComplete(names, svid, modes)) {
        return std::wstring();
    }
    std::vector<std::wstring> reasons;
    const CParameterField* maxModes = svid.FindField(names.maxModes);
    std::wstring count =
        CountReason(modes ? modes->Size() : 0, PrintableOr(maxModes, names.maxModes), DecimalOf(maxModes));
    if (!count.empty()) {
        reasons.push_back(std::move(count));
    }
    std::vector<int> incomplete;
    bool enterable = false;
    std::map<long long, std::vector<int>> numbersByKey;
    if (modes) {
        for (const auto& mode : modes->Groups()) {
            if (!AllAvailableFieldsValid(*mode)) {
                incomplete.push_back(mode->InstanceNumber());
            }
            enterable = enterable || IsYes(mode->FindField(names.enter));
            std::uint32_t mask = 0xFFFFFFFFu;
            std::uint32_t value = 0xFFFFFFFFu;
            const CParameterField* maskField = mode->FindField(names.recogMask);
            const CParameterField* valueField = mode->FindField(names.recogValue);
            if (!maskField || !maskField->IsValid() || !HexOf(maskField, mask)) {
                mask = 0xFFFFFFFFu;
            }
            if (!valueField || !valueField->IsValid() || !HexOf(valueField, value)) {
                value = 0xFFFFFFFFu;
            }
            numbersByKey[mask & value].push_back(mode->InstanceNumber());
        }
    }
    if (!incomplete.empty()) {
        reasons.push_back(Incomplete(L"mode", incomplete));
    }
    const int fixed = ChoiceOf(svid.FindField(names.modesFixed));
    if (IsYes(fixed) && modes && !modes->Empty() && !enterable) {
        reasons.push_back(L"no mode can be entered");
    }
    if (IsNo(fixed)) {
        for (const std::vector<int>& numbers : SharedKeys(numbersByKey)) {
            reasons.push_back(L"modes " + NumberList(numbers) + L" have the same recognition mask AND value");
        }
    }
    const CParameterField* value = svid.FindField(names.svid);
    const std::wstring title =
        value ? value->GetPrintableName() : L"SVID " + ToWideSigned(svid.InstanceNumber());
    return Format(L"%s modes: list incomplete%s", {title, Join(reasons)});
}

std::wstring CListDiagnosis::CountReason(std::size_t defined, const std::wstring& countName,
                                         long long count) {
    if (count < 0) {
        return countName + L" is not answered";
    }
    if (static_cast<unsigned long long>(count) == defined) {
        return std::wstring();
    }
    return Format(L"%s defined but %s is %s", {ToWide(defined), countName, ToWideSigned(count)});
}

std::wstring CListDiagnosis::Join(const std::vector<std::wstring>& reasons) {
    std::wstring text;
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        text += (i == 0 ? L": " : L"; ") + reasons[i];
    }
    return text;
}
