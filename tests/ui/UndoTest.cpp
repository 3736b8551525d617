// Undo and redo in the window, as a user reaches them: the buttons, Ctrl+Z, Ctrl+Shift+Z and
// Ctrl+Y from inside a box, and the bar that says what a choice cleared.
#include "FullForm.h"
#include "UiTestBase.h"

#include "catalog/GroupCatalog.h"
#include "persistence/FileWriter.h"
#include "sheet/GroupListEditor.h"
#include "ui/UndoControls.h"

#include <QComboBox>
#include <QMap>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>

class UndoTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

    CUndoControls& Undo() const { return *f->window->UndoControls(); }

private slots:
    void cleanup() { f.reset(); }

    void aChoiceThatClearsTabsIsToldAndTakenBackWholeByTheBar() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        const std::string loaded = BuildOrvikBytes(f->sheet);
        f->ClickTab(EPage::OrvikProduct);
        const QStringList tabs = f->TabTexts();
        QVERIFY(!Undo().UndoButton()->isEnabled());

        f->Choose(QStringLiteral("Connector_Type"), QStringLiteral("0 : Type-A"));
        QVERIFY(f->TabTexts().size() < tabs.size());
        CClearNoticeBar* bar = Undo().Bar();
        QVERIFY(bar->isVisible());
        QVERIFY2(
            bar->Text()->text().startsWith(QStringLiteral("Choosing Type-A for Connector_Type cleared ")),
            qPrintable(bar->Text()->text()));
        QCOMPARE(Undo().UndoButton()->toolTip(),
                 QStringLiteral("Undo: Connector_Type = 0 : Type-A (Ctrl+Z)"));

        QTest::mouseClick(bar->UndoButton(), Qt::LeftButton);
        QCOMPARE(f->TabTexts(), tabs);
        QCOMPARE(f->CurrentTabText(),
                 f->window->TabWidget()->tabText(f->window->TabIndexOf(EPage::OrvikProduct)));
        QCOMPARE(f->Combo(QStringLiteral("Connector_Type"))->currentText(),
                 QStringLiteral("2 : USB Type-C\u2122"));
        QCOMPARE(BuildOrvikBytes(f->sheet), loaded);
        QVERIFY(!bar->isVisible());
        QVERIFY(Undo().RedoButton()->isEnabled());

        // Redo and undo again from the keyboard, the focus in a pull-down; undo asks nothing.
        f->Focus(f->Combo(QStringLiteral("Connector_Type")));
        QTest::keyClick(f->window.get(), Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(f->TabTexts().size() < tabs.size());
        QTest::keyClick(f->window.get(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->TabTexts(), tabs);
        QCOMPARE(f->prompt.History().size(), std::size_t{0});
    }

    void showListsWhatTheChoiceClearedByTabWithTheOldValues() {
        f = std::make_unique<CUiFixture>();
        for (const auto& [name, value] : {std::pair{L"Orvik_Product_Type", L"0"},
                                          {L"Connector_Type", L"2"},
                                          {L"USB_PD_Support", L"YES"},
                                          {L"PD_Port_Type", L"4"}}) {
            f->sheet.ApplyUserChange(f->sheet.FindField(name), value);
        }
        CGroupListEditor editor(f->sheet.GetGroupList(EGroupType::SourcePdo), &f->sheet);
        CGroupWorkingCopy& pdo = editor.BeginAdd();
        for (const auto& [name, value] : {std::pair{L"Src_PDO_Supply_Type1", L"0"},
                                          {L"Src_PDO_Peak_Current1", L"0"},
                                          {L"Src_PDO_Voltage1", L"5000"},
                                          {L"Src_PDO_Max_Current1", L"3000"}}) {
            pdo.SetAnswer(name, value);
        }
        QVERIFY(editor.Ok());
        // Leaving the unfinished Intro tab is answered Yes.
        f->prompt.SetDefaultAnswer(true);
        f->ClickTab(EPage::OrvikProduct);
        f->Choose(QStringLiteral("USB_PD_Support"), QStringLiteral("NO"));

        CClearNoticeBar* bar = Undo().Bar();
        QTreeWidget* details = bar->Details();
        QVERIFY(bar->isVisible() && !details->isVisible());
        QTest::mouseClick(bar->ShowButton(), Qt::LeftButton);
        QVERIFY(details->isVisible());
        QCOMPARE(bar->ShowButton()->text(), QStringLiteral("Hide"));

        // A heading per tab the text counts; under them a line per answer and item it counts.
        const SClearedAnswers& cleared = f->sheet.History().LastCleared();
        QCOMPARE(static_cast<std::size_t>(details->topLevelItemCount()), cleared.tabs);
        QMap<QString, QPair<QString, QString>> lines; // name: tab, old value
        for (int t = 0; t < details->topLevelItemCount(); ++t) {
            QTreeWidgetItem* tab = details->topLevelItem(t);
            for (int i = 0; i < tab->childCount(); ++i) {
                lines[tab->child(i)->text(0)] = {tab->text(0), tab->child(i)->text(1)};
            }
        }
        QCOMPARE(static_cast<std::size_t>(lines.size()), cleared.answers + 1);
        QCOMPARE(lines.value(QStringLiteral("PD_Port_Type")),
                 qMakePair(QStringLiteral("Orvik Product"), QStringLiteral("4 : DRP")));
        QCOMPARE(lines.value(QStringLiteral("Source PDO 1")),
                 qMakePair(QStringLiteral("PD Source"),
                           QStringLiteral(
                               "PDO 1 - Fixed: Peak Current=100% IOC, Voltage=5000mV, Max Current=3000mA")));

        // Undo gives back what the list names.
        QTest::mouseClick(bar->UndoButton(), Qt::LeftButton);
        QCOMPARE(f->Combo(QStringLiteral("PD_Port_Type"))->currentText(), QStringLiteral("4 : DRP"));
        QCOMPARE(f->sheet.GetGroupList(EGroupType::SourcePdo).Size(), std::size_t{1});
    }

    void escapeClosesTheBarWithoutTheCancelQuestion() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        f->ClickTab(EPage::OrvikProduct);
        f->Choose(QStringLiteral("Connector_Type"), QStringLiteral("0 : Type-A"));
        QVERIFY(Undo().Bar()->isVisible());
        QTest::keyClick(f->Combo(QStringLiteral("Connector_Type")), Qt::Key_Escape);
        QVERIFY(!Undo().Bar()->isVisible());
        QCOMPARE(f->QuestionsAsked(kCancel), 0);
        QVERIFY(f->window->isVisible());
    }

    void typingInABoxIsOneStepAndCtrlZInTheBoxTakesItBack() {
        f = std::make_unique<CUiFixture>();
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("Acme"));
        QCOMPARE(Undo().UndoButton()->toolTip(), QStringLiteral("Undo: $Vendor_Name = Acme (Ctrl+Z)"));
        QTest::keyClick(f->Edit(QStringLiteral("Vendor_Name")), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QString());
        QCOMPARE(f->sheet.FindField(L"$Vendor_Name")->Value(), std::wstring());
        QVERIFY(!Undo().UndoButton()->isEnabled());
        QTest::keyClick(f->Edit(QStringLiteral("Vendor_Name")), Qt::Key_Z,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f->Edit(QStringLiteral("Vendor_Name"))->text(), QStringLiteral("Acme"));
    }
};

QTEST_MAIN(UndoTest)
#include "UndoTest.moc"
