#include "cli/FieldListing.h"

#include "catalog/GroupCatalog.h"
#include "catalog/PageCatalog.h"
#include "model/Text.h"

using orvik::Format;
using orvik::ToWide;

std::vector<std::wstring> CFieldListing::Lines() {
    std::vector<std::wstring> lines;
    for (const SPageSpec& page : PageCatalog()) {
        for (const SFieldSpec& spec : page.fields) {
            lines.push_back(Line(page.sectionCaption, spec));
        }
    }
    for (int type = kSourcePdoType; type <= kCableModeType; ++type) {
        const std::wstring tab = TabOfGroupType(type);
        for (const SFieldSpec& spec : GroupFieldSpecs(type)) {
            lines.push_back(Line(tab, spec));
        }
    }
    return lines;
}

std::wstring CFieldListing::Line(const std::wstring& tab, const SFieldSpec& spec) {
    return tab + L"\t" + spec.name + L"\t" + KindText(spec) + L"\t" + ChoicesText(spec);
}

std::wstring CFieldListing::KindText(const SFieldSpec& spec) {
    switch (spec.kind) {
    case EFieldKind::Text:
        return L"text";
    case EFieldKind::Hex:
        return Format(L"hex, %u digit%s", {ToWide(spec.digits), spec.digits == 1 ? L"" : L"s"});
    case EFieldKind::Number: {
        std::wstring text = Format(L"number, range %llu-%llu, scale %u",
                                   {ToWide(spec.minimum), ToWide(spec.maximum), ToWide(spec.scale)});
        if (!spec.units.empty()) {
            text += L", units " + spec.units;
        }
        return text;
    }
    case EFieldKind::Choice:
        return L"choice";
    case EFieldKind::YesNo:
        return L"yes/no";
    }
    return std::wstring();
}

std::wstring CFieldListing::ChoicesText(const SFieldSpec& spec) {
    if (spec.kind == EFieldKind::YesNo) {
        return L"YES; NO";
    }
    if (spec.kind != EFieldKind::Choice) {
        return std::wstring();
    }
    if (spec.choices.empty()) {
        return L"(chosen from a list the other answers decide)";
    }
    std::wstring text;
    for (const COption& option : spec.choices) {
        text += (text.empty() ? L"" : L"; ") + orvik::ToWideSigned(option.first) + L"=" + option.second;
    }
    return text;
}

std::wstring CFieldListing::TabOfGroupType(int typeId) {
    // A mode is listed on the tab of the SVID that owns it.
    if (const SSvidNames* names = SvidNamesOf(typeId)) {
        typeId = names->svidTypeId;
    }
    for (const SPageSpec& page : PageCatalog()) {
        if (page.listedGroupType == typeId) {
            return page.sectionCaption;
        }
    }
    return std::wstring();
}
