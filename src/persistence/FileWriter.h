#pragma once

#include <string>

class CMarnelPropertySheet;
class CPageSuper;

// The Orvik file of a sheet: the header, then one section per tab in tab order with the tab's
// available fields and its groups. Stamps the producer and format texts into the Intro fields
// first, so a file always names the tool that wrote it.
std::wstring BuildOrvikText(CMarnelPropertySheet& sheet);
// The same as Windows-1252 bytes with CR LF line ends: exactly what a save writes.
std::string BuildOrvikBytes(CMarnelPropertySheet& sheet);

// One tab's section: separator, heading, separator, field lines, an empty line, the groups.
void WritePageSection(const CPageSuper& page, std::wstring& out);
