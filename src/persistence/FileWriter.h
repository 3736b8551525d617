#pragma once

#include <string>

class CMarnelPropertySheet;
class CPageSuper;

// The Orvik file of a sheet: the header, then one section per tab in tab order with the tab's
// available fields and its groups. The program's answers are written as the program fills them in,
// so a file always names the tool that wrote it; the sheet is only read.
std::wstring BuildOrvikText(const CMarnelPropertySheet& sheet);
// The same as Windows-1252 bytes with CR LF line ends: exactly what a save writes.
std::string BuildOrvikBytes(const CMarnelPropertySheet& sheet);

// One tab's section: separator, heading, separator, field lines, an empty line, the groups.
void WritePageSection(const CPageSuper& page, std::wstring& out);
