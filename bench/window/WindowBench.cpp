// Speed of the window: a choice that changes the tab set on the largest form, and the way from
// nothing to the first painted window. Runs on the offscreen platform unless another is asked for.
#include "FullForm.h"
#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"
#include "ui/PageView.h"
#include "ui/SheetWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

namespace {

class CNullSink : public ILogSink {
public:
    void Write(std::string_view /*message*/) override {}
};

// PD_Port_Type chosen in its pull-down, alternately "Consumer Only" (drops the Source and Dual Role
// tabs) and "DRP" (brings them back), each followed by the repaint of the window.
void BM_ChoiceChangingTheTabSet(benchmark::State& state) {
    CScriptedPrompt prompt;
    prompt.SetDefaultAnswer(true);
    CMarnelPropertySheet sheet(&prompt);
    sheet.Initialize();
    LoadOrvikBytes(sheet, L"bench.txt", orvik::testsupport::FullPortForm(7, 7, 52, 6));
    CSheetWindow window(sheet);
    window.resize(900, 680);
    window.show();
    window.TabWidget()->setCurrentIndex(window.TabIndexOf(EPage::OrvikProduct));
    QApplication::processEvents();
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("PD_Port_Type"));
    if (!combo) {
        state.SkipWithError("no PD_Port_Type pull-down");
        return;
    }
    const int consumer = combo->findData(0);
    const int drp = combo->findData(4);
    bool toConsumer = true;
    std::size_t tabsBefore = window.TabPages().size();
    for (auto _ : state) {
        const int index = toConsumer ? consumer : drp;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        window.repaint();
        toConsumer = !toConsumer;
    }
    state.counters["tabs"] = static_cast<double>(tabsBefore);
    if (window.TabPages().size() == tabsBefore && state.iterations() > 1) {
        state.SkipWithError("the tab set did not change");
    }
}
BENCHMARK(BM_ChoiceChangingTheTabSet)->Unit(benchmark::kMillisecond);

// From the rule table to the first painted window, as the program starts.
void BM_StartToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        CScriptedPrompt prompt;
        CRuleTable::Instance().Build();
        CMarnelPropertySheet sheet(&prompt);
        sheet.Initialize();
        CSheetWindow window(sheet);
        window.show();
        window.repaint();
        benchmark::DoNotOptimize(window.TabWidget()->count());
    }
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The very first start in the process, with nothing warmed up: the cold start a user sees.
    const auto begin = std::chrono::steady_clock::now();
    QApplication app(argc, argv);
    SetLogSink(std::make_unique<CNullSink>());
    double coldMs = 0;
    {
        CScriptedPrompt prompt;
        CRuleTable::Instance().Build();
        CMarnelPropertySheet sheet(&prompt);
        sheet.Initialize();
        CSheetWindow window(sheet);
        window.show();
        window.repaint();
        coldMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    }
    std::printf("Cold start to first paint (application, rule table, sheet, window): %.1f ms\n", coldMs);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetLogSink(nullptr);
    return 0;
}
