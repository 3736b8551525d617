// Undo and redo in the window, as a user reaches them: the buttons, Ctrl+Z, Ctrl+Shift+Z and
// Ctrl+Y from inside a box, and the bar that says what a choice cleared.
#include "FullForm.h"
#include "UiTestBase.h"

#include "persistence/FileWriter.h"
#include "ui/UndoControls.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>

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
