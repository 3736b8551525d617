#include "cli/FieldListing.h"

#include "catalog/GroupCatalog.h"
#include "catalog/PageCatalog.h"
#include "text/Text.h"

using orvik::Format;
using orvik::ToWide;

std::vector<std::wstring> CFieldListing::Lines() {
    std::vector<std::wstring> lines;
    for (const SPageRow& page : PageCatalog()) {
        for (const SFieldRow& row : page.fields) {
            lines.push_back(Line(page.sectionCaption, row));
        }
    }
    for (const SGroupTypeRow& group : GroupTypeRows()) {
        const std::wstring tab = TabOfGroupType(group.type);
        for (const SFieldRow& row : GroupFieldRows(group.type)) {
            lines.push_back(Line(tab, row));
        }
    }
    return lines;
}

std::wstring CFieldListing::Line(const std::wstring& tab, const SFieldRow& row) {
    return tab + L"\t" + row.name + L"\t" + KindText(row) + L"\t" + ChoicesText(row) + L"\t" + RuleText(row);
}

std::wstring CFieldListing::RuleText(const SFieldRow& row) {
    // An empty condition or check is the rule table's default.
    std::wstring text =
        row.availability ? L"asked when " + row.availability.Words() : std::wstring(L"always asked");
    text += L"; valid when " +
            (row.validity ? row.validity.Words() : std::wstring(L"its kind accepts the answer"));
    if (row.onAvailable) {
        text += L"; when asked: " + row.onAvailable.Words();
    }
    return text;
}

std::wstring CFieldListing::KindText(const SFieldRow& row) {
    switch (row.kind) {
    case EFieldKind::Text:
        return L"text";
    case EFieldKind::Hex:
        return Format(L"hex, %u digit%s", {ToWide(row.digits), row.digits == 1 ? L"" : L"s"});
    case EFieldKind::Number: {
        std::wstring text = Format(L"number, range %llu-%llu, scale %u",
                                   {ToWide(row.minimum), ToWide(row.maximum), ToWide(row.scale)});
        if (!row.units.empty()) {
            text += L", units " + row.units;
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

std::wstring CFieldListing::ChoicesText(const SFieldRow& row) {
    if (row.kind == EFieldKind::YesNo) {
        return L"YES; NO";
    }
    if (row.kind != EFieldKind::Choice) {
        return std::wstring();
    }
    if (row.choices.empty()) {
        return L"(chosen from a list the other answers decide)";
    }
    std::wstring text;
    for (const COption& option : row.choices) {
        text += (text.empty() ? L"" : L"; ") + orvik::ToWideSigned(option.first) + L"=" + option.second;
    }
    return text;
}

std::wstring CFieldListing::TabOfGroupType(EGroupType type) {
    // A mode is listed on the tab of the SVID that owns it.
    const EGroupType listed = GroupTypeRow(type).kind == EGroupKind::Mode ? GroupTypeRow(type).owner : type;
    for (const SPageRow& page : PageCatalog()) {
        if (page.listedGroupType == listed) {
            return page.sectionCaption;
        }
    }
    return std::wstring();
}
