#include "persistence/LoadReport.h"

#include "sheet/ReportLines.h"
#include "text/Text.h"

using orvik::Format;

namespace {

// An example longer than this is cut, as the log cuts a line it cannot parse: a line of junk may
// run to megabytes.
constexpr std::size_t kExampleChars = 256;

// Each kind in the order the report lists them: its verdict, and what it counts for one and for more.
struct SKindWords {
    SLoadReport::SKind SLoadReport::*kind;
    const wchar_t* verdict;
    const wchar_t* one;
    const wchar_t* many;
};

// clang-format off
const SKindWords kKinds[] = {
    {&SLoadReport::unreadLines,   L"not read",     L"line",                       L"lines"},
    {&SLoadReport::unknownFields, L"unknown",      L"field",                      L"fields"},
    {&SLoadReport::duplicates,    L"discarded",    L"field given more than once", L"fields given more than once"},
    {&SLoadReport::beyondLimit,   L"beyond limit", L"repeated item",              L"repeated items"},
    {&SLoadReport::upgraded,      L"upgraded",     L"old name",                   L"old names"},
};
// clang-format on

constexpr const wchar_t* kNotLoaded = L"not loaded";

} // namespace

void SLoadReport::SKind::Add(std::wstring_view example) {
    ++count;
    if (examples.size() < kMaxExamples) {
        std::wstring text(example.substr(0, kExampleChars));
        if (example.size() > kExampleChars) {
            text += L"...";
        }
        examples.push_back(std::move(text));
    }
}

bool SLoadReport::Clean() const {
    if (outcome != EOutcome::Loaded) {
        return false;
    }
    for (const SKindWords& words : kKinds) {
        if ((this->*words.kind).count != 0) {
            return false;
        }
    }
    return true;
}

std::vector<std::wstring> SLoadReport::Lines() const {
    std::vector<std::wstring> lines;
    if (outcome == EOutcome::NotRead) {
        lines.push_back(ReportHeading(kNotLoaded, readError));
        return lines;
    }
    if (outcome == EOutcome::NotAnOrvikFile) {
        lines.push_back(ReportHeading(kNotLoaded, L"not an Orvik file"));
    }
    for (const SKindWords& words : kKinds) {
        const SKind& kind = this->*words.kind;
        if (kind.count == 0) {
            continue;
        }
        lines.push_back(ReportHeading(
            words.verdict,
            Format(L"%u %s", {orvik::ToWide(kind.count), kind.count == 1 ? words.one : words.many})));
        for (const std::wstring& example : kind.examples) {
            lines.push_back(ReportDetail(example));
        }
        if (kind.count > kind.examples.size()) {
            lines.push_back(
                ReportDetail(Format(L"and %u more", {orvik::ToWide(kind.count - kind.examples.size())})));
        }
    }
    return lines;
}
