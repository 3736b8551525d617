#include "sheet/ReportLines.h"

std::wstring ReportHeading(std::wstring_view verdict, std::wstring_view part) {
    std::wstring line;
    line.reserve(verdict.size() + part.size() + 3);
    return line.append(L"[").append(verdict).append(L"] ").append(part);
}

std::wstring ReportDetail(std::wstring_view text) {
    return std::wstring(L"  ").append(text);
}
