// Speed of the window: a choice that changes the tab set on the largest form, the way from
// nothing to the first painted window, and the group dialogs of the list pages (opening an SVID
// with its modes, adding a PDO). Runs on the offscreen platform unless another is asked for.
#include "FullForm.h"
#include "catalog/GroupCatalog.h"
#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "model/ParameterField.h"
#include "persistence/OrvikReader.h"
#include "sheet/GroupListEditor.h"
#include "sheet/PropertySheet.h"
#include "ui/GroupDialog.h"
#include "ui/ListPanel.h"
#include "ui/PageView.h"
#include "ui/PdoChart.h"
#include "ui/QuestionPane.h"
#include "ui/SheetWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QListWidget>
#include <QTabBar>
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

// The largest port form loaded in a shown window of the given size.
struct SLargestFormWindow {
    SLargestFormWindow(int width, int height) {
        prompt.SetDefaultAnswer(true);
        sheet.Initialize();
        LoadOrvikBytes(sheet, L"bench.txt", orvik::testsupport::FullPortForm(7, 7, 52, 6));
        window.resize(width, height);
        window.show();
    }
    CScriptedPrompt prompt;
    CMarnelPropertySheet sheet{&prompt};
    CSheetWindow window{sheet};
};

// PD_Port_Type chosen in its pull-down, alternately "Consumer Only" (drops the Source and Dual Role
// tabs) and "DRP" (brings them back), each followed by the repaint of the window.
void BM_ChoiceChangingTheTabSet(benchmark::State& state) {
    SLargestFormWindow shown(900, 680);
    CSheetWindow& window = shown.window;
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

// The question pane following the keyboard focus between two questions of the largest port form,
// to the pane's words set (what another choice would clear follows once the focus rests).
void BM_QuestionPaneFollowsFocus(benchmark::State& state) {
    SLargestFormWindow shown(1366, 768);
    CSheetWindow& window = shown.window;
    window.QuestionPane()->SetOpen(true);
    window.TabWidget()->setCurrentIndex(window.TabIndexOf(EPage::OrvikProduct));
    QApplication::processEvents();
    QWidget* inputs[] = {window.findChild<QWidget*>(QStringLiteral("PD_Port_Type")),
                         window.findChild<QWidget*>(QStringLiteral("Connector_Type"))};
    if (!inputs[0] || !inputs[1]) {
        state.SkipWithError("no PD_Port_Type or Connector_Type");
        return;
    }
    std::size_t next = 0;
    for (auto _ : state) {
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(inputs[next], &focusIn);
        next = 1 - next;
    }
    if (!window.QuestionPane()->Question()) {
        state.SkipWithError("the pane told no question");
    }
    // The pane's state is remembered across runs: the other benchmarks run with it closed.
    window.QuestionPane()->SetOpen(false);
}
BENCHMARK(BM_QuestionPaneFollowsFocus)->Unit(benchmark::kMicrosecond);

// From the rule table to the first painted window, as the program starts.
void BM_StartToFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        CScriptedPrompt prompt;
        CMarnelPropertySheet sheet(&prompt);
        sheet.Initialize();
        CSheetWindow window(sheet);
        window.show();
        window.repaint();
        benchmark::DoNotOptimize(window.TabWidget()->count());
    }
}
BENCHMARK(BM_StartToFirstPaint)->Unit(benchmark::kMillisecond);

// The largest port form in a shown window, on the tab of `page`, with that page's list panel.
struct SListWindow {
    CScriptedPrompt prompt;
    CMarnelPropertySheet sheet{&prompt};
    std::unique_ptr<CSheetWindow> window;
    CListPanel* panel = nullptr;

    SListWindow(EPage page, int sourcePdos) {
        prompt.SetDefaultAnswer(true);
        sheet.Initialize();
        LoadOrvikBytes(sheet, L"bench.txt", orvik::testsupport::FullPortForm(sourcePdos, 7, 52, 6));
        window = std::make_unique<CSheetWindow>(sheet);
        window->resize(900, 680);
        window->show();
        window->TabWidget()->setCurrentIndex(window->TabIndexOf(page));
        QApplication::processEvents();
        panel = qobject_cast<CListPanel*>(window->View(page)->ListPanel());
    }
};

// Edit on an SOP SVID with six modes: the dialog built over its working copy, shown and painted
// with its mode list, then cancelled.
void BM_OpenSvidDialogWithSixModes(benchmark::State& state) {
    SListWindow w(EPage::SOPDiscovery2, 7);
    if (!w.panel || w.panel->Editor().LineCount() == 0) {
        state.SkipWithError("no SOP SVID list");
        return;
    }
    std::size_t modes = 0;
    w.window->Hooks().SetGroupDialogRunner([&](CGroupDialog& dialog) {
        dialog.show();
        dialog.repaint();
        modes = dialog.ModesPanel() ? static_cast<std::size_t>(dialog.ModesPanel()->List()->count()) : 0;
        dialog.reject();
        return dialog.result();
    });
    for (auto _ : state) {
        w.panel->Editor().Select(0);
        w.panel->EditItem();
    }
    state.counters["modes"] = static_cast<double>(modes);
    if (modes != 6) {
        state.SkipWithError("the SVID did not show six modes");
    }
}
BENCHMARK(BM_OpenSvidDialogWithSixModes)->Unit(benchmark::kMillisecond);

// Add on the Source PDO list: timed from OK in the filled-in dialog until the new line is in the
// list and the list and the tab bar are repainted. The line is deleted again untimed.
void BM_AddSourcePdoFromOkToRepaint(benchmark::State& state) {
    SListWindow w(EPage::Source, 6);
    if (!w.panel) {
        state.SkipWithError("no Source PDO list");
        return;
    }
    using Clock = std::chrono::steady_clock;
    Clock::time_point okPressed;
    bool accepted = false;
    w.window->Hooks().SetGroupDialogRunner([&](CGroupDialog& dialog) {
        dialog.show();
        CGroupWorkingCopy& copy = dialog.Copy();
        const std::wstring n = std::to_wstring(w.panel->Editor().LineCount() + 1);
        copy.SetAnswer(L"Src_PDO_Supply_Type" + n, L"0");
        copy.SetAnswer(L"Src_PDO_Peak_Current" + n, L"0");
        copy.SetAnswer(L"Src_PDO_Voltage" + n, L"100");
        copy.SetAnswer(L"Src_PDO_Max_Current" + n, L"300");
        copy.SetAnswer(L"Src_PD_OCP_OC_Debounce" + n, L"10");
        copy.SetAnswer(L"Src_PD_OCP_OC_Threshold" + n, L"400");
        copy.SetAnswer(L"Src_PD_OCP_UV_Debounce" + n, L"10");
        copy.SetAnswer(L"Src_PD_OCP_UV_Threshold_Type" + n, L"1");
        copy.SetAnswer(L"Src_PD_OCP_UV_Threshold" + n, L"90");
        dialog.RefreshControls();
        dialog.repaint();
        okPressed = Clock::now();
        dialog.accept();
        accepted = dialog.result() == QDialog::Accepted;
        return dialog.result();
    });
    for (auto _ : state) {
        const std::size_t before = w.panel->Editor().LineCount();
        w.panel->AddItem();
        w.panel->List()->repaint();
        w.window->TabWidget()->tabBar()->repaint();
        const auto done = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(done - okPressed).count());
        if (!accepted || w.panel->Editor().LineCount() != before + 1) {
            state.SkipWithError("the PDO was not added");
            break;
        }
        w.panel->Editor().Select(static_cast<int>(before));
        w.panel->DeleteItem();
    }
}
BENCHMARK(BM_AddSourcePdoFromOkToRepaint)->UseManualTime()->Unit(benchmark::kMillisecond);

// The chart beside the seven Source PDOs after an edit of one of them (its current, alternately
// 3 A and 2 A, set untimed): timed from the answers read again until the chart is repainted.
void BM_PdoChartRepaintAfterEdit(benchmark::State& state) {
    SListWindow w(EPage::Source, 7);
    CPdoChart* chart = w.panel ? w.panel->Chart() : nullptr;
    if (!chart || w.panel->Editor().LineCount() != 7) {
        state.SkipWithError("no chart beside seven Source PDOs");
        return;
    }
    CFieldGroupList& list = w.panel->Editor().List();
    CParameterField* current = list.At(1).FindField(SourcePdoNames().current);
    using Clock = std::chrono::steady_clock;
    bool high = false;
    for (auto _ : state) {
        high = !high;
        current->SetValue(high ? L"2000" : L"3000");
        const auto begin = Clock::now();
        chart->SetShapes(PdoShapes(PdoAnswersOf(SourcePdoNames(), list), w.panel->Editor().Selection()));
        chart->repaint();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - begin).count());
        if (chart->Shapes()[1].outline.back().amps != (high ? 2.0 : 3.0)) {
            state.SkipWithError("the chart did not follow the edit");
            break;
        }
    }
    state.counters["pdos"] = static_cast<double>(chart->Shapes().size());
}
BENCHMARK(BM_PdoChartRepaintAfterEdit)->UseManualTime()->Unit(benchmark::kMicrosecond);

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
