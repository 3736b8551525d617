#include "persistence/LoadFlow.h"

#include "logging/Logger.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"

using orvik::Format;

const SLoadReport* RunLoadCommand(CMarnelPropertySheet& sheet) {
    Log(std::string_view("About to select Orvik for loading."));
    unsigned errorCode = 0;
    const std::optional<std::wstring> path = sheet.Prompt().ChooseFileToOpen(errorCode);
    if (!path) {
        if (errorCode != 0) {
            const std::wstring message =
                Format(L"Unable to load Orvik: CommDlgExtendedError = %u.", {orvik::ToWide(errorCode)});
            Log(message);
            sheet.Prompt().ShowError(message);
        } else {
            Log(std::string_view("No Orvik selected: cancelled by user."));
        }
        return nullptr;
    }
    return LoadChosenFile(sheet, *path);
}

const SLoadReport* LoadChosenFile(CMarnelPropertySheet& sheet, const std::wstring& path) {
    if (sheet.HasEnteredAnswers() &&
        !sheet.Prompt().AskYesNo(L"Loading this Orvik will overwrite all data that has been entered.  "
                                 L"Are you sure you want to continue?")) {
        return nullptr;
    }
    Log(Format(L"Orvik %s selected.", {path}));
    // A load is one undo step: taking it back gives back the answers it replaced.
    CUndoStep step(sheet);
    step.SetLabel(Format(L"Load %s", {std::wstring_view(path).substr(path.find_last_of(L"/\\") + 1)}));
    if (LoadOrvik(sheet, path)) {
        Log(Format(L"Success: Orvik %s loaded.", {path}));
        if (!sheet.FieldVector().Empty()) {
            UpdateAvailability(sheet.FieldVector().At(0), sheet.FormState());
            sheet.Reevaluate(0, {.initial = true});
        }
    } else {
        const std::wstring message = Format(L"Failure: Unable to load Orvik %s.", {path});
        Log(message);
        sheet.Prompt().ShowError(message);
    }
    return LoadReportOf(sheet);
}
