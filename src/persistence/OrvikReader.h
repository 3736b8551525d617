#pragma once

#include "persistence/LoadReport.h"
#include "persistence/OrvikFile.h"

#include <string>
#include <string_view>

class CMarnelPropertySheet;
class CParameterField;
class CUpgrader;

// The field of a repeated group that a printable name such as Src_PDO_Voltage2 or
// SVID1_mode3_enter_SOP names, creating the groups up to its numbers as a load does. Null for a name
// that is no group field, or whose numbers are 0 or past what the counts allow (7 PDOs, 52 SVIDs,
// 6 modes).
CParameterField* FindOrCreateGroupField(CMarnelPropertySheet& sheet, const std::wstring& name);

// Reads a whole file; false with the system's description of the failure in `error`.
bool ReadFileBytes(const std::wstring& path, std::string& bytes, std::wstring& error);

// Replaces the whole form by the answers of the file at `path`: empties it, assigns the entries to
// their fields or (by the numbers in their names) to groups created on demand, hands retired names
// to the upgrader, and re-evaluates everything. False, with the form untouched, when the file cannot
// be read or is no Orvik file (not one of its lines is an entry). Either way LoadReportOf tells
// what the load did not take.
bool LoadOrvik(CMarnelPropertySheet& sheet, const std::wstring& path);
// The same with the file's bytes already in hand.
bool LoadOrvikBytes(CMarnelPropertySheet& sheet, const std::wstring& path, std::string_view bytes);

// The upgrader of the sheet's last load, with the retired entries it collected (empty before any).
CUpgrader& UpgraderOf(CMarnelPropertySheet& sheet);
// The report of the last load tried on the sheet, whether or not it changed the form; null before
// any.
const SLoadReport* LoadReportOf(const CMarnelPropertySheet& sheet);
