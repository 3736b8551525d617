// Speed of undo in the window: a choice that clears most tabs of the largest port form, taken back
// and done again through the history, each followed by the repaint of the window.
#include "FullForm.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"
#include "ui/SheetWindow.h"
#include "ui/UndoControls.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include <benchmark/benchmark.h>

namespace {

// Connector_Type chosen as Type-A (USB Type-C's tabs go), then undo and redo alternately: each
// iteration is one of them with its repaint.
void BM_UndoOrRedoOfAChoiceClearingTabs(benchmark::State& state) {
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
    auto* combo = window.findChild<QComboBox*>(QStringLiteral("Connector_Type"));
    if (!combo) {
        state.SkipWithError("no Connector_Type pull-down");
        return;
    }
    const std::size_t tabsBefore = window.TabPages().size();
    const int typeA = combo->findData(0);
    combo->setCurrentIndex(typeA);
    emit combo->activated(typeA);
    const std::size_t tabsAfter = window.TabPages().size();
    QApplication::processEvents();
    bool undo = true;
    for (auto _ : state) {
        if (undo) {
            window.UndoControls()->Undo();
        } else {
            window.UndoControls()->Redo();
        }
        window.repaint();
        undo = !undo;
    }
    state.counters["tabs cleared"] = static_cast<double>(tabsBefore - tabsAfter);
    if (tabsAfter >= tabsBefore) {
        state.SkipWithError("the choice cleared no tab");
    }
}
BENCHMARK(BM_UndoOrRedoOfAChoiceClearingTabs)->Unit(benchmark::kMillisecond);

} // namespace
