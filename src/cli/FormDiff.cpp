#include "cli/FormDiff.h"

#include "catalog/GroupTypes.h"
#include "cli/Console.h"
#include "model/FieldList.h"
#include "model/FieldNames.h"
#include "model/ParameterField.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"
#include "sheet/ReportLines.h"
#include "text/Text.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::wstring_view kChangedVerdict = L"changed";
constexpr std::wstring_view kNoAnswer = L"(none)";

// What the form would write for the field, or null when it writes no answer: the field is not
// asked, or asked and left empty.
const std::wstring* AnswerOf(const CParameterField* field) {
    if (!field || !field->IsAvailable() || field->Value().empty()) {
        return nullptr;
    }
    return &field->Value();
}

// A free-text answer in double quotes, as the file has it, so that blanks at its ends show.
std::wstring Shown(const CParameterField& field, const std::wstring* answer) {
    if (!answer) {
        return std::wstring(kNoAnswer);
    }
    return field.NamePattern().starts_with(L"^\\$") ? L"\"" + *answer + L"\"" : *answer;
}

// The field of `list` that asks the question `field` asks: two forms hold their questions in the
// same order, so it is normally the one at the same place.
const CParameterField* Counterpart(const CFieldList& list, std::size_t index, const CParameterField& field) {
    if (index < list.Size() && list.At(index)->NamePattern() == field.NamePattern()) {
        return list.At(index);
    }
    return list.FindField(field.NamePattern());
}

const CFieldGroupList* ListOf(const CMarnelPropertySheet& sheet, EGroupType type) {
    const auto found = sheet.GroupLists().find(type);
    return found == sheet.GroupLists().end() ? nullptr : found->second.get();
}

} // namespace

CFormDiff::CFormDiff(const CMarnelPropertySheet& a, const CMarnelPropertySheet& b) {
    const std::size_t pages = std::min(a.Pages().size(), b.Pages().size());
    for (std::size_t i = 0; i < pages; ++i) {
        AddPage(*a.Pages()[i], *b.Pages()[i]);
    }
}

void CFormDiff::Print(const CConsole& console) const {
    for (const std::wstring& line : lines_) {
        console.Out(line);
    }
}

void CFormDiff::AddPage(const CPageSuper& a, const CPageSuper& b) {
    tab_.clear();
    AddFields(std::wstring(), &a.Fields(), &b.Fields());
    if (const EGroupType type = a.ListedGroupType(); a.ListsGroups()) {
        AddGroups(std::wstring(), ListOf(a.Sheet(), type), ListOf(b.Sheet(), type));
    }
    if (tab_.empty()) {
        return;
    }
    lines_.push_back(ReportHeading(kChangedVerdict, a.TabLabel()));
    lines_.insert(lines_.end(), tab_.begin(), tab_.end());
}

void CFormDiff::AddFields(const std::wstring& lead, const CFieldList* a, const CFieldList* b) {
    const CFieldList& walked = a ? *a : *b;
    for (std::size_t i = 0; i < walked.Size(); ++i) {
        const CParameterField* fieldA = a ? a->At(i) : nullptr;
        const CParameterField* fieldB = !b ? nullptr : a ? Counterpart(*b, i, *fieldA) : b->At(i);
        AddField(lead, fieldA, fieldB);
    }
}

void CFormDiff::AddField(const std::wstring& lead, const CParameterField* a, const CParameterField* b) {
    const CParameterField& field = a ? *a : *b;
    // The version lines name the program that wrote the file: no answers of the product's.
    if (field.IsFilledByProgram()) {
        return;
    }
    const std::wstring* answerA = AnswerOf(a);
    const std::wstring* answerB = AnswerOf(b);
    if (answerA && answerB ? *answerA == *answerB : answerA == answerB) {
        return;
    }
    tab_.push_back(ReportDetail(lead + field.GetPrintableName() + L": " + Shown(field, answerA) + L" -> " +
                                Shown(field, answerB)));
}

void CFormDiff::AddGroups(const std::wstring& lead, const CFieldGroupList* a, const CFieldGroupList* b) {
    if (!a && !b) {
        return;
    }
    const SGroupTypeRow* row = FindGroupTypeRow((a ? a : b)->Type());
    const std::wstring item = row ? row->caption : L"Item";
    const std::size_t count = std::max(a ? a->Size() : 0, b ? b->Size() : 0);
    for (std::size_t i = 0; i < count; ++i) {
        const CFieldGroup* groupA = a && i < a->Size() ? &a->At(i) : nullptr;
        const CFieldGroup* groupB = b && i < b->Size() ? &b->At(i) : nullptr;
        AddGroup(lead + item + L" " + orvik::ToWide(i + 1), groupA, groupB);
    }
}

void CFormDiff::AddGroup(const std::wstring& caption, const CFieldGroup* a, const CFieldGroup* b) {
    if (!a || !b) {
        tab_.push_back(ReportDetail(caption + (a ? L": removed" : L": added")));
    }
    AddFields(caption + L": ", a ? &a->Fields() : nullptr, b ? &b->Fields() : nullptr);
    AddGroups(caption + L" - ", a ? a->ChildList() : nullptr, b ? b->ChildList() : nullptr);
}
