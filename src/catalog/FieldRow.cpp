#include "catalog/PageCatalog.h"
#include "catalog/RuleTable.h"
#include "model/FieldList.h"

std::wstring PatternOf(const std::wstring& name) {
    std::wstring pattern = L"^";
    if (!name.empty() && name[0] == L'$') {
        pattern += L"\\";
    }
    pattern += name;
    pattern += L"$";
    return pattern;
}

bool IsPatternOf(std::wstring_view pattern, std::wstring_view name) {
    const std::wstring_view escape = !name.empty() && name[0] == L'$' ? L"\\" : L"";
    return pattern.size() == name.size() + escape.size() + 2 && pattern.front() == L'^' &&
           pattern.back() == L'$' && pattern.substr(1, escape.size()) == escape &&
           pattern.substr(1 + escape.size(), name.size()) == name;
}

std::wstring SFieldRow::Pattern() const {
    return PatternOf(name);
}

SFieldRow SFieldRow::ShownIn(std::wstring unit) && {
    shownUnit = std::move(unit);
    return std::move(*this);
}

SFieldRow SFieldRow::Rule(FieldPredicate asked, FieldPredicate accepted, FieldAction whenAvailable,
                          FieldAction onRefresh) && {
    availability = std::move(asked);
    validity = std::move(accepted);
    onAvailable = std::move(whenAvailable);
    refresh = std::move(onRefresh);
    return std::move(*this);
}

SFieldRow SFieldRow::ChoosingAmong(const COptionList& all) && {
    actionChoices = all;
    return std::move(*this);
}

const COptionList& EveryChoice(const SFieldRow& row) {
    return row.choices.empty() ? row.actionChoices : row.choices;
}

SFieldRow SFieldRow::EvaluatedAfter(const wchar_t* sibling) && {
    evaluatedFirst = sibling;
    return std::move(*this);
}

SFieldRow SFieldRow::MarksProductTypeChange() && {
    marksProductTypeChange = true;
    return std::move(*this);
}

SFieldRow SFieldRow::FilledBy(std::wstring (*text)()) && {
    filledBy = text;
    return std::move(*this);
}

std::wstring ShownUnit(const SFieldRow& row, const CParameterField& field) {
    if (row.kind != EFieldKind::Number) {
        return {};
    }
    if (!row.shownUnit.empty()) {
        return row.shownUnit;
    }
    // The under-voltage threshold's rules switch it between mV and % with its type.
    const CNumEditField* number = FieldAs<const CNumEditField>(&field);
    return number ? number->Units() : row.units;
}

SFieldRow TextField(SRowName name, std::wstring help) {
    SFieldRow s;
    s.name = std::move(name.text);
    s.kind = EFieldKind::Text;
    s.help = std::move(help);
    return s;
}

SFieldRow HexField(SRowName name, unsigned digits, std::wstring help) {
    SFieldRow s;
    s.name = std::move(name.text);
    s.kind = EFieldKind::Hex;
    s.digits = digits;
    s.help = std::move(help);
    return s;
}

SFieldRow NumberField(SRowName name, unsigned long long minimum, unsigned long long maximum,
                      std::wstring help, unsigned scale, std::wstring units, std::wstring note) {
    SFieldRow s;
    s.name = std::move(name.text);
    s.kind = EFieldKind::Number;
    s.minimum = minimum;
    s.maximum = maximum;
    s.scale = scale;
    s.units = std::move(units);
    s.note = std::move(note);
    s.help = std::move(help);
    return s;
}

SFieldRow ChoiceField(SRowName name, COptionList choices, std::wstring help) {
    SFieldRow s;
    s.name = std::move(name.text);
    s.kind = EFieldKind::Choice;
    s.choices = std::move(choices);
    s.help = std::move(help);
    return s;
}

SFieldRow YesNoField(SRowName name, std::wstring help) {
    SFieldRow s;
    s.name = std::move(name.text);
    s.kind = EFieldKind::YesNo;
    s.help = std::move(help);
    return s;
}

std::unique_ptr<CParameterField> CreateField(const SFieldRow& row, const CRuleTable& rules, CWndWrapper* host,
                                             CFieldGroup* group, EGroupType groupType) {
    if (groupType == EGroupType::None) {
        groupType = group && group->OwnerList() ? group->OwnerList()->Type() : EGroupType::Page;
    }
    const CRuleRecord& rule = rules.RecordFor(groupType, row);
    const wchar_t* note = row.note.empty() ? nullptr : row.note.c_str();
    switch (row.kind) {
    case EFieldKind::Text:
        return std::make_unique<CEditField>(host, group, rule, note, groupType);
    case EFieldKind::Hex:
        return std::make_unique<CDigitStringEditField>(host, group, rule, row.digits, 16, note, groupType);
    case EFieldKind::Number:
        return std::make_unique<CNumEditField>(host, group, rule, row.minimum, row.maximum, row.scale,
                                               row.units, note, groupType);
    case EFieldKind::Choice: {
        auto field = std::make_unique<CPulldownListField>(host, group, rule, groupType);
        field->SetOptions(row.choices);
        return field;
    }
    case EFieldKind::YesNo:
        return std::make_unique<CYesNoPulldownListField>(host, group, rule, groupType);
    }
    return nullptr;
}
