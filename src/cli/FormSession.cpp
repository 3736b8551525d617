#include "cli/FormSession.h"
#include "model/FieldNames.h"

#include "cli/CliError.h"
#include "model/FieldList.h"
#include "model/ParameterField.h"
#include "persistence/OrvikReader.h"
#include "text/Text.h"

using orvik::Format;

namespace {

CParameterField* FindByPrintableName(const CFieldGroupList& list, const std::wstring& name) {
    for (const auto& group : list.Groups()) {
        for (CParameterField* field : group->Fields()) {
            if (orvik::EqualsIgnoreCase(field->GetPrintableName(), name)) {
                return field;
            }
        }
        if (group->ChildList()) {
            if (CParameterField* field = FindByPrintableName(*group->ChildList(), name)) {
                return field;
            }
        }
    }
    return nullptr;
}

[[noreturn]] void Refuse(const std::wstring& name, const std::wstring& why) {
    throw CCliError(EExitCode::Failure, Format(L"cannot set %s: %s", {name, why}));
}

} // namespace

CFormSession::CFormSession(IPrompt& prompt) : sheet_(&prompt) {
    // Review flags track what a window has shown; without a window every answer counts as seen.
    sheet_.SetReviewFlagsEnabled(false);
    sheet_.Initialize();
}

bool CFormSession::Load(const std::wstring& path) {
    if (!LoadOrvik(sheet_, path)) {
        return false;
    }
    EvaluateAll();
    return true;
}

void CFormSession::EvaluateAll() {
    if (sheet_.FieldVector().Empty()) {
        return;
    }
    UpdateAvailability(sheet_.FieldVector().At(0), sheet_.FormState());
    sheet_.Reevaluate(0, {.initial = true});
}

CParameterField* CFormSession::FieldOfNewGroups(const std::wstring& name) {
    // New items learn which of their questions are asked; a list whose tab does not apply is
    // emptied again, so the field is looked up afresh.
    EvaluateAll();
    for (const auto& [type, list] : sheet_.GroupLists()) {
        if (CParameterField* field = FindByPrintableName(*list, name)) {
            return field;
        }
    }
    return nullptr;
}

CParameterField& CFormSession::Question(const std::wstring& name) {
    if (CParameterField* field = sheet_.FindField(name)) {
        return *field;
    }
    for (const auto& [type, list] : sheet_.GroupLists()) {
        if (CParameterField* field = FindByPrintableName(*list, name)) {
            return *field;
        }
    }
    if (!FindOrCreateGroupField(sheet_, name)) {
        throw CCliError(EExitCode::Failure, Format(L"no question %s", {name}));
    }
    CParameterField* field = FieldOfNewGroups(name);
    if (!field) {
        throw CCliError(EExitCode::Failure,
                        Format(L"%s: not asked with these answers, nor is its list", {name}));
    }
    return *field;
}

void CFormSession::Set(const std::wstring& name, const std::wstring& value) {
    CParameterField* field = sheet_.FindField(name);
    if (!field) {
        if (!FindOrCreateGroupField(sheet_, name)) {
            Refuse(name, L"no such field");
        }
        field = FieldOfNewGroups(name);
        if (!field) {
            Refuse(name, L"not asked with the answers given so far");
        }
    }
    const std::wstring printable = field->GetPrintableName();
    if (field->IsFilledByProgram()) {
        Refuse(printable, L"filled in by the program");
    }
    if (!field->IsAvailable()) {
        Refuse(printable, L"not asked with the answers given so far");
    }
    if (!field->IsEnabled()) {
        Refuse(printable, Format(L"fixed at \"%s\" by the other answers", {field->Value()}));
    }
    // Every answer is one line of the file.
    if (value.find_first_of(L"\r\n") != std::wstring::npos) {
        Refuse(printable, L"an answer cannot hold a line break");
    }
    sheet_.ApplyUserChange(field, value);
}
