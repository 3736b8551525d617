#pragma once

#include <string>

class CMarnelPropertySheet;

// The Intro page's Load command: choose a file, then LoadChosenFile.
void RunLoadCommand(CMarnelPropertySheet& sheet);
// The Load command once a file is chosen (by the dialog, the command line or a drop): confirm
// overwriting entered data, load, report.
void LoadChosenFile(CMarnelPropertySheet& sheet, const std::wstring& path);
