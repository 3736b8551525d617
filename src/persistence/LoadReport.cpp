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

std::vector<std::wstring> LinesOf(const SLoadReport& report, bool allExamples) {
    std::vector<std::wstring> lines;
    if (report.outcome == SLoadReport::EOutcome::NotRead) {
        lines.push_back(ReportHeading(kNotLoaded, report.readError));
        return lines;
    }
    if (report.outcome == SLoadReport::EOutcome::NotAnOrvikFile) {
        lines.push_back(ReportHeading(kNotLoaded, L"not an Orvik file"));
    }
    for (const SKindWords& words : kKinds) {
        const SLoadReport::SKind& kind = report.*words.kind;
        if (kind.count == 0) {
            continue;
        }
        lines.push_back(ReportHeading(
            words.verdict,
            Format(L"%u %s", {orvik::ToWide(kind.count), kind.count == 1 ? words.one : words.many})));
        for (const std::wstring& example : kind.examples) {
            lines.push_back(ReportDetail(example));
        }
        std::size_t shown = kind.examples.size();
        if (allExamples) {
            for (const std::wstring& example : kind.moreExamples) {
                lines.push_back(ReportDetail(example));
            }
            shown += kind.moreExamples.size();
        }
        if (kind.count > shown) {
            lines.push_back(ReportDetail(Format(L"and %u more", {orvik::ToWide(kind.count - shown)})));
        }
    }
    return lines;
}

} // namespace

void SLoadReport::SKind::Add(std::wstring_view example) {
    ++count;
    if (examples.size() + moreExamples.size() < kMaxKeptExamples) {
        std::wstring text(example.substr(0, kExampleChars));
        if (example.size() > kExampleChars) {
            text += L"...";
        }
        Keep(std::move(text));
    }
}

void SLoadReport::SKind::Keep(std::wstring example) {
    if (examples.size() < kMaxExamples) {
        examples.push_back(std::move(example));
    } else if (examples.size() + moreExamples.size() < kMaxKeptExamples) {
        moreExamples.push_back(std::move(example));
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
    return LinesOf(*this, false);
}

std::vector<std::wstring> SLoadReport::AllLines() const {
    return LinesOf(*this, true);
}
