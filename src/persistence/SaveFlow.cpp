#include "persistence/SaveFlow.h"
#include "model/FieldNames.h"

#include "logging/Logger.h"
#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "persistence/FileWriter.h"
#include "platform/Platform.h"
#include "sheet/PropertySheet.h"
#include "text/PathText.h"
#include "text/Text.h"
#include "text/Version.h"

#include <filesystem>

using orvik::Format;

namespace {

constexpr const wchar_t* kNotComplete = L"Couldn't save Orvik: form not complete or invalid data entered.";

std::wstring FieldText(const CMarnelPropertySheet& sheet, const wchar_t* pattern) {
    const CParameterField* field = sheet.FindField(pattern);
    return field ? field->Value() : std::wstring();
}

std::wstring JoinPath(const std::wstring& directory, const std::wstring& name) {
    if (directory.empty()) {
        return name;
    }
    if (directory.back() == L'/') {
        return directory + name;
    }
    return directory + L"/" + name;
}

} // namespace

bool GenerateOutputFileName(CMarnelPropertySheet& sheet, std::wstring& name) {
    const std::wstring vendor = FieldText(sheet, fieldname::kVendorName);
    const std::wstring model = FieldText(sheet, fieldname::kModelPartNumber);
    const std::wstring revision = FieldText(sheet, fieldname::kProductRevision);
    const std::wstring tid = FieldText(sheet, fieldname::kTid);
    if (vendor.empty() || model.empty() || revision.empty() || tid.empty()) {
        return false;
    }
    std::wstring result = vendor + L"__" + model + L"__" + revision + L"__" + tid;
    const auto* productType =
        FieldAs<const CPulldownListField>(sheet.FindField(fieldname::kOrvikProductType));
    if (productType && productType->GetIntValue() == 0) {
        const std::wstring label = FieldText(sheet, fieldname::kPortLabel);
        if (!label.empty()) {
            result += L"__" + label;
        }
    }
    for (wchar_t& c : result) {
        switch (c) {
        case L' ':
        case L'/':
        case L'\\':
        case L':':
        case L'*':
        case L'?':
        case L'"':
        case L'<':
        case L'>':
        case L'|':
            c = L'-';
            break;
        default:
            // Control characters (a NUL or a tab from a loaded file) can name no file either.
            if (c < 0x20 || c == 0x7F) {
                c = L'-';
            }
            break;
        }
    }
    result += L".txt";
    sheet.SetOutputFileName(result);
    name = result;
    return true;
}

void SetSheetTitle(CMarnelPropertySheet& sheet, const std::wstring& path) {
    std::wstring title = orvik::TitleText();
    if (!path.empty()) {
        const std::size_t slash = path.find_last_of(L"\\/");
        title += L" - [" + (slash == std::wstring::npos ? path : path.substr(slash + 1)) + L"]";
    }
    sheet.SetTitle(title);
}

bool WriteFileReplacing(const std::wstring& path, std::string_view bytes, std::wstring& error) {
    std::string reason;
    if (!orvik::platform::ReplaceFileContents(orvik::ToPath(path), bytes, reason)) {
        error = orvik::FromUtf8(reason).substr(0, 255);
        return false;
    }
    return true;
}

bool SaveOrvik(CMarnelPropertySheet& sheet, const std::wstring& directory) {
    std::wstring name;
    if (!GenerateOutputFileName(sheet, name)) {
        const std::wstring message = L"Unable to generate output file name.";
        Log(message);
        sheet.Prompt().ShowError(message);
        return false;
    }
    Log(Format(L"Output file name generated: %s", {name}));
    // The form shows what the file says: the version lines of this program.
    sheet.FillProgramAnswers(false);
    std::wstring error;
    if (!WriteFileReplacing(JoinPath(directory, name), BuildOrvikBytes(sheet), error)) {
        const std::wstring message = Format(L"Failure: couldn't open %s: %s", {name, error});
        Log(message);
        sheet.Prompt().ShowError(message);
        return false;
    }
    Log(Format(L"Success: Orvik saved to %s.", {name}));
    SetSheetTitle(sheet, name);
    return true;
}

bool ValidateAndSave(CMarnelPropertySheet& sheet, const std::wstring& directory) {
    for (const CPageSuper* page : sheet.Tabs()) {
        if (!page) {
            throw filegen_error(L"NULL page.");
        }
        if (!page->IsPageValid()) {
            const std::wstring message = page->HasWindow()
                                             ? Format(L"%s page filled out incorrectly.", {page->TabLabel()})
                                             : std::wstring(L"One or more pages are filled out incorrectly.");
            Log(message);
            return false;
        }
    }
    return SaveOrvik(sheet, directory);
}

std::wstring SuccessBoxText(const std::wstring& fileName, const std::wstring& directory,
                            const std::wstring& programDirectory) {
    const std::wstring usual =
        L"A text file has been generated in the same directory as this application. It is named " + fileName +
        L".";
    if (programDirectory.empty()) {
        return usual;
    }
    std::error_code error;
    const std::filesystem::path written =
        std::filesystem::weakly_canonical(directory.empty() ? std::filesystem::current_path(error)
                                                            : std::filesystem::absolute(directory, error),
                                          error);
    const std::filesystem::path program = std::filesystem::weakly_canonical(programDirectory, error);
    if (written.empty() || written == program) {
        return usual;
    }
    return L"A text file has been generated in " + written.wstring() + L". It is named " + fileName + L".";
}

bool OnApply(CMarnelPropertySheet& sheet, bool okButton, const std::wstring& directory,
             const std::wstring& programDirectory) {
    Log(Format(L"%s button selected.", {okButton ? L"OK" : L"Apply"}));
    sheet.SetLeaveQuestionEnabled(false);
    Log(std::string_view("About to save Orvik."));
    bool result = false;
    if (ValidateAndSave(sheet, directory)) {
        if (!sheet.SuccessBoxFlag()) {
            sheet.Prompt().ShowInformation(
                SuccessBoxText(sheet.OutputFileName(), directory, programDirectory));
        }
        if (okButton) {
            sheet.SetSuccessBoxFlag(true);
        }
        result = okButton;
    } else {
        Log(std::wstring_view(kNotComplete));
        sheet.Prompt().ShowError(kNotComplete);
    }
    sheet.SetLeaveQuestionEnabled(true);
    return result;
}
