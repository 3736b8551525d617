// The Intro page's buttons and the ways a file gets into the window (Load Orvik, a drop), driven
// as a user drives them, with the boxes' answers scripted.
#include "FullForm.h"
#include "UiTestBase.h"

#include "persistence/OrvikReader.h"
#include "ui/IntroPanel.h"
#include "ui/ListPanel.h"
#include "ui/LoadReportView.h"

#include <QAbstractButton>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QUrl>

#include <memory>
#include <random>
#include <string>

namespace {

// The tabs a sheet without a window shows for the same bytes.
QStringList HeadlessTabs(const std::string& bytes) {
    CScriptedPrompt quiet;
    CMarnelPropertySheet headless(&quiet);
    headless.Initialize();
    LoadOrvikBytes(headless, L"same.txt", bytes);
    if (!headless.FieldVector().Empty()) {
        headless.Reevaluate(0, {.initial = true});
    }
    return LabelsOf(headless.Tabs());
}

std::string Narrow(const QString& text) {
    return text.toStdString();
}

QStringList ToQStringList(const std::vector<std::wstring>& lines) {
    QStringList list;
    for (const std::wstring& line : lines) {
        list << QString::fromStdWString(line);
    }
    return list;
}

} // namespace

class IntroPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

    CIntroPanel* Panel() const {
        auto* panel = qobject_cast<CIntroPanel*>(f->window->View(EPage::Intro)->Extras());
        return panel;
    }

    // A file in the test's folder holding `bytes`; answers its full path.
    QString WriteFile(const QString& name, const std::string& bytes) {
        const QString path = f->dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            return {};
        }
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    void ClickLoad(const QString& path) {
        f->prompt.SetNextFileName(path.toStdWString());
        QTest::mouseClick(Panel()->LoadButton(), Qt::LeftButton);
    }

    // Drags `urls` over the window (or `target`) and drops them; answers whether the drop was taken.
    bool Drop(const QList<QUrl>& urls, QWidget* target = nullptr) {
        QWidget* on = target ? target : f->window.get();
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = on->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }

    CLoadReportView* Report() const { return f->window->LoadReportView(); }

    // Types into the vendor name, so the Intro page holds data.
    void TypeVendor(const QString& text = QStringLiteral("typed")) {
        f->Type(QStringLiteral("Vendor_Name"), text);
        QCOMPARE(f->sheet.FindField(L"$Vendor_Name")->Value(), text.toStdWString());
    }

private slots:
    void cleanup() {
        qunsetenv(CIntroPanel::kRegressionVariable);
        f.reset();
    }

    // ---- the buttons ----

    void theIntroPageHasReleaseNotesAndLoadButRegressionTestingOnlyWithTheVariable() {
        qunsetenv(CIntroPanel::kRegressionVariable);
        f = std::make_unique<CUiFixture>();
        QVERIFY(Panel());
        QCOMPARE(Panel()->ReleaseNotesButton()->text(), QStringLiteral("Release Notes"));
        QCOMPARE(Panel()->LoadButton()->text(), QStringLiteral("Load Orvik"));
        QVERIFY(Panel()->ReleaseNotesButton()->isVisible());
        QVERIFY(Panel()->LoadButton()->isVisible());
        QVERIFY(!Panel()->RegressionTestingButton()->isVisible());
        QVERIFY(!Panel()->RegressionTestingButton()->isEnabled());
        f.reset();

        // Set but empty counts as not set.
        qputenv(CIntroPanel::kRegressionVariable, QByteArray(""));
        f = std::make_unique<CUiFixture>();
        QVERIFY(!Panel()->RegressionTestingButton()->isVisible());
        f.reset();

        qputenv(CIntroPanel::kRegressionVariable, QByteArray("1"));
        f = std::make_unique<CUiFixture>();
        QPushButton* regression = Panel()->RegressionTestingButton();
        QCOMPARE(regression->text(), QStringLiteral("Regression Testing"));
        QVERIFY(regression->isVisible());
        QVERIFY(regression->isEnabled());
        QString caption;
        QStringList buttons;
        int runs = 0;
        f->window->Hooks().SetDialogRunner([&](QDialog& dialog) {
            ++runs;
            caption = dialog.windowTitle();
            for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
                buttons << button->text().remove(QLatin1Char('&'));
            }
            QTest::mouseClick(static_cast<CRegressionTestingDialog&>(dialog).OkButton(), Qt::LeftButton);
            return dialog.result();
        });
        QTest::mouseClick(regression, Qt::LeftButton);
        QCOMPARE(runs, 1);
        QCOMPARE(caption, QStringLiteral("Regression Testing"));
        QCOMPARE(buttons, QStringList{QStringLiteral("OK")});
        // The dialog changes nothing.
        QVERIFY(f->prompt.History().empty());
        QCOMPARE(f->TabTexts(), LabelsOf(f->sheet.Tabs()));
    }

    void theRegressionTestingDialogClosesWithOk() {
        CRegressionTestingDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    void releaseNotesAsksTheWindowForTheNotes() {
        f = std::make_unique<CUiFixture>();
        QSignalSpy spy(f->window.get(), &CSheetWindow::releaseNotesRequested);
        QTest::mouseClick(Panel()->ReleaseNotesButton(), Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
        QTest::mouseClick(Panel()->ReleaseNotesButton(), Qt::LeftButton);
        QCOMPARE(spy.count(), 2);
        QVERIFY(f->prompt.History().empty());
    }

    void theVersionFieldsShowTheirTextButCannotBeTyped() {
        f = std::make_unique<CUiFixture>();
        QLineEdit* spec = f->Edit(QStringLiteral("Orvik_Specification"));
        QLineEdit* producer = f->Edit(QStringLiteral("Orvik_Producer"));
        QVERIFY(spec && producer);
        QCOMPARE(spec->text(), QStringLiteral("Revision 1.36, Version 1.0"));
        QCOMPARE(producer->text(), QStringLiteral("Halvex Marnel File Generator, Version 1.2.2.2"));
        for (QLineEdit* edit : {spec, producer}) {
            QVERIFY(edit->isReadOnly());
            QVERIFY(edit->isEnabled());
            QVERIFY(edit->focusPolicy() != Qt::NoFocus);
            const QString before = edit->text();
            f->Focus(edit);
            QTest::keyClicks(edit, QStringLiteral("xyz"));
            QTest::keyClick(edit, Qt::Key_Backspace);
            QCOMPARE(edit->text(), before);
        }
        QCOMPARE(f->sheet.FindField(L"$Orvik_Specification")->Value(),
                 std::wstring(L"Revision 1.36, Version 1.0"));
        // The other text boxes stay editable.
        QVERIFY(!f->Edit(QStringLiteral("Vendor_Name"))->isReadOnly());
    }

    // ---- Load Orvik ----

    void loadRightAfterStartAsksNothingAndShowsTheLoadedForm() {
        f = std::make_unique<CUiFixture>();
        const std::string bytes = orvik::testsupport::FullPortForm(7, 7, 52, 6);
        const QString path = WriteFile(QStringLiteral("port.txt"), bytes);
        ClickLoad(path);
        QVERIFY(f->prompt.History().empty());
        QVERIFY(f->Logged("About to select Orvik for loading."));
        QVERIFY(f->Logged("Orvik " + Narrow(path) + " selected."));
        QVERIFY(f->Logged("Success: Orvik " + Narrow(path) + " loaded."));
        QCOMPARE(f->TabTexts(), LabelsOf(f->sheet.Tabs()));
        QCOMPARE(f->TabTexts(), HeadlessTabs(bytes));
        QVERIFY(f->TabTexts().contains(QStringLiteral("PD Source")));
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Orvik Generator 1.2.2.2 - [port.txt]"));
        // The shown page holds the file's answers.
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Intro"));
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("Ab Co"));
        QCOMPARE(f->Combo(QStringLiteral("Orvik_Product_Type"))->currentData().toInt(), 0);
        // The same answers from a file of another name: no answer changes, the caption names it.
        f->prompt.SetDefaultAnswer(true);
        ClickLoad(WriteFile(QStringLiteral("copy.txt"), bytes));
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Orvik Generator 1.2.2.2 - [copy.txt]"));

        // Every tab, including the largest lists, shows what was loaded.
        const std::vector<EPage> tabs = f->window->TabPages();
        for (EPage page : tabs) {
            f->ClickTab(page);
            QCOMPARE(f->window->TabWidget()->currentWidget(), static_cast<QWidget*>(f->window->View(page)));
        }
        f->ClickTab(EPage::Source);
        auto* source = qobject_cast<CListPanel*>(f->window->View(EPage::Source)->ListPanel());
        QVERIFY(source);
        QCOMPARE(source->List()->count(), 7);
        f->ClickTab(EPage::SOPDiscovery2);
        auto* svids = qobject_cast<CListPanel*>(f->window->View(EPage::SOPDiscovery2)->ListPanel());
        QVERIFY(svids);
        QCOMPARE(svids->List()->count(), 52);
    }

    void afterTypingNoLeavesEverythingAndYesLoadsTheFilesTabSet() {
        f = std::make_unique<CUiFixture>();
        const std::string port = orvik::testsupport::FullPortForm(2, 2, 1, 1);
        const QString path = WriteFile(QStringLiteral("port.txt"), port);
        TypeVendor();
        const QStringList before = f->TabTexts();
        const QString title = f->window->windowTitle();

        f->prompt.SetNextAnswer(false);
        ClickLoad(path);
        QCOMPARE(f->QuestionsAsked(kOverwrite), 1);
        QCOMPARE(static_cast<int>(f->prompt.History().size()), 1);
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("typed"));
        QCOMPARE(f->sheet.FindField(L"$Vendor_Name")->Value(), std::wstring(L"typed"));
        QCOMPARE(f->TabTexts(), before);
        QCOMPARE(f->window->windowTitle(), title);
        QVERIFY(!f->Logged("Orvik " + Narrow(path) + " selected."));

        f->prompt.ClearHistory();
        f->prompt.SetNextAnswer(true);
        ClickLoad(path);
        QCOMPARE(f->QuestionsAsked(kOverwrite), 1);
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("Ab Co"));
        QCOMPARE(f->TabTexts(), HeadlessTabs(port));
        QVERIFY(f->TabTexts().contains(QStringLiteral("PD Sink")));
        QVERIFY(!f->TabTexts().contains(QStringLiteral("Cable - Part One")));

        // A cable file replaces the port's tabs by the cable's.
        const std::string cable = orvik::testsupport::FullCableForm(2, 2);
        const QString cablePath = WriteFile(QStringLiteral("cable.txt"), cable);
        f->prompt.ClearHistory();
        f->prompt.SetNextAnswer(true);
        ClickLoad(cablePath);
        QCOMPARE(f->QuestionsAsked(kOverwrite), 1);
        QCOMPARE(f->TabTexts(), HeadlessTabs(cable));
        QVERIFY(f->TabTexts().contains(QStringLiteral("Cable - Part One")));
        QVERIFY(!f->TabTexts().contains(QStringLiteral("PD Source")));
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Orvik Generator 1.2.2.2 - [cable.txt]"));
        QCOMPARE(f->CurrentTabText(), QStringLiteral("Intro"));
    }

    void pagesShownBeforeALoadShowTheNewAnswersAndLists() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->prompt.SetDefaultAnswer(true);
        f->ClickTab(EPage::Source);
        auto* source = qobject_cast<CListPanel*>(f->window->View(EPage::Source)->ListPanel());
        QVERIFY(source);
        QCOMPARE(source->List()->count(), 2);
        f->ClickTab(EPage::SOPDiscovery2);
        auto* svids = qobject_cast<CListPanel*>(f->window->View(EPage::SOPDiscovery2)->ListPanel());
        QVERIFY(svids);
        QCOMPARE(svids->List()->count(), 1);
        f->ClickTab(EPage::Intro);
        f->Clear(QStringLiteral("Port_Label"));
        f->Type(QStringLiteral("Port_Label"), QStringLiteral("changed"));

        const std::string largest = orvik::testsupport::FullPortForm(7, 7, 52, 6);
        ClickLoad(WriteFile(QStringLiteral("largest.txt"), largest));
        QCOMPARE(f->QuestionsAsked(kOverwrite), 1);
        QCOMPARE(f->Edit(QStringLiteral("Port_Label"))->text(), QStringLiteral("P1"));
        QCOMPARE(f->TabTexts(), HeadlessTabs(largest));
        // The lists already built follow before they are shown again.
        QCOMPARE(source->List()->count(), 7);
        QCOMPARE(svids->List()->count(), 52);
        f->ClickTab(EPage::Source);
        QCOMPARE(f->Edit(QStringLiteral("Num_Src_PDOs"))->text(), QStringLiteral("7"));
    }

    void loadingFromAnotherTabWhoseTabGoesAwayLandsOnAShownTab() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->prompt.SetDefaultAnswer(true);
        f->ClickTab(EPage::Source);
        QCOMPARE(f->CurrentTabText(), QStringLiteral("PD Source"));
        // The Load button lives on the Intro page; from there the cable file drops the Source tab.
        f->ClickTab(EPage::Intro);
        const QString cablePath = WriteFile(QStringLiteral("cable.txt"), orvik::testsupport::FullCableForm());
        ClickLoad(cablePath);
        QVERIFY(!f->TabTexts().contains(QStringLiteral("PD Source")));
        QCOMPARE(f->window->TabWidget()->count(), static_cast<int>(f->window->TabPages().size()));
        const int current = f->window->TabWidget()->currentIndex();
        QVERIFY(current >= 0);
        QCOMPARE(f->window->TabWidget()->currentWidget(),
                 static_cast<QWidget*>(f->window->View(f->sheet.ActivePage().Id())));
    }

    void aCancelledDialogOnlyLogs() {
        f = std::make_unique<CUiFixture>();
        TypeVendor();
        const QStringList before = f->TabTexts();
        f->prompt.SetNextFileDialogCancelled();
        QTest::mouseClick(Panel()->LoadButton(), Qt::LeftButton);
        QVERIFY(f->prompt.History().empty());
        QVERIFY(f->Logged("No Orvik selected: cancelled by user."));
        QCOMPARE(f->TabTexts(), before);
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("typed"));

        // A dialog failure is reported with its code.
        f->prompt.SetNextFileDialogCancelled(12);
        QTest::mouseClick(Panel()->LoadButton(), Qt::LeftButton);
        QCOMPARE(static_cast<int>(f->prompt.History().size()), 1);
        QCOMPARE(f->prompt.History()[0].kind, CScriptedPrompt::Shown::Error);
        QCOMPARE(f->prompt.History()[0].text,
                 std::wstring(L"Unable to load Orvik: CommDlgExtendedError = 12."));
    }

    void anUnreadableFileShowsTheFailureBoxAndKeepsTheTabs_data() {
        QTest::addColumn<bool>("directory");
        QTest::newRow("a folder") << true;
        QTest::newRow("a missing file") << false;
    }

    void anUnreadableFileShowsTheFailureBoxAndKeepsTheTabs() {
        QFETCH(bool, directory);
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->prompt.SetDefaultAnswer(true);
        QString path = f->dir.filePath(QStringLiteral("gone.txt"));
        if (directory) {
            QVERIFY(QDir(f->dir.path()).mkdir(QStringLiteral("folder.txt")));
            path = f->dir.filePath(QStringLiteral("folder.txt"));
        }
        const QStringList before = f->TabTexts();
        const QString title = f->window->windowTitle();
        ClickLoad(path);
        const std::wstring failure = L"Failure: Unable to load Orvik " + path.toStdWString() + L".";
        bool readBox = false;
        int failureBoxes = 0;
        for (const auto& shown : f->prompt.History()) {
            if (shown.kind == CScriptedPrompt::Shown::Error) {
                readBox |=
                    shown.text.rfind(L"Couldn't read from file '" + path.toStdWString() + L"': ", 0) == 0;
                failureBoxes += shown.text == failure;
            }
        }
        QVERIFY(readBox);
        QCOMPARE(failureBoxes, 1);
        QCOMPARE(f->prompt.History().back().text, failure);
        QVERIFY(f->Logged(Narrow(QString::fromStdWString(failure))));
        QCOMPARE(f->TabTexts(), before);
        QCOMPARE(f->window->windowTitle(), title);
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("Ab Co"));
    }

    void emptyAndBinaryFilesLoadWithoutHarm_data() {
        QTest::addColumn<QByteArray>("bytes");
        // Bytes of which not one line is an entry are no Orvik file: they are refused, not loaded.
        QTest::addColumn<bool>("loads");
        QTest::newRow("empty") << QByteArray() << true;
        std::mt19937 random(20261209);
        QByteArray noise;
        for (int i = 0; i < 64 * 1024; ++i) {
            noise.append(static_cast<char>(random() & 0xFF));
        }
        noise[10] = '\0';
        noise.append(QByteArray("\0\0\r\n\0Orvik_Product_Type: 0\r\n\0", 27));
        QTest::newRow("random bytes with NUL") << noise << false;
        QTest::newRow("NUL only") << QByteArray(4096, '\0') << false;
    }

    void emptyAndBinaryFilesLoadWithoutHarm() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->prompt.SetDefaultAnswer(true);
        const QString path = WriteFile(QStringLiteral("odd.txt"), bytes.toStdString());
        const QStringList before = f->TabTexts();
        ClickLoad(path);
        if (loads) {
            QVERIFY(f->Logged("Success: Orvik " + Narrow(path) + " loaded."));
            QCOMPARE(f->TabTexts(), HeadlessTabs(bytes.toStdString()));
            QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QString());
            QCOMPARE(f->Edit(QStringLiteral("Orvik_Producer"))->text(),
                     QStringLiteral("Halvex Marnel File Generator, Version 1.2.2.2"));
        } else {
            QVERIFY(f->Logged("Failure: Unable to load Orvik " + Narrow(path) + "."));
            QCOMPARE(f->TabTexts(), before);
            QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("Ab Co"));
        }
        QCOMPARE(f->TabTexts(), LabelsOf(f->sheet.Tabs()));
        // The window still works: every tab can be visited and the Load button used again.
        for (EPage page : std::vector<EPage>(f->window->TabPages())) {
            f->ClickTab(page);
        }
        f->ClickTab(EPage::Intro);
        const QString port =
            WriteFile(QStringLiteral("port.txt"), orvik::testsupport::FullPortForm(2, 2, 1, 1));
        ClickLoad(port);
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("Ab Co"));
    }

    // ---- drops ----

    void droppingATextFileLoadsIt() {
        f = std::make_unique<CUiFixture>();
        const std::string bytes = orvik::testsupport::FullPortForm(2, 2, 1, 1);
        const QString path = WriteFile(QStringLiteral("dropped.txt"), bytes);
        QVERIFY(Drop({QUrl::fromLocalFile(path)}));
        QTRY_VERIFY(f->Logged("Success: Orvik " + Narrow(path) + " loaded."));
        QVERIFY(f->prompt.History().empty());
        QVERIFY(!f->Logged("About to select Orvik for loading."));
        QVERIFY(f->Logged("Orvik " + Narrow(path) + " selected."));
        QCOMPARE(f->TabTexts(), HeadlessTabs(bytes));
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Orvik Generator 1.2.2.2 - [dropped.txt]"));
    }

    void droppingOnATextBoxLoadsInsteadOfTyping() {
        f = std::make_unique<CUiFixture>();
        const QString path =
            WriteFile(QStringLiteral("upper.TXT"), orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QLineEdit* model = f->Edit(QStringLiteral("Model_Part_Number"));
        QVERIFY(Drop({QUrl::fromLocalFile(path)}, model));
        QTRY_VERIFY(f->Logged("Success: Orvik " + Narrow(path) + " loaded."));
        QCOMPARE(model->text(), QStringLiteral("M/1"));
    }

    void aDropAsksWhenDataWasEntered() {
        f = std::make_unique<CUiFixture>();
        const QString path =
            WriteFile(QStringLiteral("dropped.txt"), orvik::testsupport::FullPortForm(2, 2, 1, 1));
        TypeVendor();
        f->prompt.SetNextAnswer(false);
        QVERIFY(Drop({QUrl::fromLocalFile(path)}));
        QTRY_COMPARE(f->QuestionsAsked(kOverwrite), 1);
        QTest::qWait(20);
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("typed"));
        QVERIFY(!f->Logged("Orvik " + Narrow(path) + " selected."));

        f->prompt.SetNextAnswer(true);
        QVERIFY(Drop({QUrl::fromLocalFile(path)}));
        QTRY_COMPARE(f->QuestionsAsked(kOverwrite), 2);
        QTRY_COMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("Ab Co"));
    }

    void droppingAMissingTextFileShowsTheFailureBox() {
        f = std::make_unique<CUiFixture>();
        const QStringList before = f->TabTexts();
        const QString path = f->dir.filePath(QStringLiteral("missing.txt"));
        QVERIFY(Drop({QUrl::fromLocalFile(path)}));
        const std::wstring failure = L"Failure: Unable to load Orvik " + path.toStdWString() + L".";
        QTRY_VERIFY(!f->prompt.History().empty() && f->prompt.History().back().text == failure);
        QCOMPARE(f->TabTexts(), before);
    }

    void otherDropsAreRefused() {
        f = std::make_unique<CUiFixture>();
        const QString other = WriteFile(QStringLiteral("picture.png"), "PNG");
        const QString noSuffix = WriteFile(QStringLiteral("txt"), "$Vendor_Name: \"x\"\r\n");
        const QString a = WriteFile(QStringLiteral("a.txt"), "$Vendor_Name: \"a\"\r\n");
        const QString b = WriteFile(QStringLiteral("b.txt"), "$Vendor_Name: \"b\"\r\n");
        QVERIFY(!Drop({QUrl::fromLocalFile(other)}));
        QVERIFY(!Drop({QUrl::fromLocalFile(noSuffix)}));
        QVERIFY(!Drop({QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)}));
        QVERIFY(!Drop({QUrl(QStringLiteral("https://example.invalid/a.txt"))}));
        QTest::qWait(20);
        QApplication::processEvents();
        for (const std::string& line : f->log.Lines()) {
            QVERIFY2(line.find("selected.") == std::string::npos, line.c_str());
        }
        QVERIFY(f->prompt.History().empty());
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QString());
        QCOMPARE(CFileDropLoader::LoadablePath(nullptr), QString());
    }

    // ---- the load report ----

    void aFileOfJunkIsReportedAsNoOrvikFileAndLeavesTheAnswers() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->prompt.SetDefaultAnswer(true);
        QVERIFY(!Report()->IsOpen());
        f->Focus(Panel()->LoadButton());
        const char junk[] = "\x7f"
                            "ELF\0\0\r\nnot a line\r\n\xff\xfe\r\n";
        ClickLoad(WriteFile(QStringLiteral("junk.txt"), std::string(junk, sizeof junk - 1)));
        QVERIFY(Report()->isVisible());
        QCOMPARE(Report()->window(), static_cast<QWidget*>(f->window.get()));
        QCOMPARE(Report()->ShownLines().value(0), QStringLiteral("[not loaded] not an Orvik file"));
        QCOMPARE(Report()->ShownLines(), ToQStringList(LoadReportOf(f->sheet)->Lines()));
        QCOMPARE(Report()->Text()->toPlainText(), Report()->ShownLines().join(QLatin1Char('\n')));
        QVERIFY(Report()->Heading()->text().contains(QStringLiteral("junk.txt")));
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("Ab Co"));
        QCOMPARE(f->TabTexts(), LabelsOf(f->sheet.Tabs()));

        // The report takes the keyboard and tells a screen reader what it is; Escape closes it,
        // without the Cancel question, and gives the focus back.
        QTRY_VERIFY(Report()->Text()->hasFocus());
        QCOMPARE(Report()->Text()->accessibleName(), QStringLiteral("Load report"));
        QVERIFY(Report()->Text()->accessibleDescription().contains(QStringLiteral("junk.txt")));
        QTest::keyClick(Report()->Text(), Qt::Key_Escape);
        QVERIFY(!Report()->IsOpen());
        QCOMPARE(f->QuestionsAsked(kCancel), 0);
        QVERIFY(f->window->isVisible());
        QTRY_VERIFY(Panel()->LoadButton()->hasFocus());
    }

    void itemsBeyondTheirListsLimitAreCountedAndShowAllListsEachOne() {
        f = std::make_unique<CUiFixture>();
        ClickLoad(WriteFile(QStringLiteral("many.txt"), orvik::testsupport::FullPortForm(500, 2, 1, 1)));
        QVERIFY(f->prompt.History().empty());
        QVERIFY(Report()->isVisible());
        const QStringList first = Report()->ShownLines();
        QCOMPARE(first, ToQStringList(LoadReportOf(f->sheet)->Lines()));
        QVERIFY(first.contains(QStringLiteral("[beyond limit] 493 repeated items")));
        QVERIFY(first.contains(QStringLiteral("  and 488 more")));

        // From the report, Tab reaches Show all and Space presses it.
        QVERIFY(Report()->ShowAllButton()->isVisible());
        QTRY_VERIFY(Report()->Text()->hasFocus());
        QTest::keyClick(Report()->Text(), Qt::Key_Tab);
        QVERIFY(Report()->ShowAllButton()->hasFocus());
        QTest::keyClick(Report()->ShowAllButton(), Qt::Key_Space);
        const QStringList all = Report()->ShownLines();
        QCOMPARE(all.size(), 1 + 493);
        QCOMPARE(all.back(), QStringLiteral("  Src_PDO_Supply_Type500"));
        QCOMPARE(Report()->Text()->toPlainText(), all.join(QLatin1Char('\n')));

        QTest::mouseClick(Report()->CloseButton(), Qt::LeftButton);
        QVERIFY(!Report()->IsOpen());
        QVERIFY(f->window->isVisible());
    }

    void aCleanLoadShowsNoReportAndTakesAnEarlierOneDown() {
        f = std::make_unique<CUiFixture>();
        f->prompt.SetDefaultAnswer(true);
        const QString clean =
            WriteFile(QStringLiteral("port.txt"), orvik::testsupport::FullPortForm(2, 2, 1, 1));
        ClickLoad(clean);
        QVERIFY(f->Logged("Success: Orvik " + Narrow(clean) + " loaded."));
        QVERIFY(!Report()->IsOpen());

        // A drop reports too.
        QVERIFY(Drop({QUrl::fromLocalFile(
            WriteFile(QStringLiteral("odd.txt"), "$Vendor_Name: \"V\"\r\nOdd: 1\r\n"))}));
        QTRY_VERIFY(Report()->IsOpen());
        QCOMPARE(Report()->ShownLines(),
                 QStringList({QStringLiteral("[unknown] 1 field"), QStringLiteral("  Odd")}));
        QVERIFY(!Report()->ShowAllButton()->isVisible());

        ClickLoad(clean);
        QVERIFY(!Report()->IsOpen());
    }
};

QTEST_MAIN(IntroPageTest)
#include "IntroPageTest.moc"
