// Finding a question as a user does: Ctrl+F, typing, Enter and Shift+Enter, F3, Escape.
#include "FullForm.h"
#include "ListTestSupport.h"
#include "UiTestBase.h"

#include "model/ParameterField.h"
#include "ui/FindBar.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {} // namespace

class FindBarTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

    CFindBar* Bar() const { return f->window->FindBar(); }

    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : f->window.get();
        QTest::keyClick(target, key, modifiers);
    }

    // Ctrl+F from wherever the focus is, then the text typed key by key over what was there.
    void Find(const QString& text) {
        PressKey(Qt::Key_F, Qt::ControlModifier);
        QVERIFY(Bar()->isVisible());
        QTRY_VERIFY(Bar()->Edit()->hasFocus());
        QTest::keyClick(Bar()->Edit(), Qt::Key_Backspace);
        QTest::keyClicks(Bar()->Edit(), text);
    }

    QString CurrentTab() const { return f->CurrentTabText(); }

    // The match is shown on its page, marked, and the keyboard is still in the bar.
    bool Shows(const QString& name) const {
        return Bar()->ShownMatch() && Bar()->ShownMatch() == f->Input(name) && Bar()->Edit()->hasFocus();
    }

private slots:
    void cleanup() { f.reset(); }

    void ctrlFOpensTheBarAndCountsMatchesAsTheUserTypes() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        QVERIFY(!Bar()->isVisible());
        Find(QStringLiteral("manufacturer_info_"));
        QVERIFY(!Bar()->Edit()->accessibleName().isEmpty());
        const int count = static_cast<int>(Bar()->Matches().size());
        QVERIFY(count >= 3);
        QCOMPARE(Bar()->CountLabel()->text(), QStringLiteral("%1 matches").arg(count));
        QTest::keyClicks(Bar()->Edit(), QStringLiteral("vid_port"));
        QCOMPARE(Bar()->CountLabel()->text(), QStringLiteral("1 match"));
        QTest::keyClicks(Bar()->Edit(), QStringLiteral("x"));
        QCOMPARE(Bar()->CountLabel()->text(), QStringLiteral("No match"));
        // Typing moved nothing.
        QCOMPARE(CurrentTab(), QStringLiteral("Intro"));
        QVERIFY(Bar()->Edit()->hasFocus());
    }

    void enterShowsTheNextMatchAndKeepsTheKeyboardInTheBarHoweverOftenPressed() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        // The first three matches are on the General tab.
        Find(QStringLiteral("Manufacturer_Info_"));
        const int count = static_cast<int>(Bar()->Matches().size());
        PressKey(Qt::Key_Return);
        QCOMPARE(Bar()->CountLabel()->text(), QStringLiteral("1 of %1").arg(count));
        QCOMPARE(f->window->TabWidget()->currentIndex(), f->window->TabIndexOf(EPage::General));
        QTRY_VERIFY(Shows(QStringLiteral("Manufacturer_Info_Supported_Port")));
        // A second Enter is the next match, never the sheet's OK.
        PressKey(Qt::Key_Return);
        QCOMPARE(Bar()->CountLabel()->text(), QStringLiteral("2 of %1").arg(count));
        QVERIFY(Shows(QStringLiteral("Manufacturer_Info_VID_Port")));
        PressKey(Qt::Key_F3);
        QVERIFY(Shows(QStringLiteral("Manufacturer_Info_PID_Port")));
        PressKey(Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(Shows(QStringLiteral("Manufacturer_Info_VID_Port")));
        PressKey(Qt::Key_F3, Qt::ShiftModifier);
        QVERIFY(Shows(QStringLiteral("Manufacturer_Info_Supported_Port")));
        // Before the first, Shift+F3 wraps round to the last.
        PressKey(Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(Bar()->CountLabel()->text(), QStringLiteral("%1 of %1").arg(count));
        // Enter on the bar's buttons is theirs too.
        for (const char* button : {"FindNext", "FindPrevious"}) {
            Bar()->findChild<QToolButton*>(QLatin1String(button))->setFocus();
            PressKey(Qt::Key_Return);
            PressKey(Qt::Key_Enter);
        }
        QVERIFY(f->window->isVisible());
        QVERIFY(f->prompt.History().empty());
        QVERIFY(!f->Logged("OK button selected."));

        // Escape closes the bar and gives the keyboard to the match it showed, unmarked.
        QPointer<QWidget> shown = Bar()->ShownMatch();
        QVERIFY(shown);
        PressKey(Qt::Key_Escape);
        QVERIFY(!Bar()->isVisible());
        QTRY_VERIFY(shown->hasFocus());
        QVERIFY(!shown->palette().isBrushSet(QPalette::Active, QPalette::Base));
        QVERIFY(f->window->isVisible());
    }

    void nextWrapsFromTheLastToTheFirst() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        Find(QStringLiteral("RP_Value"));
        QCOMPARE(Bar()->Matches().size(), std::size_t(1));
        PressKey(Qt::Key_Return);
        QCOMPARE(CurrentTab(), QString::fromStdWString(f->sheet.Page(EPage::UsbTypeC).TabLabel()));
        QTRY_VERIFY(Shows(QStringLiteral("RP_Value")));
        QTest::mouseClick(Bar()->findChild<QToolButton*>(QStringLiteral("FindNext")), Qt::LeftButton);
        QCOMPARE(Bar()->CountLabel()->text(), QStringLiteral("1 of 1"));
        QCOMPARE(Bar()->NoteLabel()->text(), QStringLiteral("RP_Value (%1)").arg(CurrentTab()));
    }

    void questionsNotAskedAreNamedAsSuch() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        // A port has no cable tabs: the question exists but is not asked.
        Find(QStringLiteral("cable_latency"));
        QCOMPARE(Bar()->Matches().size(), std::size_t(1));
        PressKey(Qt::Key_Return);
        // The note says what keeps it from being asked, with the answer that decides it.
        QCOMPARE(
            Bar()->NoteLabel()->text(),
            QStringLiteral("Cable_Latency (Cable - Part One): not asked: needs `Product_Type` is answered; "
                           "now `Product_Type` = (none)"));
        // Enter went to the asked question that decides it, marked, the keyboard still in the bar.
        QCOMPARE(CurrentTab(), QStringLiteral("Intro"));
        QTRY_VERIFY(Shows(QStringLiteral("Orvik_Product_Type")));

        // A port asks for its label.
        f->ClickTab(EPage::Intro);
        Find(QStringLiteral("Port_Label"));
        PressKey(Qt::Key_Return);
        QCOMPARE(Bar()->NoteLabel()->text(), QStringLiteral("Port_Label (Intro)"));
        QTRY_VERIFY(Shows(QStringLiteral("Port_Label")));
    }

    void enterOnAnItemQuestionOpensTheItemsDialogAtTheQuestion() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        const QString tab = QString::fromStdWString(f->sheet.Page(EPage::Source).TabLabel());
        CDialogScript script(*f->window);
        script.Then([&](CGroupDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Source PDO 2"));
            QCOMPARE(CurrentTab(), tab);
            auto* panel = qobject_cast<CListPanel*>(f->window->View(EPage::Source)->ListPanel());
            QVERIFY(panel);
            QCOMPARE(panel->List()->currentRow(), 1);
            QCOMPARE(Bar()->NoteLabel()->text(),
                     QStringLiteral("Src_PDO_Peak_Current (Source PDO 2, %1)").arg(tab));
            // The keyboard goes to the question as the dialog takes it.
            QCOMPARE(dialog.focusWidget(),
                     dialog.ControlOf(QStringLiteral("Src_PDO_Peak_Current2"))->Input());
            PressCancel(dialog);
        });
        Find(QStringLiteral("peak_current"));
        QCOMPARE(Bar()->Matches().size(), std::size_t(2));
        // Shift+Enter: the last match, the second PDO's.
        PressKey(Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(script.opened, 1);
        QTRY_VERIFY(Bar()->Edit()->hasFocus());
        QCOMPARE(Bar()->CountLabel()->text(), QStringLiteral("2 of 2"));

        // A mode's question: its SVID's dialog, then in it the mode's.
        script.Then([&](CGroupDialog&) { QTRY_COMPARE(script.opened, 3); });
        script.Then([&](CGroupDialog& mode) {
            QCOMPARE(mode.focusWidget(), mode.ControlOf(QStringLiteral("SVID2_mode1_enter_SOP"))->Input());
        });
        Find(QStringLiteral("mode1_enter"));
        PressKey(Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(script.captions.mid(1),
                 QStringList({QStringLiteral("SOP SVID 2"), QStringLiteral("SOP SVID 2 - Mode 1")}));
        // The keyboard is back in the bar as the window takes it back.
        QCOMPARE(f->window->focusWidget(), Bar()->Edit());
    }

    void anUnavailableQuestionOnAPresentTabIsNamedAsSuch() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullCableForm());
        Find(QStringLiteral("Port_Label"));
        PressKey(Qt::Key_Return);
        QVERIFY2(Bar()->NoteLabel()->text().startsWith(
                     QStringLiteral("Port_Label (Intro): not asked: needs `Orvik_Product_Type` is 0; now "
                                    "`Orvik_Product_Type` = 1 : Cable")),
                 qPrintable(Bar()->NoteLabel()->text()));
        QVERIFY(Bar()->Edit()->hasFocus());
        QCOMPARE(CurrentTab(), QStringLiteral("Intro"));
    }

    void aForcedAnswerIsShownButCannotBeEdited() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        CParameterField* forced = f->sheet.FindField(L"Type_C_Sources_VCONN");
        QVERIFY(forced && forced->IsAvailable() && !forced->IsEnabled());
        Find(QStringLiteral("type_c_sources_vconn"));
        QCOMPARE(Bar()->Matches().size(), std::size_t(1));
        PressKey(Qt::Key_Return);
        QCOMPARE(f->window->TabWidget()->currentIndex(), f->window->TabIndexOf(EPage::UsbTypeC));
        QCOMPARE(Bar()->NoteLabel()->text(),
                 QStringLiteral("Type_C_Sources_VCONN (%1): cannot be edited").arg(CurrentTab()));
        QVERIFY(Bar()->Edit()->hasFocus());
    }

    void escapeClosesTheBarWithoutTheCancelQuestion() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("x"));
        QWidget* vendor = f->Input(QStringLiteral("Vendor_Name"));
        Find(QStringLiteral("tid"));
        PressKey(Qt::Key_Escape);
        QVERIFY(!Bar()->isVisible());
        QVERIFY(f->window->isVisible());
        QCOMPARE(f->QuestionsAsked(kCancel), 0);
        // The focus goes back where it was.
        QTRY_VERIFY(vendor->hasFocus());
        // Escape outside the bar is still the sheet's Cancel.
        f->prompt.SetNextAnswer(false);
        PressKey(Qt::Key_Escape);
        QCOMPARE(f->QuestionsAsked(kCancel), 1);
        QVERIFY(f->window->isVisible());
    }
};

QTEST_MAIN(FindBarTest)
#include "FindBarTest.moc"
