// The question pane as a user meets it: F1 and its button, the question in focus told in words, a
// link that goes to the question it names, and the pane open again in the next run.
#include "FullForm.h"
#include "ListTestSupport.h"
#include "UiTestBase.h"

#include "ui/QuestionPane.h"

#include <QApplication>
#include <QCursor>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <memory>

namespace {

// The words a pane shows; none before its first question, when it has no words' box yet.
QString Words(const CQuestionPane* pane) {
    return pane->Text() ? pane->Text()->toPlainText() : QString();
}

} // namespace

class QuestionPaneTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> settings;
    std::unique_ptr<CUiFixture> f;

    CQuestionPane* Pane() const { return f->window->QuestionPane(); }
    QString Text() const { return Words(Pane()); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        // The pane remembers whether it was open: in a folder of this test's own.
        settings = std::make_unique<QTemporaryDir>();
        QVERIFY(settings->isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings->path());
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(1, 1, 1, 1));
    }

    void cleanup() {
        f.reset();
        settings.reset();
    }

    void f1ShowsAndHidesThePaneAndTheNextRunRemembers() {
        QVERIFY(!Pane()->isVisible());
        const int pageHeight = f->window->TabWidget()->height();
        QTest::keyClick(f->window.get(), Qt::Key_F1);
        QTRY_VERIFY(Pane()->isVisible());
        QVERIFY(Pane()->ToggleButton()->isChecked());
        QTRY_VERIFY(f->window->TabWidget()->height() < pageHeight);
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(1, 1, 1, 1));
        QVERIFY(Pane()->isVisible());
        QTest::mouseClick(Pane()->ToggleButton(), Qt::LeftButton);
        QTRY_VERIFY(!Pane()->isVisible());
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(1, 1, 1, 1));
        QVERIFY(!Pane()->isVisible());
        // Closed with the pane open and the pointer resting on a question: taking the pages down
        // moves the pointer over controls already gone, and the pane must not look for them.
        QTest::keyClick(f->window.get(), Qt::Key_F1);
        QTRY_VERIFY(Pane()->isVisible());
        f->ClickTab(EPage::OrvikProduct);
        QWidget* input = f->Input(QStringLiteral("Connector_Type"));
        QVERIFY(input);
        QCursor::setPos(input->mapToGlobal(input->rect().center()));
        QTest::mouseMove(input);
        f.reset();
    }

    void theQuestionInFocusIsToldAndItsLinksGoToTheQuestionsTheyName() {
        QTest::keyClick(f->window.get(), Qt::Key_F1);
        QTRY_VERIFY(Pane()->isVisible());
        f->ClickTab(EPage::UsbTypeC);
        f->Focus(f->Input(QStringLiteral("Type_C_Implements_Try_SRC")));
        QTRY_VERIFY(Text().startsWith(QStringLiteral("Type_C_Implements_Try_SRC (")));
        QVERIFY2(Text().contains(QStringLiteral("Asked when Type_C_State_Machine is 2;")),
                 qPrintable(Text()));
        QVERIFY(Text().contains(QStringLiteral("now Type_C_State_Machine = 2 : DRP")));
        QVERIFY(Text().contains(QStringLiteral("Takes YES or NO.")));
        // A picture to look at, when one is asked for.
        if (const QByteArray folder = qgetenv("ORVIK_SCREENSHOT_DIR"); !folder.isEmpty()) {
            QVERIFY(f->window->grab().save(QString::fromLocal8Bit(folder) +
                                           QStringLiteral("/question-pane.png")));
        }

        // The first link is the condition's question: Tab reaches it, Enter follows it.
        f->Focus(Pane()->Text());
        QTest::keyClick(Pane()->Text(), Qt::Key_Tab);
        QTest::keyClick(Pane()->Text(), Qt::Key_Return);
        QTRY_VERIFY(QApplication::focusWidget() == f->Input(QStringLiteral("Type_C_State_Machine")) ||
                    f->CurrentTabText() == QStringLiteral("Orvik Product"));
        QTRY_VERIFY(Text().startsWith(QStringLiteral("Type_C_State_Machine (")));
        // A DRP port's state machine offers DRP alone; a different port type would clear answers.
        QVERIFY2(Text().contains(QStringLiteral("0 : SRC and 1 : SNK are left out.")), qPrintable(Text()));
        f->ClickTab(EPage::OrvikProduct);
        f->Focus(f->Input(QStringLiteral("PD_Port_Type")));
        QTRY_VERIFY(Text().startsWith(QStringLiteral("PD_Port_Type (")));
        // Told a moment after the focus rests.
        QTRY_VERIFY2(
            Text().contains(QStringLiteral("A different answer would clear now: 0 : Consumer Only clears ")),
            qPrintable(Text()));
    }

    // A PDO's dialog has the pane too, open as the window's was left: it tells the PDO's questions
    // and its links go to the PDO's own.
    void aGroupDialogTellsItsQuestionsAndLinksToItsOwn() {
        QTest::keyClick(f->window.get(), Qt::Key_F1);
        QTRY_VERIFY(Pane()->isVisible());
        f->ClickTab(EPage::Source);
        auto* panel = qobject_cast<CListPanel*>(f->window->View(EPage::Source)->ListPanel());
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        CDialogScript script(*f->window);
        QString told;
        QString followed;
        script.Then([&](CGroupDialog& d) {
            QVERIFY(d.QuestionPane() && d.QuestionPane()->isVisible());
            QWidget* current = d.ControlOf(QStringLiteral("Src_PDO_Max_Current1"))->Input();
            current->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(Words(d.QuestionPane()).startsWith(QStringLiteral("Src_PDO_Max_Current1")));
            told = d.QuestionPane()->Text()->toPlainText();
            d.QuestionPane()->Text()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(d.QuestionPane()->Text(), Qt::Key_Tab);
            QTest::keyClick(d.QuestionPane()->Text(), Qt::Key_Return);
            followed = d.QuestionPane()->Text()->toPlainText();
            PressCancel(d);
        });
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
        QVERIFY2(told.contains(QStringLiteral("Takes a number from 0 to 5000 mA, in steps of 10.")),
                 qPrintable(told));
        QVERIFY2(told.contains(QStringLiteral(
                     "Asked when Src_PDO_Supply_Type is 0, 2 or 3; now Src_PDO_Supply_Type = 0 : Fixed.")),
                 qPrintable(told));
        // The first PDO's supply type is fixed: the link tells it, and why.
        QVERIFY2(followed.startsWith(QStringLiteral("Src_PDO_Supply_Type1 (PD Source)")),
                 qPrintable(followed));
        QVERIFY(followed.contains(
            QStringLiteral("Fixed at 0 : Fixed by the program: set to 0 : Fixed for the first PDO.")));
    }
};

QTEST_MAIN(QuestionPaneTest)
#include "QuestionPaneTest.moc"
