// Renders every tab of the window to PNG files, offscreen: for a complete port form and a complete
// cable form, or for the form files named on the command line. Without files it also renders the
// problems panel and the find bar open on a port form with problems, the load report of a file the
// load did not take as written, the PDO chart beside its list and in a PDO's dialog, and the bar
// listing what a choice cleared.
// Usage: orvik_screenshots OUT_DIR [FILE...]

#include "FullForm.h"
#include "catalog/RuleTable.h"
#include "persistence/OrvikReader.h"
#include "sheet/GroupListEditor.h"
#include "sheet/Prompt.h"
#include "sheet/PropertySheet.h"
#include "ui/FieldControls.h"
#include "ui/FindBar.h"
#include "ui/GroupDialog.h"
#include "ui/ListPanel.h"
#include "ui/LoadReportView.h"
#include "ui/PageView.h"
#include "ui/ProblemsPanel.h"
#include "ui/QuestionPane.h"
#include "ui/SheetWindow.h"
#include "ui/UndoControls.h"
#include "ui/WindowHooks.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// No box may wait for a click offscreen: questions are answered Yes and every text goes to standard
// error, where a box that should not have appeared is seen.
class CQuietPrompt : public IPrompt {
public:
    void ShowError(const std::wstring& text) override { Report(L"error", text); }
    void ShowInformation(const std::wstring& text) override { Report(L"information", text); }
    bool AskYesNo(const std::wstring& text) override {
        Report(L"question", text);
        return true;
    }
    std::optional<std::wstring> ChooseFileToOpen(unsigned& errorCode) override {
        errorCode = 0;
        return std::nullopt;
    }

private:
    static void Report(const wchar_t* kind, const std::wstring& text) {
        std::fprintf(stderr, "%ls box: %ls\n", kind, text.c_str());
    }
};

QString FilePart(const QString& label) {
    QString part;
    for (const QChar c : label) {
        if (c.isLetterOrNumber() && c.unicode() < 128) {
            part += c;
        } else if (!part.endsWith(u'-')) {
            part += u'-';
        }
    }
    while (part.endsWith(u'-')) {
        part.chop(1);
    }
    return part;
}

// Lays out what the last change asked for: a page built on demand posts its layout requests, and the
// scroll area decides on its scroll bars only once the new size has arrived.
void Settle() {
    for (int round = 0; round < 5; ++round) {
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

bool Save(QWidget& widget, const QDir& out, const QString& name) {
    const QString path = out.filePath(name);
    if (!widget.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

struct SForm {
    QString prefix;
    std::wstring path;
    std::string bytes;
};

// Saves one picture per tab as <prefix>-<nn>-<tab label>.png; false when one cannot be written.
bool RenderForm(const SForm& form, const QDir& out) {
    CQuietPrompt prompt;
    CMarnelPropertySheet sheet(&prompt);
    sheet.Initialize();
    CSheetWindow window(sheet);
    window.show();
    Settle();
    if (!LoadOrvikBytes(sheet, form.path, form.bytes)) {
        std::fprintf(stderr, "cannot load %ls\n", form.path.c_str());
        return false;
    }
    Settle();
    QTabWidget* tabs = window.TabWidget();
    bool ok = true;
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        Settle();
        const QString name = QStringLiteral("%1-%2-%3.png")
                                 .arg(form.prefix)
                                 .arg(i + 1, 2, 10, QLatin1Char('0'))
                                 .arg(FilePart(tabs->tabText(i)));
        const QString path = out.filePath(name);
        if (window.grab().save(path)) {
            std::printf("%s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    window.hide();
    return ok;
}

// A complete port form with a few answers made wrong.
std::string PortWithProblems() {
    std::string text = orvik::testsupport::FullPortForm(2, 1, 2, 1);
    const std::pair<const char*, const char*> edits[] = {
        {"RP_Value: 2", "RP_Value: 7"},
        {"Num_Src_PDOs: 2", "Num_Src_PDOs: 3"},
        {"Src_PDO_Max_Current2: 300", "Src_PDO_Max_Current2: 600"},
        {"Type_C_Implements_Try_SRC: NO", "Type_C_Implements_Try_SRC: YES"},
        {"Type_C_Implements_Try_SNK: NO", "Type_C_Implements_Try_SNK: YES"},
    };
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from);
        if (at != std::string::npos) {
            text.replace(at, std::string(from).size(), to);
        }
    }
    return text;
}

// problems-panel.png: the problems panel beside the tabs and the find bar below them, after F8,
// Ctrl+F, a few letters and Enter.
bool RenderProblems(const QDir& out) {
    CQuietPrompt prompt;
    CMarnelPropertySheet sheet(&prompt);
    sheet.Initialize();
    CSheetWindow window(sheet);
    // Wide enough for the tabs and the panel side by side.
    window.resize(1100, 700);
    window.show();
    Settle();
    if (!LoadOrvikBytes(sheet, L"PortWithProblems.txt", PortWithProblems())) {
        std::fprintf(stderr, "cannot load the port form with problems\n");
        return false;
    }
    window.ProblemsPanel()->SetOpen(true);
    window.FindBar()->Open();
    QTest::keyClicks(window.FindBar()->Edit(), QStringLiteral("try_s"));
    QTest::keyClick(window.FindBar()->Edit(), Qt::Key_Return);
    Settle();
    const QString path = out.filePath(QStringLiteral("problems-panel.png"));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    window.hide();
    return true;
}

// A port file as an older tool or another program leaves it: a retired name, a field no question
// takes, and more Source PDOs than a port may announce.
std::string PortFromElsewhere() {
    std::string text = orvik::testsupport::FullPortForm(20, 1, 1, 1);
    const std::pair<const char*, const char*> edits[] = {
        {"$Model_Part_Number:", "$Product_Name:"},
        {"$Vendor_Name: \"Ab Co\"", "$Vendor_Name: \"Ab Co\"\r\nVendor_Notes: 1"},
    };
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from);
        if (at != std::string::npos) {
            text.replace(at, std::string(from).size(), to);
        }
    }
    return text;
}

// load-report.png: the report under the tabs after such a file was loaded.
bool RenderLoadReport(const QDir& out) {
    CQuietPrompt prompt;
    CMarnelPropertySheet sheet(&prompt);
    sheet.Initialize();
    CSheetWindow window(sheet);
    window.show();
    Settle();
    LoadOrvikBytes(sheet, L"port-from-elsewhere.txt", PortFromElsewhere());
    window.LoadReportView()->ShowReport(LoadReportOf(sheet));
    Settle();
    const QString path = out.filePath(QStringLiteral("load-report.png"));
    if (!window.LoadReportView()->IsOpen() || !window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    window.hide();
    return true;
}

// pdo-chart.png: the PD Source tab at 1366x768 with PDOs of every supply type drawn beside their
// list, the Variable one selected; pdo-dialog.png: that PDO's dialog, its chart following it.
bool RenderPdoChart(const QDir& out) {
    CQuietPrompt prompt;
    CMarnelPropertySheet sheet(&prompt);
    sheet.Initialize();
    CSheetWindow window(sheet);
    window.resize(1366, 768);
    window.show();
    Settle();
    LoadOrvikBytes(sheet, L"port-every-supply.txt", orvik::testsupport::PortFormWithEverySupply());
    window.TabWidget()->setCurrentIndex(window.TabIndexOf(EPage::Source));
    Settle();
    auto* panel = qobject_cast<CListPanel*>(window.View(EPage::Source)->ListPanel());
    if (!panel) {
        std::fprintf(stderr, "no Source PDO list\n");
        return false;
    }
    panel->Editor().Select(2);
    panel->Refresh();
    Settle();
    bool ok = Save(window, out, QStringLiteral("pdo-chart.png"));
    window.Hooks().SetGroupDialogRunner([&](CGroupDialog& dialog) {
        dialog.show();
        Settle();
        ok = Save(dialog, out, QStringLiteral("pdo-dialog.png")) && ok;
        dialog.reject();
        return dialog.result();
    });
    panel->EditItem();
    window.Hooks().SetGroupDialogRunner(nullptr);
    window.hide();
    return ok;
}

// cleared-answers.png: the bar under the tabs after Type-A was chosen for the connector of a complete
// port form, its list of what went shown.
bool RenderClearedAnswers(const QDir& out) {
    CQuietPrompt prompt;
    CMarnelPropertySheet sheet(&prompt);
    sheet.Initialize();
    CSheetWindow window(sheet);
    window.resize(1100, 700);
    window.show();
    Settle();
    LoadOrvikBytes(sheet, L"FullPort.txt", orvik::testsupport::FullPortForm(2, 1, 2, 1));
    window.TabWidget()->setCurrentIndex(window.TabIndexOf(EPage::OrvikProduct));
    Settle();
    sheet.ApplyUserChange(sheet.FindField(L"Connector_Type"), L"0");
    Settle();
    window.UndoControls()->Bar()->ShowButton()->click();
    Settle();
    const bool ok = Save(window, out, QStringLiteral("cleared-answers.png"));
    window.hide();
    return ok;
}

// question-pane.png: the USB Type-C tab of a complete port form at 1366x768 with the question pane
// open on Type_C_Implements_Try_SRC.
bool RenderQuestionPane(const QDir& out) {
    CQuietPrompt prompt;
    CMarnelPropertySheet sheet(&prompt);
    sheet.Initialize();
    LoadOrvikBytes(sheet, L"FullPort.txt", orvik::testsupport::FullPortForm(2, 1, 2, 1));
    CSheetWindow window(sheet);
    window.resize(1366, 768);
    window.show();
    Settle();
    window.TabWidget()->setCurrentIndex(window.TabIndexOf(EPage::UsbTypeC));
    window.QuestionPane()->SetOpen(true);
    Settle();
    CParameterField* field = sheet.FindField(L"Type_C_Implements_Try_SRC");
    if (const CQtFieldControl* control = field ? window.View(EPage::UsbTypeC)->ControlOf(*field) : nullptr) {
        control->Input()->setFocus();
    }
    window.QuestionPane()->ShowQuestion(field);
    Settle();
    const bool ok = Save(window, out, QStringLiteral("question-pane.png"));
    window.hide();
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The question pane remembers whether it is open: not in the user's own settings.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: orvik_screenshots OUT_DIR [FILE...]\n");
        return 2;
    }
    QDir out(args[1]);
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args[1]));
        return 2;
    }
    std::vector<SForm> forms;
    if (args.size() == 2) {
        forms.push_back({QStringLiteral("port"), L"FullPort.txt", orvik::testsupport::FullPortForm()});
        forms.push_back({QStringLiteral("cable"), L"FullCable.txt", orvik::testsupport::FullCableForm()});
    }
    for (int i = 2; i < args.size(); ++i) {
        std::string bytes;
        std::wstring error;
        const std::wstring path = args[i].toStdWString();
        if (!ReadFileBytes(path, bytes, error)) {
            std::fprintf(stderr, "cannot read %ls: %ls\n", path.c_str(), error.c_str());
            return 2;
        }
        forms.push_back({FilePart(QFileInfo(args[i]).completeBaseName()), path, bytes});
    }

    bool ok = true;
    for (const SForm& form : forms) {
        ok = RenderForm(form, out) && ok;
    }
    if (args.size() == 2) {
        ok = RenderProblems(out) && ok;
        ok = RenderLoadReport(out) && ok;
        ok = RenderPdoChart(out) && ok;
        ok = RenderClearedAnswers(out) && ok;
        ok = RenderQuestionPane(out) && ok;
    }
    return ok ? 0 : 1;
}
