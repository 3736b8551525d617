#include "cli/CheckReport.h"

#include "cli/Console.h"
#include "cli/FieldReason.h"
#include "cli/ListDiagnosis.h"
#include "model/FieldList.h"
#include "sheet/PropertySheet.h"

namespace {

bool FailsCheck(const CParameterField& field) {
    return field.IsAvailable() && !field.PassesValidity();
}

} // namespace

CCheckReport::CCheckReport(const CMarnelPropertySheet& sheet) : sheet_(sheet) {
    for (const CPageSuper* page : sheet.Tabs()) {
        AddTab(*page);
    }
}

void CCheckReport::Print() const {
    for (const std::wstring& line : lines_) {
        CConsole::Out(line);
    }
}

void CCheckReport::AddTab(const CPageSuper& page) {
    if (page.AreAnswersValid()) {
        lines_.push_back(L"[ok] " + page.SectionCaption());
        return;
    }
    allValid_ = false;
    lines_.push_back(L"[invalid] " + page.SectionCaption());
    for (const CParameterField* field : page.Fields()) {
        if (FailsCheck(*field)) {
            AddProblem(field->GetPrintableName() + L": " + CFieldReason::Of(*field));
        }
    }
    const CFieldGroupList* list = nullptr;
    if (page.ListedGroupType() != 0) {
        const auto it = sheet_.GroupLists().find(page.ListedGroupType());
        list = it != sheet_.GroupLists().end() ? it->second.get() : nullptr;
    }
    if (list) {
        AddGroupFields(*list);
        for (const std::wstring& line : CListDiagnosis::Of(sheet_, *list)) {
            AddProblem(line);
        }
    }
    for (const std::wstring& problem : page.PageRuleProblems()) {
        AddProblem(problem);
    }
}

void CCheckReport::AddGroupFields(const CFieldGroupList& list) {
    for (const auto& group : list.Groups()) {
        for (const CParameterField* field : group->Fields()) {
            if (FailsCheck(*field)) {
                AddProblem(field->GetPrintableName() + L": " + CFieldReason::Of(*field));
            }
        }
        if (group->ChildList()) {
            AddGroupFields(*group->ChildList());
        }
    }
}

void CCheckReport::AddProblem(const std::wstring& text) {
    lines_.push_back(L"  " + text);
}
