// Speed of what the problems panel and the find bar redo after every change: collecting the
// problems of the largest port form, and matching the questions against a few letters.
#include "FullForm.h"
#include "logging/Logger.h"
#include "persistence/OrvikReader.h"
#include "sheet/FindQuestions.h"
#include "sheet/Problems.h"
#include "sheet/PropertySheet.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

class CSilentSink : public ILogSink {
public:
    void Write(std::string_view /*message*/) override {}
};

// The largest port form; with `broken` its count of SOP SVIDs no longer matches, so the SVID tab
// and its list have problems.
void LoadLargest(CMarnelPropertySheet& sheet, bool broken) {
    SetLogSink(std::make_unique<CSilentSink>());
    sheet.SetReviewFlagsEnabled(false);
    sheet.Initialize();
    std::string text = orvik::testsupport::FullPortForm();
    if (broken) {
        const std::string from = "Num_SVIDs_min_SOP: 52";
        const std::size_t at = text.find(from);
        if (at != std::string::npos) {
            text.replace(at, from.size(), "Num_SVIDs_min_SOP: 51");
        }
    }
    LoadOrvikBytes(sheet, L"bench.txt", text);
}

void BM_CollectProblems(benchmark::State& state) {
    CMarnelPropertySheet sheet;
    LoadLargest(sheet, state.range(0) != 0);
    std::size_t count = 0;
    for (auto _ : state) {
        count = CollectProblems(sheet).size();
        benchmark::DoNotOptimize(count);
    }
    state.counters["problems"] = static_cast<double>(count);
}
BENCHMARK(BM_CollectProblems)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FindQuestions(benchmark::State& state) {
    CMarnelPropertySheet sheet;
    LoadLargest(sheet, false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindQuestions(sheet, L"volt").size());
    }
}
BENCHMARK(BM_FindQuestions)->Unit(benchmark::kMicrosecond);

} // namespace
