#pragma once

#include <string>
#include <string_view>

class CMarnelPropertySheet;

// <vendor>__<model>__<revision>__<TID>[__<port label>].txt with the ten characters a file name
// cannot hold replaced by '-'; false (the stored name unchanged) when one of the four is empty.
bool GenerateOutputFileName(CMarnelPropertySheet& sheet, std::wstring& name);
// "Orvik Generator <version> - [<file name>]", or the bare title for an empty path.
void SetSheetTitle(CMarnelPropertySheet& sheet, const std::wstring& path);

// Names, writes and reports the file in `directory` (the current directory when empty).
bool SaveOrvik(CMarnelPropertySheet& sheet, const std::wstring& directory = {});
// Checks every tab in tab order (the first invalid one ends it), then saves.
bool ValidateAndSave(CMarnelPropertySheet& sheet, const std::wstring& directory = {});
// The success box's text. It names the folder written to when that is not the program's own folder
// (`programDirectory` empty: the program's folder is not known and the usual sentence stands).
std::wstring SuccessBoxText(const std::wstring& fileName, const std::wstring& directory,
                            const std::wstring& programDirectory);
// The OK and Apply buttons: commit the active page, validate, save, report. True when the sheet may
// close (OK after a successful save).
bool OnApply(CMarnelPropertySheet& sheet, bool okButton, const std::wstring& directory = {},
             const std::wstring& programDirectory = {});

// Writes a temporary file beside `path` and renames it over `path` only once it is complete, so a
// failed save leaves the previous file as it was. False with the system's description in `error`.
bool WriteFileReplacing(const std::wstring& path, std::string_view bytes, std::wstring& error);
