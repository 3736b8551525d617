#pragma once

#include <string>

class CMarnelPropertySheet;
struct SLoadReport;

// The Intro page's Load command: choose a file, then LoadChosenFile. Null when no file was chosen.
const SLoadReport* RunLoadCommand(CMarnelPropertySheet& sheet);
// The Load command once a file is chosen (by the dialog, the command line or a drop): confirm
// overwriting entered data, load, report. The report of the load, kept with the sheet until the next
// one (LoadReportOf); null when the user chose not to overwrite the answers.
const SLoadReport* LoadChosenFile(CMarnelPropertySheet& sheet, const std::wstring& path);
