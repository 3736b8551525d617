#pragma once

#include <string>
#include <string_view>

// The shape every report on a form or a file takes, so that they read alike: a heading per part,
// "[<verdict>] <part>", and under it one line per detail, indented two blanks.

// The verdicts on a tab's answers.
inline constexpr std::wstring_view kOkVerdict = L"ok";
inline constexpr std::wstring_view kInvalidVerdict = L"invalid";

std::wstring ReportHeading(std::wstring_view verdict, std::wstring_view part);
std::wstring ReportDetail(std::wstring_view text);
