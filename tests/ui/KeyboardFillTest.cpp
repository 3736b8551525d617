// A whole port form filled in from an empty window with the keyboard alone: Tab to each control,
// keys to answer it, Ctrl+Tab to the next tab, Tab and Space to the list buttons, Enter for OK. The
// saved file must be byte for byte what the writer makes of the same answers.
#include "FullForm.h"
#include "KeyboardSupport.h"
#include "ListTestSupport.h"

#include "model/FieldList.h"
#include "model/FieldNames.h"
#include "model/ParameterField.h"
#include "persistence/FileWriter.h"
#include "persistence/OrvikReader.h"
#include "sheet/GroupListEditor.h"
#include "ui/GroupDialog.h"
#include "ui/ListPanel.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

namespace {

QString NameOf(const CParameterField& field) {
    return CQtFieldControl::LabelTextFor(field);
}

QString Questions(const CScriptedPrompt& prompt) {
    QStringList texts;
    for (const auto& shown : prompt.History()) {
        texts << QString::fromStdWString(shown.text);
    }
    return texts.join(QStringLiteral(" | "));
}

} // namespace

class KeyboardFillTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;
    std::unique_ptr<CScriptedPrompt> quiet;
    std::unique_ptr<CMarnelPropertySheet> answers;
    // The answers for the next group dialogs, the next one last.
    std::vector<const CFieldGroup*> pending;
    QStringList captions;

    void Start(const std::string& form) {
        quiet = std::make_unique<CScriptedPrompt>();
        answers = std::make_unique<CMarnelPropertySheet>(quiet.get());
        answers->SetReviewFlagsEnabled(false);
        answers->Initialize();
        QVERIFY(LoadOrvikBytes(*answers, L"answers.txt", form));
        f = std::make_unique<CUiFixture>();
        f->window->Hooks().SetGroupDialogRunner([this](CGroupDialog& dialog) { return RunDialog(dialog); });
        QVERIFY(keys::WaitForFocusIn(f->window.get()));
    }

    // What makes a page invalid, for failure messages.
    QString WhyInvalid(EPage page) const {
        const CPageSuper& p = f->sheet.Page(page);
        QStringList why{QString::fromStdWString(p.TabLabel())};
        if (p.ReviewFlag()) {
            why << QStringLiteral("flagged for review");
        }
        for (const CParameterField* field : p.Fields()) {
            if (field->IsAvailable() && !field->PassesValidity()) {
                const CParameterField* answer = answers->FindField(field->NamePattern());
                why << QStringLiteral("%1='%2' (answer '%3')")
                           .arg(NameOf(*field), QString::fromStdWString(field->Value()),
                                answer ? QString::fromStdWString(answer->Value()) : QString());
            }
        }
        return why.join(QStringLiteral(", "));
    }

    // ---- answering fields ----

    // Answers every shown, enabled field of `fields` whose answer differs, in form order, until a
    // pass changes nothing (an answer may make later fields available). The number of answers
    // given, or -1 on a failure.
    int Fill(const std::vector<CParameterField*>& fields,
             const std::function<const CParameterField*(const CParameterField&)>& answerOf,
             const std::function<bool(const CParameterField&)>& shown) {
        int given = 0;
        for (int pass = 0; pass < 5; ++pass) {
            bool changed = false;
            for (CParameterField* field : fields) {
                if (!field->IsAvailable() || !field->IsEnabled() || !shown(*field)) {
                    continue;
                }
                const CParameterField* answer = answerOf(*field);
                if (!answer || answer->Value().empty() || answer->Value() == field->Value()) {
                    continue;
                }
                if (!keys::TabTo(NameOf(*field)) || !keys::Answer(answer->Value())) {
                    return -1;
                }
                changed = true;
                ++given;
            }
            if (!changed) {
                break;
            }
        }
        return given;
    }

    // The current tab's fields and list; the number of answers and groups given, or -1.
    int FillCurrentPage() {
        const EPage page = f->sheet.ActivePage().Id();
        const int given = Fill(
            f->sheet.Page(page).Fields().Fields(),
            [this](const CParameterField& field) { return answers->FindField(field.NamePattern()); },
            [](const CParameterField&) { return true; });
        const EGroupType type = f->sheet.Page(page).ListedGroupType();
        if (given < 0 || type == EGroupType::None) {
            return given;
        }
        CListPanel* panel = PanelOf(page);
        const CFieldGroupList& want = answers->GetGroupList(type);
        int started = 0;
        if (panel && panel->Editor().LineCount() == 0 && want.Size() > 0) {
            if (!StartList(panel, type, want)) {
                return -1;
            }
            started = static_cast<int>(panel->Editor().LineCount());
        }
        const int added = FillList(f->window.get(), panel, want);
        return added < 0 ? -1 : given + started + added;
    }

    // ---- tabs ----

    // Ctrl+Tab once: the next tab, without the question for leaving an invalid page.
    bool NextTab() {
        const std::size_t asked = f->prompt.History().size();
        const EPage from = f->sheet.ActivePage().Id();
        keys::Press(Qt::Key_Tab, Qt::ControlModifier);
        if (f->prompt.History().size() != asked) {
            QTest::qFail(qPrintable(QStringLiteral("leaving a tab asked: ") + Questions(f->prompt) +
                                    QStringLiteral(" on ") + WhyInvalid(from)),
                         __FILE__, __LINE__);
            return false;
        }
        if (f->window->TabWidget()->count() > 1 && f->sheet.ActivePage().Id() == from) {
            QTest::qFail(qPrintable(QStringLiteral("Ctrl+Tab stayed on %1 (the keys go to %2)")
                                        .arg(f->CurrentTabText(),
                                             keys::Target() ? keys::Target()->objectName() : QString())),
                         __FILE__, __LINE__);
            return false;
        }
        return keys::WaitForFocusIn(f->window.get());
    }

    // Ctrl+Tab until `page` is the current tab.
    bool GoTo(EPage page) {
        for (int guard = 0; guard <= f->window->TabWidget()->count(); ++guard) {
            if (f->sheet.ActivePage().Id() == page) {
                return true;
            }
            if (!NextTab()) {
                return false;
            }
        }
        QTest::qFail("Ctrl+Tab never reaches the tab", __FILE__, __LINE__);
        return false;
    }

    // ---- lists ----

    CListPanel* PanelOf(EPage page) const {
        return qobject_cast<CListPanel*>(f->window->View(page)->ListPanel());
    }

    // Tab to the button, then `key` (Space or Enter), and the dialog that opens answered with
    // `answer`.
    bool PressListButton(QWidget* window, const QString& button, const CFieldGroup& answer,
                         int key = Qt::Key_Space) {
        pending.push_back(&answer);
        if (!keys::TabTo(button)) {
            return false;
        }
        keys::Press(key);
        if (!pending.empty() && pending.back() == &answer) {
            pending.pop_back();
            QTest::qFail(qPrintable(button + QStringLiteral(" opened no dialog")), __FILE__, __LINE__);
            return false;
        }
        return keys::WaitForFocusIn(window);
    }

    // Line `row` of the list chosen with Tab, Home and the arrow keys.
    bool SelectLine(CListPanel* panel, int row) {
        if (!keys::TabTo(QStringLiteral("ListLines"))) {
            return false;
        }
        keys::Press(Qt::Key_Home);
        for (int i = 0; i < row; ++i) {
            keys::Press(Qt::Key_Down);
        }
        if (panel->Editor().Selection() != row) {
            QTest::qFail(qPrintable(QStringLiteral("line %1 is selected instead of %2")
                                        .arg(panel->Editor().Selection())
                                        .arg(row)),
                         __FILE__, __LINE__);
            return false;
        }
        return true;
    }

    // The sheet's lists, each with a detour through another button: the fifth Source PDO is first
    // given the seventh's answers and then mended with Edit...; the third Sink PDO is left out and
    // then put in its place with Insert...; a second SVID with the third's answers is deleted again.
    bool StartList(CListPanel* panel, EGroupType type, const CFieldGroupList& want) {
        QWidget* window = f->window.get();
        const QString add = QStringLiteral("AddButton");
        if (type == EGroupType::SourcePdo && want.Size() == 7) {
            for (std::size_t i = 0; i < 7; ++i) {
                if (!PressListButton(window, add, want.At(i == 4 ? 6 : i))) {
                    return false;
                }
            }
            return SelectLine(panel, 4) && PressListButton(window, QStringLiteral("EditButton"), want.At(4));
        }
        if (type == EGroupType::SinkPdo && want.Size() == 7) {
            for (std::size_t i : {0, 1, 3, 4, 5, 6}) {
                if (!PressListButton(window, add, want.At(i))) {
                    return false;
                }
            }
            return SelectLine(panel, 2) &&
                   PressListButton(window, QStringLiteral("InsertButton"), want.At(2));
        }
        if (type == EGroupType::SopSvid && want.Size() == 3) {
            if (!PressListButton(window, add, want.At(0)) || !PressListButton(window, add, want.At(2)) ||
                !keys::TabTo(QStringLiteral("DeleteButton"))) {
                return false;
            }
            keys::Press(Qt::Key_Space);
            return panel->Editor().LineCount() == 1;
        }
        return true;
    }

    // Add... until the list holds as many groups as `want`; the number added, or -1.
    int FillList(QWidget* window, CListPanel* panel, const CFieldGroupList& want) {
        if (!panel) {
            QTest::qFail("the page has no list panel", __FILE__, __LINE__);
            return -1;
        }
        int added = 0;
        while (panel->Editor().LineCount() < want.Size()) {
            const std::size_t before = panel->Editor().LineCount();
            if (!PressListButton(window, QStringLiteral("AddButton"), want.At(before))) {
                return -1;
            }
            if (panel->Editor().LineCount() != before + 1) {
                QTest::qFail("Add... added no line", __FILE__, __LINE__);
                return -1;
            }
            ++added;
        }
        return added;
    }

    // ---- group dialogs ----

    int RunDialog(CGroupDialog& dialog) {
        captions << dialog.windowTitle();
        if (pending.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected dialog ") + dialog.windowTitle()), __FILE__,
                         __LINE__);
            return QDialog::Rejected;
        }
        const CFieldGroup* answer = pending.back();
        pending.pop_back();
        dialog.show();
        if (keys::WaitForFocusIn(&dialog) && FillDialog(dialog, *answer)) {
            keys::Press(Qt::Key_Return);
        }
        if (dialog.isVisible()) {
            QTest::qFail(
                qPrintable(dialog.windowTitle() + QStringLiteral(" stayed open: ") + Questions(f->prompt)),
                __FILE__, __LINE__);
            dialog.reject();
        }
        // What the window manager does when a modal dialog closes; the offscreen platform has none.
        if (QWidget* owner = dialog.parentWidget()) {
            owner->window()->activateWindow();
        }
        return dialog.result();
    }

    bool FillDialog(CGroupDialog& dialog, const CFieldGroup& answer) {
        CGroupWorkingCopy& copy = dialog.Copy();
        const int given = Fill(
            copy.Group().Fields().Fields(),
            [&answer](const CParameterField& field) { return answer.FindField(field.NamePattern()); },
            [&copy](const CParameterField& field) { return !copy.IsHidden(&field); });
        if (given < 0) {
            return false;
        }
        if (answer.ChildList() && answer.ChildList()->Size() > 0) {
            if (FillList(&dialog, dialog.ModesPanel(), *answer.ChildList()) < 0) {
                return false;
            }
            // Back to the first field, so that Enter is OK and not the focused button.
            for (CParameterField* field : copy.Group().Fields()) {
                if (field->IsAvailable() && field->IsEnabled() && !copy.IsHidden(field)) {
                    return keys::TabTo(NameOf(*field));
                }
            }
        }
        return true;
    }

    // Fills the form `form` describes from an empty window with the keys alone, tab after tab, then
    // saves with Enter: the saved bytes must be the writer's for the same answers, and what
    // `orvik print` makes of them.
    void FillAndSave(const std::string& form) {
        Start(form);
        QCOMPARE(f->sheet.ActivePage().Id(), EPage::Intro);

        // Tab after tab with Ctrl+Tab, round the end and again, until a whole round finds nothing
        // to answer: an answer may add tabs or flag pages already passed for review.
        int quiet = 0;
        for (int guard = 0; guard < 100 && quiet < f->window->TabWidget()->count(); ++guard) {
            const int given = FillCurrentPage();
            QVERIFY(given >= 0);
            quiet = given > 0 ? 0 : quiet + 1;
            QVERIFY(NextTab());
        }
        QVERIFY(quiet >= f->window->TabWidget()->count());
        QVERIFY(GoTo(EPage::Intro));
        QCOMPARE(f->window->TabPages().size(), answers->Tabs().size());
        for (EPage page : f->window->TabPages()) {
            QVERIFY2(f->sheet.Page(page).IsPageValid(), qPrintable(WhyInvalid(page)));
        }

        QVERIFY(keys::TabTo(QStringLiteral("Vendor_Name")));
        f->prompt.ClearHistory();
        keys::Press(Qt::Key_Return);
        QVERIFY2(!f->window->isVisible(), qPrintable(Questions(f->prompt)));
        QCOMPARE(f->window->result(), static_cast<int>(QDialog::Accepted));
        QVERIFY(f->Logged("OK button selected."));
        QCOMPARE(f->prompt.History().size(), std::size_t(1));
        QCOMPARE(f->prompt.History()[0].kind, CScriptedPrompt::Shown::Information);

        const QString path = f->dir.filePath(QString::fromStdWString(f->sheet.OutputFileName()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        file.close();
        QCOMPARE(saved, QByteArray::fromStdString(BuildOrvikBytes(*answers)));
#ifdef ORVIK_CLI_PATH
        QProcess print;
        print.start(QStringLiteral(ORVIK_CLI_PATH), {QStringLiteral("print"), path});
        QVERIFY(print.waitForFinished(60000));
        QCOMPARE(print.exitCode(), 0);
        QCOMPARE(print.readAllStandardOutput(), saved);
#endif
    }

private slots:
    void cleanup() {
        f.reset();
        answers.reset();
        quiet.reset();
        pending.clear();
        captions.clear();
    }

    // ---- the keys the window had to learn ----

    void ctrlTabAndCtrlPageKeysChangeTabsFromEveryControl() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->prompt.SetDefaultAnswer(true);
        QVERIFY(keys::WaitForFocusIn(f->window.get()));
        const std::vector<EPage> tabs = f->window->TabPages();
        QVERIFY(tabs.size() > 4);
        CParameterField* productType = f->sheet.FindField(L"^Orvik_Product_Type$");
        CParameterField* connector = f->sheet.FindField(L"^Connector_Type$");
        const std::wstring connectorValue = connector->Value();

        // From a pull-down, which takes these keys for itself unless the window has them first.
        QVERIFY(keys::TabTo(QStringLiteral("Orvik_Product_Type")));
        keys::Press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f->sheet.ActivePage().Id(), tabs[1]);
        QCOMPARE(productType->Value(), std::wstring(L"0"));
        QVERIFY(keys::TabTo(QStringLiteral("Connector_Type")));
        keys::Press(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(f->sheet.ActivePage().Id(), tabs[2]);
        QCOMPARE(connector->Value(), connectorValue);
        keys::Press(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(f->sheet.ActivePage().Id(), tabs[1]);
        QVERIFY(keys::TabTo(QStringLiteral("Connector_Type")));
        keys::Press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f->sheet.ActivePage().Id(), tabs[0]);
        QCOMPARE(connector->Value(), connectorValue);
        // Round the ends.
        keys::Press(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(f->sheet.ActivePage().Id(), tabs.back());
        keys::Press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f->sheet.ActivePage().Id(), tabs[0]);

        // From a list, which would move its selection on Ctrl+PageDown.
        QVERIFY(GoTo(EPage::Source));
        CListPanel* panel = PanelOf(EPage::Source);
        QVERIFY(SelectLine(panel, 1));
        const EPage after =
            f->window->TabPages()[static_cast<std::size_t>(f->window->TabIndexOf(EPage::Source)) + 1];
        keys::Press(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(f->sheet.ActivePage().Id(), after);
        QCOMPARE(panel->Editor().Selection(), 1);
    }

    void aPageShownForTheFirstTimeHasTheFocusOnItsFirstControl() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QVERIFY(keys::WaitForFocusIn(f->window.get()));
        QVERIFY(keys::TabTo(QStringLiteral("Model_Part_Number")));
        QVERIFY(!f->window->View(EPage::OrvikProduct)->IsBuilt());
        QCOMPARE(f->window->TabPages()[1], EPage::OrvikProduct);
        keys::Press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(f->sheet.ActivePage().Id(), EPage::OrvikProduct);
        QStringList shown;
        for (const CParameterField* field : f->sheet.Page(EPage::OrvikProduct).Fields()) {
            if (field->IsAvailable() && field->IsEnabled()) {
                shown << NameOf(*field);
            }
        }
        QVERIFY(shown.size() > 2);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), shown[0]);
        keys::Press(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), shown[1]);
        // A page seen before gets back the control that had the focus.
        keys::Press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f->sheet.ActivePage().Id(), EPage::Intro);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Model_Part_Number"));
    }

    void enterOnAFocusedListButtonPressesThatButtonAndElsewhereOk() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->prompt.SetDefaultAnswer(true);
        QVERIFY(keys::WaitForFocusIn(f->window.get()));
        CDialogScript script(*f->window);
        bool modesOpened = false;
        bool svidStayedOpen = false;
        script.Then([](CGroupDialog&) {}); // the Source PDO dialog, cancelled
        script.Then([&](CGroupDialog& d) {
            QVERIFY(keys::WaitForFocusIn(&d));
            QVERIFY(keys::TabTo(QStringLiteral("AddButton")));
            keys::Press(Qt::Key_Return);
            modesOpened = script.opened == 3;
            svidStayedOpen = d.isVisible();
        });

        QVERIFY(GoTo(EPage::Source));
        QVERIFY(keys::TabTo(QStringLiteral("AddButton")));
        keys::Press(Qt::Key_Return);
        QCOMPARE(script.opened, 1);
        QCOMPARE(script.captions.back(), QStringLiteral("Source PDO 3"));
        QVERIFY(!f->Logged("OK button selected."));
        QVERIFY(f->window->isVisible());

        // In an SVID dialog, Enter on its mode list's Add... opens a mode, it does not close the SVID.
        f->window->activateWindow();
        QVERIFY(keys::WaitForFocusIn(f->window.get()));
        QVERIFY(GoTo(EPage::SOPDiscovery2));
        QVERIFY(keys::TabTo(QStringLiteral("EditButton")));
        keys::Press(Qt::Key_Return);
        QCOMPARE(script.opened, 3);
        QVERIFY(modesOpened);
        QVERIFY(svidStayedOpen);
        QVERIFY(!f->Logged("OK button selected."));

        // Away from the buttons Enter is OK again.
        f->window->activateWindow();
        QVERIFY(keys::WaitForFocusIn(f->window.get()));
        QVERIFY(keys::TabTo(QStringLiteral("Num_SVIDs_min_SOP")) || keys::TabTo(QStringLiteral("ListLines")));
        keys::Press(Qt::Key_Return);
        QVERIFY(f->Logged("OK button selected."));
    }

    // ---- the whole form ----

    void aWholePortFormIsFilledAndSavedWithTheKeyboardAlone() {
        FillAndSave(orvik::testsupport::FullPortForm(7, 7, 3, 2));
        if (QTest::currentTestFailed()) {
            return;
        }
        // Every dialog was opened from a button: Add for each group, once more for the SVID deleted
        // again, Edit and Insert once each.
        QCOMPARE(captions.size(), (7 + 1) + 7 + (3 + 1) + (3 + 1) * 2);
        QCOMPARE(captions.count(QStringLiteral("Source PDO 5")), 2);
        QCOMPARE(captions.count(QStringLiteral("Sink PDO 3")), 2);
        QCOMPARE(captions.count(QStringLiteral("SOP SVID 2")), 2);
    }

    void aWholeCableFormIsFilledAndSavedWithTheKeyboardAlone() {
        FillAndSave(orvik::testsupport::FullCableForm(3, 2));
        if (QTest::currentTestFailed()) {
            return;
        }
        QCOMPARE(f->sheet.Page(EPage::Intro).Field(fieldname::kOrvikProductType)->Value(),
                 std::wstring(L"1"));
        // A dialog for each cable SVID and for each of its modes, each opened with Add.
        QCOMPARE(captions.size(), 3 + 3 * 2);
    }
};

QTEST_MAIN(KeyboardFillTest)
#include "KeyboardFillTest.moc"
