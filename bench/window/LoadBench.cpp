// Speed of the Load Orvik button: the largest port file chosen in the (scripted) file dialog, loaded,
// and the rebuilt tab set painted.
#include "FullForm.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"
#include "ui/IntroPanel.h"
#include "ui/PageView.h"
#include "ui/SheetWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

bool WriteBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

// Each round starts from a cable form (other tabs, small lists) and clicks Load Orvik for the largest
// port file: 7 + 7 PDOs, 52 SVIDs of 6 modes. The overwrite question is answered Yes.
void BM_LoadButtonLargestPortFile(benchmark::State& state) {
    QTemporaryDir dir;
    const QString port = dir.filePath(QStringLiteral("largest.txt"));
    const std::string cable = orvik::testsupport::FullCableForm(2, 2);
    if (!WriteBytes(port, orvik::testsupport::FullPortForm(7, 7, 52, 6))) {
        state.SkipWithError("cannot write the port file");
        return;
    }
    CScriptedPrompt prompt;
    prompt.SetDefaultAnswer(true);
    CMarnelPropertySheet sheet(&prompt);
    sheet.Initialize();
    CSheetWindow window(sheet);
    window.resize(900, 680);
    window.show();
    QApplication::processEvents();
    auto* panel = qobject_cast<CIntroPanel*>(window.View(EPage::Intro)->Extras());
    if (!panel) {
        state.SkipWithError("no Intro buttons");
        return;
    }
    std::size_t cableTabs = 0;
    std::size_t portTabs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            CSheetChangeScope scope(sheet);
            LoadOrvikBytes(sheet, L"cable.txt", cable);
        }
        window.repaint();
        QApplication::processEvents();
        cableTabs = window.TabPages().size();
        prompt.SetNextFileName(port.toStdWString());
        state.ResumeTiming();

        panel->LoadButton()->click();
        window.repaint();
        QApplication::processEvents();
    }
    portTabs = window.TabPages().size();
    state.counters["tabs"] = static_cast<double>(portTabs);
    if (portTabs == cableTabs || window.TabWidget()->count() != static_cast<int>(portTabs)) {
        state.SkipWithError("the tab set was not rebuilt");
    }
}
BENCHMARK(BM_LoadButtonLargestPortFile)->Unit(benchmark::kMillisecond);

} // namespace
