#pragma once

#include "persistence/OrvikFile.h"

#include <string>
#include <string_view>

// The lines of an Orvik file turned into its entries: comments and blank lines dropped, each other
// line matched against the two line forms.

// The line without surrounding white space and without its comment; empty for blank and comment
// lines. A semicolon between the double quotes of a text value does not start a comment.
std::wstring StripComment(std::wstring_view line);
// Strips the comment and matches one of the two line forms, `$Name: "text"` and
// `Name: 0x1F|123|YES|NO`. The value comes back as stored: unquoted text, or upper case without 0x.
bool MatchEntryLine(std::wstring_view line, std::wstring& name, std::wstring& value);

// Collects the entries of a file's bytes; lines that fit neither form are logged and kept aside.
void ParseOrvikBytes(std::string_view bytes, COrvikFile& file);
