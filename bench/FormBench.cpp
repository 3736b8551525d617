// Speed of the form's two hot paths: re-evaluating after one answer, and loading, re-evaluating and
// writing a whole file.
#include "FullForm.h"
#include "logging/Logger.h"
#include "persistence/FileWriter.h"
#include "persistence/OrvikReader.h"
#include "sheet/Explanation.h"
#include "sheet/PropertySheet.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

class CNullSink : public ILogSink {
public:
    void Write(std::string_view /*message*/) override {}
};

void QuietLog() {
    static const bool installed = [] {
        SetLogSink(std::make_unique<CNullSink>());
        return true;
    }();
    (void)installed;
}

// One pull-down answer changed back and forth on the largest complete port form.
void BM_ReevaluateAfterPulldownChange(benchmark::State& state) {
    QuietLog();
    CMarnelPropertySheet sheet;
    sheet.SetReviewFlagsEnabled(false);
    sheet.Initialize();
    LoadOrvikBytes(sheet, L"bench.txt", orvik::testsupport::FullPortForm());
    CParameterField* battery = sheet.FindField(L"Port_Battery_Powered");
    bool yes = false;
    for (auto _ : state) {
        yes = !yes;
        sheet.ApplyUserChange(battery, yes ? L"YES" : L"NO");
    }
}
BENCHMARK(BM_ReevaluateAfterPulldownChange)->Unit(benchmark::kMicrosecond);

// A change at the root of the dependencies: the PD revision reaches most of the form.
void BM_ReevaluateAfterRevisionChange(benchmark::State& state) {
    QuietLog();
    CMarnelPropertySheet sheet;
    sheet.SetReviewFlagsEnabled(false);
    sheet.Initialize();
    LoadOrvikBytes(sheet, L"bench.txt", orvik::testsupport::FullPortForm());
    CParameterField* revision = sheet.FindField(L"PD_Specification_Revision");
    bool three = false;
    for (auto _ : state) {
        three = !three;
        sheet.ApplyUserChange(revision, three ? L"2" : L"0");
    }
}
BENCHMARK(BM_ReevaluateAfterRevisionChange)->Unit(benchmark::kMicrosecond);

// Load, re-evaluate and write a port file with 7 + 7 PDOs and N SOP SVIDs of six modes each:
// 13, 26 and 52 SVIDs give one, two and four times the entries of the group blocks.
void BM_LoadAndWritePortFile(benchmark::State& state) {
    QuietLog();
    const std::string text = orvik::testsupport::FullPortForm(7, 7, static_cast<int>(state.range(0)), 6);
    CMarnelPropertySheet sheet;
    sheet.SetReviewFlagsEnabled(false);
    sheet.Initialize();
    std::size_t written = 0;
    for (auto _ : state) {
        LoadOrvikBytes(sheet, L"bench.txt", text);
        written = BuildOrvikBytes(sheet).size();
        benchmark::DoNotOptimize(written);
    }
    state.counters["file_bytes"] = static_cast<double>(text.size());
    state.counters["written_bytes"] = static_cast<double>(written);
}
BENCHMARK(BM_LoadAndWritePortFile)->Arg(13)->Arg(26)->Arg(52)->Unit(benchmark::kMillisecond);

// Building the sheet: every page field, its rule and its parents.
void BM_InitializeSheet(benchmark::State& state) {
    QuietLog();
    for (auto _ : state) {
        CMarnelPropertySheet sheet;
        sheet.Initialize();
        benchmark::DoNotOptimize(sheet.FieldVector().Size());
    }
}
BENCHMARK(BM_InitializeSheet)->Unit(benchmark::kMicrosecond);

// What the undo history costs every change on the largest port form: the state taken before it
// and the comparison after it, with nothing changed between.
void BM_UndoSnapshotBeforeAChange(benchmark::State& state) {
    QuietLog();
    CMarnelPropertySheet sheet;
    sheet.Initialize();
    LoadOrvikBytes(sheet, L"bench.txt", orvik::testsupport::FullPortForm());
    sheet.History().SetEnabled(true);
    for (auto _ : state) {
        CUndoStep step(sheet);
    }
}
BENCHMARK(BM_UndoSnapshotBeforeAChange)->Unit(benchmark::kMicrosecond);

// Undo and redo of a choice that clears most tabs of the largest port form, without a window.
void BM_UndoRedoOfAChoiceClearingTabs(benchmark::State& state) {
    QuietLog();
    CMarnelPropertySheet sheet;
    sheet.Initialize();
    LoadOrvikBytes(sheet, L"bench.txt", orvik::testsupport::FullPortForm());
    sheet.History().SetEnabled(true);
    sheet.ApplyUserChange(sheet.FindField(L"Connector_Type"), L"0");
    for (auto _ : state) {
        sheet.History().Undo();
        sheet.History().Redo();
    }
}
BENCHMARK(BM_UndoRedoOfAChoiceClearingTabs)->Unit(benchmark::kMicrosecond);

} // namespace

// What the question pane does each time the focus moves (Quick), and once the focus rests (each
// other choice tried on a copy): the question most others read explained on the largest complete
// port form, dependants and all.
void BM_ExplainQuestion(benchmark::State& state) {
    QuietLog();
    CMarnelPropertySheet sheet;
    sheet.SetReviewFlagsEnabled(false);
    sheet.Initialize();
    LoadOrvikBytes(sheet, L"bench.txt", orvik::testsupport::FullPortForm());
    const CParameterField* portType = sheet.FindField(L"PD_Port_Type");
    const auto depth = static_cast<EExplainDepth>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExplanationLines(Explain(sheet, *portType, depth)));
    }
}
BENCHMARK(BM_ExplainQuestion)
    ->Arg(static_cast<int>(EExplainDepth::Quick))
    ->Arg(static_cast<int>(EExplainDepth::ChoicesTried))
    ->Unit(benchmark::kMicrosecond);
