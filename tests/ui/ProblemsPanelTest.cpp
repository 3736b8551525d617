// The problems panel driven as a user drives it: F8 and the Problems button, Enter and double
// clicks on entries, OK refused, with the boxes' answers scripted.
#include "FullForm.h"
#include "UiTestBase.h"

#include "catalog/GroupCatalog.h"
#include "sheet/Problems.h"
#include "ui/ListPanel.h"
#include "ui/ProblemsPanel.h"

#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The complete port of FullPortForm(2, 1, 2, 1) with some of its answers replaced.
std::string EditedPort(const std::vector<std::pair<std::string, std::string>>& edits) {
    std::string text = orvik::testsupport::FullPortForm(2, 1, 2, 1);
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from);
        if (at == std::string::npos) {
            qWarning("no %s", from.c_str());
            continue;
        }
        text.replace(at, from.size(), to);
    }
    return text;
}

const std::vector<std::pair<std::string, std::string>> kSeveral = {
    {"RP_Value: 2", "RP_Value: 7"},
    {"PD_Power_as_Source: 60000", "PD_Power_as_Source: 15500"},
    {"Num_Src_PDOs: 2", "Num_Src_PDOs: 3"},
    {"Src_PDO_Max_Current2: 300", "Src_PDO_Max_Current2: 600"},
    {"SVID2_SOP: 0xFF02", "SVID2_SOP: 0xFF01"},
    {"Type_C_Implements_Try_SRC: NO", "Type_C_Implements_Try_SRC: YES"},
    {"Type_C_Implements_Try_SNK: NO", "Type_C_Implements_Try_SNK: YES"},
};

// What the command-line check prints for the same answers, without the tab lines.
QStringList CheckedReasons(const CMarnelPropertySheet& sheet) {
    QStringList reasons;
    for (const SProblem& problem : CollectProblems(sheet)) {
        reasons << QString::fromStdWString(problem.reason);
    }
    return reasons;
}

QStringList Headings(const QTreeWidget* tree) {
    QStringList headings;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        headings << tree->topLevelItem(i)->text(0);
    }
    return headings;
}

} // namespace

class ProblemsPanelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

    CProblemsPanel* Panel() const { return f->window->ProblemsPanel(); }

    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : f->window.get();
        QTest::keyClick(target, key, modifiers);
    }

    // Opens the panel with F8 and puts the current entry on the one with `text`.
    QTreeWidgetItem* OpenAt(const QString& text) {
        if (!Panel()->IsOpen()) {
            PressKey(Qt::Key_F8);
        }
        [&] { QTRY_VERIFY(Panel()->Tree()->hasFocus()); }();
        const QList<QTreeWidgetItem*> found =
            Panel()->Tree()->findItems(text, Qt::MatchStartsWith | Qt::MatchRecursive);
        if (found.size() != 1) {
            qWarning("%lld entries start with %s", static_cast<long long>(found.size()), qPrintable(text));
            return nullptr;
        }
        Panel()->Tree()->setCurrentItem(found.front());
        return found.front();
    }

    // A window started with a file loaded, its tabs already looked at: only the answers count.
    void StartReviewed(const std::string& form) {
        f = std::make_unique<CUiFixture>(form);
        for (CPageSuper* page : f->sheet.Tabs()) {
            page->SetReviewFlag(false);
        }
    }

private slots:
    void cleanup() { f.reset(); }

    void hiddenAtFirstAndF8OrTheButtonShowAndHideIt() {
        f = std::make_unique<CUiFixture>(EditedPort(kSeveral));
        QVERIFY(!Panel()->isVisible());
        QPushButton* button = Panel()->ToggleButton();
        QCOMPARE(button->text(), QStringLiteral("Problems"));
        QVERIFY(button->isCheckable() && !button->isChecked());
        QVERIFY(!button->accessibleName().isEmpty());
        QVERIFY(!Panel()->Tree()->accessibleName().isEmpty());

        PressKey(Qt::Key_F8);
        QVERIFY(Panel()->isVisible());
        QVERIFY(button->isChecked());
        // The keyboard user lands in the list.
        QTRY_VERIFY(Panel()->Tree()->hasFocus());
        PressKey(Qt::Key_F8);
        QVERIFY(!Panel()->isVisible());
        QVERIFY(!button->isChecked());

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(Panel()->isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!Panel()->isVisible());
        QVERIFY(f->window->isVisible());
        QCOMPARE(f->QuestionsAsked(kCancel), 0);
    }

    void listsWhatTheCheckReportsUnderTheTabsInTabOrder() {
        StartReviewed(EditedPort(kSeveral));
        PressKey(Qt::Key_F8);
        const QStringList expected = CheckedReasons(f->sheet);
        QVERIFY(expected.size() >= 6);
        QCOMPARE(Panel()->EntryTexts(), expected);
        QVERIFY(expected.contains(
            QStringLiteral("RP_Value: invalid value \"7\" (choices: 0 Default, 1 1.5A, 2 3A)")));
        QVERIFY(expected.contains(
            QStringLiteral("Type_C_Implements_Try_SRC and Type_C_Implements_Try_SNK are both YES")));

        QStringList tabs;
        for (EPage page : f->window->TabPages()) {
            if (!CollectPageProblems(f->sheet.Page(page)).empty()) {
                tabs << QString::fromStdWString(f->sheet.Page(page).TabLabel());
            }
        }
        QCOMPARE(Headings(Panel()->Tree()), tabs);
        QVERIFY(tabs.size() >= 3);
        // Every entry is read out under its tab.
        QTreeWidgetItem* source = Panel()->Tree()->topLevelItem(
            static_cast<int>(tabs.indexOf(QString::fromStdWString(f->sheet.Page(EPage::Source).TabLabel()))));
        QVERIFY(source && source->childCount() >= 2);
        QVERIFY(source->isExpanded());
        QCOMPARE(Panel()->Summary()->text(),
                 QStringLiteral("%1 problems on %2 tabs").arg(expected.size()).arg(tabs.size()));
    }

    void screenReadersReadTheEntries() {
        f = std::make_unique<CUiFixture>(EditedPort({{"RP_Value: 2", "RP_Value: 7"}}));
        PressKey(Qt::Key_F8);
        QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(Panel()->Tree());
        QVERIFY(tree);
        QCOMPARE(tree->text(QAccessible::Name), QStringLiteral("Problems"));
        QStringList read;
        for (int i = 0; i < tree->childCount(); ++i) {
            if (QAccessibleInterface* child = tree->child(i)) {
                read << child->text(QAccessible::Name);
            }
        }
        for (const QString& reason : CheckedReasons(f->sheet)) {
            QVERIFY2(read.contains(reason), qPrintable(read.join(QLatin1Char('|'))));
        }
        QVERIFY(read.contains(QString::fromStdWString(f->sheet.Page(EPage::UsbTypeC).TabLabel())));
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(Panel()->ToggleButton());
        QVERIFY(button && button->text(QAccessible::Name) == QStringLiteral("Problems"));
        QVERIFY(button->state().checked);
    }

    void aCompleteFormHasNone() {
        StartReviewed(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        PressKey(Qt::Key_F8);
        QVERIFY(Panel()->EntryTexts().isEmpty());
        QCOMPARE(Panel()->Tree()->topLevelItemCount(), 0);
        QCOMPARE(Panel()->Summary()->text(), QStringLiteral("No problems with the current answers."));
    }

    void followsEveryChange() {
        StartReviewed(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        PressKey(Qt::Key_F8);
        QVERIFY(Panel()->EntryTexts().isEmpty());
        f->Clear(QStringLiteral("Vendor_Name"));
        QCOMPARE(Panel()->EntryTexts(), QStringList{QStringLiteral("$Vendor_Name: missing")});
        QCOMPARE(Headings(Panel()->Tree()), QStringList{QStringLiteral("Intro")});
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("Acme"));
        QVERIFY(Panel()->EntryTexts().isEmpty());

        // A change while it is closed shows when it opens again.
        PressKey(Qt::Key_F8);
        QVERIFY(!Panel()->isVisible());
        f->Clear(QStringLiteral("Model_Part_Number"));
        PressKey(Qt::Key_F8);
        QCOMPARE(Panel()->EntryTexts(), CheckedReasons(f->sheet));
        QCOMPARE(Panel()->EntryTexts(), QStringList{QStringLiteral("$Model_Part_Number: missing")});

        // A list change made through the list panel.
        f->prompt.SetNextAnswer(true);
        f->ClickTab(EPage::Source);
        auto* list = qobject_cast<CListPanel*>(f->window->View(EPage::Source)->ListPanel());
        QVERIFY(list);
        list->List()->setCurrentRow(1);
        QTest::mouseClick(list->DeleteButton(), Qt::LeftButton);
        QCOMPARE(Panel()->EntryTexts(), CheckedReasons(f->sheet));
        QVERIFY(Panel()->EntryTexts().size() == 2);
    }

    void enterOnAnEntryMovesToItsFieldOnAnotherTab() {
        f = std::make_unique<CUiFixture>(EditedPort({{"RP_Value: 2", "RP_Value: 7"}}));
        QCOMPARE(f->window->TabWidget()->currentIndex(), f->window->TabIndexOf(EPage::Intro));
        QVERIFY(OpenAt(QStringLiteral("RP_Value: ")));
        PressKey(Qt::Key_Return);
        QVERIFY(f->window->isVisible());
        QCOMPARE(f->window->TabWidget()->currentIndex(), f->window->TabIndexOf(EPage::UsbTypeC));
        QTRY_VERIFY(f->Input(QStringLiteral("RP_Value"))->hasFocus());
        // Enter did not reach the sheet's default button.
        QVERIFY(f->prompt.History().empty());
    }

    void aDoubleClickMovesToo() {
        f = std::make_unique<CUiFixture>(EditedPort({{"RP_Value: 2", "RP_Value: 7"}}));
        QTreeWidgetItem* item = OpenAt(QStringLiteral("RP_Value: "));
        QVERIFY(item);
        QTreeWidget* tree = Panel()->Tree();
        const QPoint at = tree->visualItemRect(item).center();
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(f->window->TabWidget()->currentIndex(), f->window->TabIndexOf(EPage::UsbTypeC));
        QTRY_VERIFY(f->Input(QStringLiteral("RP_Value"))->hasFocus());
    }

    void aGroupProblemSelectsItsLineInTheList() {
        f = std::make_unique<CUiFixture>(
            EditedPort({{"Src_PDO_Max_Current2: 300", "Src_PDO_Max_Current2: 600"}}));
        QVERIFY(OpenAt(QStringLiteral("Src_PD_OCP_OC_Threshold2: ")));
        PressKey(Qt::Key_Return);
        QCOMPARE(f->window->TabWidget()->currentIndex(), f->window->TabIndexOf(EPage::Source));
        auto* list = qobject_cast<CListPanel*>(f->window->View(EPage::Source)->ListPanel());
        QVERIFY(list);
        QCOMPARE(list->List()->currentRow(), 1);
        QVERIFY(list->List()->currentItem()->isSelected());
        QTRY_VERIFY(list->List()->hasFocus());
    }

    void theLeavePageQuestionIsAskedAsForATabClick() {
        f = std::make_unique<CUiFixture>(EditedPort({{"RP_Value: 2", "RP_Value: 7"}}));
        f->Clear(QStringLiteral("Vendor_Name"));
        QVERIFY(OpenAt(QStringLiteral("RP_Value: ")));
        f->prompt.SetNextAnswer(false);
        PressKey(Qt::Key_Return);
        QCOMPARE(f->QuestionsAsked(kLeave), 1);
        QCOMPARE(f->window->TabWidget()->currentIndex(), f->window->TabIndexOf(EPage::Intro));
        QVERIFY(!f->Input(QStringLiteral("RP_Value")) || !f->Input(QStringLiteral("RP_Value"))->hasFocus());

        f->prompt.SetNextAnswer(true);
        QVERIFY(OpenAt(QStringLiteral("RP_Value: ")));
        PressKey(Qt::Key_Return);
        QCOMPARE(f->QuestionsAsked(kLeave), 2);
        QCOMPARE(f->window->TabWidget()->currentIndex(), f->window->TabIndexOf(EPage::UsbTypeC));
        QTRY_VERIFY(f->Input(QStringLiteral("RP_Value"))->hasFocus());
    }

    void aRefusedSaveOpensItAfterTheBoxes() {
        StartReviewed(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        f->Clear(QStringLiteral("Vendor_Name"));
        QVERIFY(!Panel()->isVisible());
        QTest::mouseClick(f->window->OkButton(), Qt::LeftButton);
        QVERIFY(f->window->isVisible());
        QVERIFY(!f->prompt.History().empty());
        QCOMPARE(f->prompt.History().back().kind, CScriptedPrompt::Shown::Error);
        QVERIFY(Panel()->isVisible());
        QVERIFY(Panel()->ToggleButton()->isChecked());
        QCOMPARE(Panel()->EntryTexts(), QStringList{QStringLiteral("$Vendor_Name: missing")});

        // Apply refused the same way, after closing it.
        PressKey(Qt::Key_F8);
        QVERIFY(!Panel()->isVisible());
        QTest::mouseClick(f->window->ApplyButton(), Qt::LeftButton);
        QVERIFY(Panel()->isVisible());
    }

    void afterALoadTheUnvisitedTabsAreListedAndARefusedSaveOpensOnTheFirst() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        QTest::mouseClick(f->window->ApplyButton(), Qt::LeftButton);
        QCOMPARE(f->prompt.History().back().kind, CScriptedPrompt::Shown::Error);
        QVERIFY(Panel()->isVisible());
        const QString reason = QStringLiteral("not yet reviewed since the load");
        QStringList unvisited;
        for (EPage page : f->window->TabPages()) {
            if (page != f->sheet.ActivePage().Id()) {
                unvisited << QString::fromStdWString(f->sheet.Page(page).TabLabel());
            }
        }
        QCOMPARE(Headings(Panel()->Tree()), unvisited);
        QCOMPARE(Panel()->EntryTexts(), QStringList(QList<QString>(unvisited.size(), reason)));
        QTreeWidgetItem* first = Panel()->Tree()->currentItem();
        QVERIFY(first && first->parent());
        QCOMPARE(first->parent()->text(0), unvisited.front());

        // Enter on it goes to the tab, which is then reviewed.
        Panel()->Tree()->setFocus();
        PressKey(Qt::Key_Return);
        QCOMPARE(f->CurrentTabText(), unvisited.front());
        QCOMPARE(Panel()->EntryTexts().size(), unvisited.size() - 1);
        QVERIFY(!Headings(Panel()->Tree()).contains(unvisited.front()));
    }

    void aSuccessfulApplyLeavesItClosed() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 1, 2, 1));
        for (EPage page : std::vector<EPage>(f->window->TabPages())) {
            f->ClickTab(page);
        }
        QTest::mouseClick(f->window->ApplyButton(), Qt::LeftButton);
        QCOMPARE(f->prompt.History().back().kind, CScriptedPrompt::Shown::Information);
        QVERIFY(!Panel()->isVisible());
    }
};

QTEST_MAIN(ProblemsPanelTest)
#include "ProblemsPanelTest.moc"
