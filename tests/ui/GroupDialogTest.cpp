// Group dialogs opened from the list panels: captions, OK refused on invalid answers, Cancel,
// the mode dialogs' fields and the SVID dialogs' own mode list.
#include "FullForm.h"
#include "ListTestSupport.h"

#include "catalog/GroupCatalog.h"
#include "ui/QuestionPane.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>

#include <memory>

namespace {

const std::wstring kModesFixed = SopSvidNames().modesFixed;

bool RowShown(CGroupDialog& d, const QString& name) {
    QWidget* input = d.findChild<QWidget*>(name);
    return input && input->isVisibleTo(&d);
}

QString TextOf(CGroupDialog& d, const QString& name) {
    auto* edit = d.findChild<QLineEdit*>(name);
    return edit ? edit->text() : QStringLiteral("<none>");
}

QString ScreenshotFolder(QTemporaryDir& temp) {
    const QByteArray target = qgetenv("ORVIK_SCREENSHOT_DIR");
    const QString folder = target.isEmpty() ? temp.path() : QString::fromLocal8Bit(target);
    QDir().mkpath(folder);
    return folder;
}

} // namespace

class GroupDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

    CListPanel* Open(EPage page) {
        if (!f) {
            f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(3, 2, 2, 2));
        }
        f->ClickTab(page);
        CListPanel* panel = qobject_cast<CListPanel*>(f->window->View(page)->ListPanel());
        // A page built on its first visit shows its new widgets from the event loop.
        if (panel && !QTest::qWaitFor([panel] { return panel->isVisible(); })) {
            return nullptr;
        }
        return panel;
    }

private slots:
    void cleanup() { f.reset(); }

    void dialogIsModalToTheSheetWindowAndCaptionedWithItsNumber() {
        CListPanel* panel = Open(EPage::Source);
        QVERIFY(panel);
        CDialogScript script(*f->window);
        script.Then([this](CGroupDialog& d) {
            QCOMPARE(d.windowModality(), Qt::WindowModal);
            QCOMPARE(d.parentWidget(), static_cast<QWidget*>(f->window.get()));
            QVERIFY(d.findChild<QComboBox*>(QStringLiteral("Src_PDO_Supply_Type4")));
            QVERIFY(!d.ModesPanel());
            // The field's help is the control's tip, as on pages.
            QTextDocument tip;
            tip.setHtml(d.findChild<QWidget*>(QStringLiteral("Src_PDO_Voltage4"))->toolTip());
            QVERIFY(tip.toPlainText().trimmed().startsWith(QStringLiteral("Output voltage.")));
            PressCancel(d);
        });
        QTest::mouseClick(panel->AddButton(), Qt::LeftButton);
        QCOMPARE(script.captions, QStringList{QStringLiteral("Source PDO 4")});
    }

    void withoutAScriptTheDialogRunsModally() {
        CListPanel* panel = Open(EPage::Sink);
        QVERIFY(panel);
        QString caption;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CGroupDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            caption = dialog->windowTitle();
            PressCancel(*dialog);
        });
        QTest::mouseClick(panel->AddButton(), Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("Sink PDO 3"));
        QCOMPARE(f->sheet.GetGroupList(EGroupType::SinkPdo).Size(), std::size_t{2});
        QVERIFY(!panel->Editor().Working());
    }

    void okOnAnInvalidDialogIsRefusedWithTheNumberedCaption() {
        CListPanel* panel = Open(EPage::Sink);
        QVERIFY(panel);
        CDialogScript script(*f->window);
        bool stayedOpen = false;
        script.Then([&](CGroupDialog& d) {
            PressOk(d);
            stayedOpen = d.isVisible();
            // The box was shown once, with the dialog's caption; the answers are still there.
            ChooseIn(d, QStringLiteral("Snk_PDO_Supply_Type3"), QStringLiteral("0 : Fixed"));
            PressOk(d);
            stayedOpen = stayedOpen && d.isVisible();
            PressCancel(d);
        });
        QTest::mouseClick(panel->AddButton(), Qt::LeftButton);
        QVERIFY(stayedOpen);
        const std::wstring message = L"Sink PDO 3 dialog not filled out or invalid data entered.";
        int errors = 0;
        for (const auto& shown : f->prompt.History()) {
            errors += shown.kind == CScriptedPrompt::Shown::Error && shown.text == message;
        }
        QCOMPARE(errors, 2);
        QVERIFY(f->Logged("Sink PDO 3 dialog not filled out or invalid data entered."));
        QCOMPARE(f->sheet.GetGroupList(EGroupType::SinkPdo).Size(), std::size_t{2});
        QCOMPARE(panel->List()->count(), 2);
    }

    void invalidFieldIsRedInTheDialog() {
        CListPanel* panel = Open(EPage::Sink);
        QVERIFY(panel);
        CDialogScript script(*f->window);
        script.Then([](CGroupDialog& d) {
            TypeInto(d, QStringLiteral("Snk_PDO_Op_Current2"), QString());
            QVERIFY(
                CUiFixture::IsMarkedInvalid(d.findChild<QLineEdit*>(QStringLiteral("Snk_PDO_Op_Current2"))));
            TypeInto(d, QStringLiteral("Snk_PDO_Op_Current2"), QStringLiteral("200"));
            QVERIFY(
                !CUiFixture::IsMarkedInvalid(d.findChild<QLineEdit*>(QStringLiteral("Snk_PDO_Op_Current2"))));
            // An answer the working copy takes by other means shows in the box, coloured, at once.
            auto* box = d.findChild<QLineEdit*>(QStringLiteral("Snk_PDO_Op_Current2"));
            d.Copy().SetAnswer(L"Snk_PDO_Op_Current2", L"");
            QCOMPARE(box->text(), QString());
            QVERIFY(CUiFixture::IsMarkedInvalid(box));
            d.Copy().SetAnswer(L"Snk_PDO_Op_Current2", L"150");
            QCOMPARE(box->text(), QStringLiteral("150"));
            QVERIFY(!CUiFixture::IsMarkedInvalid(box));
            PressCancel(d);
        });
        panel->List()->setCurrentRow(1);
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
    }

    void cancelLeavesTheGroupUntouched() {
        CListPanel* panel = Open(EPage::Sink);
        QVERIFY(panel);
        const CFieldGroupList& list = f->sheet.GetGroupList(EGroupType::SinkPdo);
        const QString before = GroupValue(list, 1, SinkPdoNames().current);
        const QStringList lines = LinesOf(panel->List());
        CDialogScript script(*f->window);
        script.Then([](CGroupDialog& d) {
            TypeInto(d, QStringLiteral("Snk_PDO_Op_Current2"), QStringLiteral("120"));
            PressCancel(d);
        });
        panel->List()->setCurrentRow(1);
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
        QCOMPARE(GroupValue(list, 1, SinkPdoNames().current), before);
        QCOMPARE(LinesOf(panel->List()), lines);
    }

    void modeDialogShowsTheEnterFieldOrTheRecognitionFields() {
        CListPanel* panel = Open(EPage::SOPDiscovery2);
        QVERIFY(panel);
        QCOMPARE(panel->List()->count(), 2);
        CDialogScript script(*f->window);
        QStringList modeLines;
        script.Then([&](CGroupDialog& svid) {
            CListPanel* modes = svid.ModesPanel();
            QVERIFY(modes);
            QCOMPARE(modes->Label()->text(), QStringLiteral("SVID Modes"));
            QCOMPARE(modes->List()->count(), 2);
            QCOMPARE(modes->List()->toolTip(), QStringLiteral("Defined SVID Modes."));
            QCOMPARE(modes->AddButton()->toolTip(), QStringLiteral("Add a new SVID Mode to the list."));
            QCOMPARE(modes->List()->currentRow(), 0);
            QTest::mouseClick(modes->EditButton(), Qt::LeftButton);
            // Modes not fixed: the recognition fields, and no enter field.
            ChooseIn(svid, QStringLiteral("SVID1_modes_fixed_SOP"), QStringLiteral("NO"));
            modeLines = LinesOf(modes->List());
            modes->List()->setCurrentRow(1);
            QTest::mouseClick(modes->EditButton(), Qt::LeftButton);
            PressCancel(svid);
        });
        script.Then([](CGroupDialog& mode) {
            // A mode's dialog, opened from its SVID's, has the question pane too: it explains the
            // mode's questions against the form.
            auto* pane = mode.findChild<CQuestionPane*>();
            QVERIFY(pane);
            pane->SetOpen(true);
            QWidget* enter = mode.findChild<QWidget*>(QStringLiteral("SVID1_mode1_enter_SOP"));
            QVERIFY(enter);
            QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
            QApplication::sendEvent(enter, &focusIn);
            QVERIFY(pane->Text()->toPlainText().contains(QStringLiteral("SVID1_mode1_enter_SOP")));
            QVERIFY(RowShown(mode, QStringLiteral("SVID1_mode1_enter_SOP")));
            QVERIFY(!RowShown(mode, QStringLiteral("SVID1_mode1_recog_mask_SOP")));
            QVERIFY(!RowShown(mode, QStringLiteral("SVID1_mode1_recog_value_SOP")));
            QCOMPARE(TextOf(mode, QStringLiteral("SVID1_mode1_recog_mask_SOP")), QString());
            QVERIFY(!mode.findChild<QWidget*>(QStringLiteral("SVID1_mode1_recog_mask_SOP"))->isEnabled());
            PressCancel(mode);
        });
        script.Then([](CGroupDialog& mode) {
            QVERIFY(!RowShown(mode, QStringLiteral("SVID1_mode2_enter_SOP")));
            QVERIFY(!mode.findChild<QWidget*>(QStringLiteral("SVID1_mode2_enter_SOP"))->isEnabled());
            QVERIFY(RowShown(mode, QStringLiteral("SVID1_mode2_recog_mask_SOP")));
            QVERIFY(RowShown(mode, QStringLiteral("SVID1_mode2_recog_value_SOP")));
            PressCancel(mode);
        });
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(script.captions, (QStringList{"SOP SVID 1", "SOP SVID 1 - Mode 1", "SOP SVID 1 - Mode 2"}));
        QCOMPARE(modeLines.size(), 2);
        QVERIFY(modeLines[0].startsWith(QStringLiteral("SVID Mode 1: Recog Mask=")));
        // The SVID dialog was cancelled: its answer is as before.
        QCOMPARE(GroupValue(f->sheet.GetGroupList(EGroupType::SopSvid), 0, kModesFixed),
                 QStringLiteral("YES"));
    }

    void aFieldThatCannotBeEditedYetIsGreyNotRed() {
        CListPanel* panel = Open(EPage::SOPDiscovery2);
        QVERIFY(panel);
        CDialogScript script(*f->window);
        script.Then([](CGroupDialog& d) {
            // A new SVID: the least number of modes waits for whether the modes are fixed.
            const QList<QLineEdit*> boxes = d.findChildren<QLineEdit*>(
                QRegularExpression(QStringLiteral("^SVID[0-9]+_num_modes_min_SOP$")));
            QCOMPARE(boxes.size(), 1);
            QLineEdit* box = boxes.front();
            QVERIFY(box);
            QVERIFY(!box->isEnabled());
            QVERIFY(!CUiFixture::IsMarkedInvalid(box));
            PressCancel(d);
        });
        QTest::mouseClick(panel->AddButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
    }

    void modesLabelIsRedWhileTheModeListFails() {
        CListPanel* panel = Open(EPage::SOPDiscovery2);
        QVERIFY(panel);
        CDialogScript script(*f->window);
        bool redAfterDelete = false;
        bool blackBefore = false;
        script.Then([&](CGroupDialog& svid) {
            CListPanel* modes = svid.ModesPanel();
            QVERIFY(modes);
            blackBefore = !CUiFixture::IsMarkedInvalid(modes->Label());
            modes->List()->setCurrentRow(1);
            QTest::mouseClick(modes->DeleteButton(), Qt::LeftButton);
            QCOMPARE(modes->List()->count(), 1);
            redAfterDelete = CUiFixture::IsMarkedInvalid(modes->Label());
            // The SVID with a failing mode list cannot be accepted.
            PressOk(svid);
            QVERIFY(svid.isVisible());
            PressCancel(svid);
        });
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QVERIFY(blackBefore);
        QVERIFY(redAfterDelete);
        QCOMPARE(f->sheet.GetGroupList(EGroupType::SopSvid).At(0).ChildList()->Size(), std::size_t{2});
        QVERIFY(f->Logged("SOP SVID 1 dialog not filled out or invalid data entered."));
    }

    void acceptedSvidDialogCopiesItsModesBack() {
        CListPanel* panel = Open(EPage::SOPDiscovery2);
        QVERIFY(panel);
        CDialogScript script(*f->window);
        script.Then([](CGroupDialog& svid) {
            TypeInto(svid, QStringLiteral("SVID1_num_modes_max_SOP"), QStringLiteral("1"));
            TypeInto(svid, QStringLiteral("SVID1_num_modes_min_SOP"), QStringLiteral("1"));
            svid.ModesPanel()->List()->setCurrentRow(1);
            QTest::mouseClick(svid.ModesPanel()->DeleteButton(), Qt::LeftButton);
            QVERIFY(!CUiFixture::IsMarkedInvalid(svid.ModesPanel()->Label()));
            PressOk(svid);
        });
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(f->sheet.GetGroupList(EGroupType::SopSvid).At(0).ChildList()->Size(), std::size_t{1});
        QVERIFY(panel->List()->item(0)->text().contains(QStringLiteral("max modes=1")));
    }

    void renderListPageAndDialog() {
        QTemporaryDir temp;
        const QString folder = ScreenshotFolder(temp);
        CListPanel* panel = Open(EPage::Source);
        QVERIFY(panel);
        f->window->resize(820, 680);
        QTest::qWait(20);
        QVERIFY(f->window->grab().save(folder + QStringLiteral("/list-source.png")));
        CDialogScript script(*f->window);
        script.Then([&](CGroupDialog& d) {
            QTest::qWait(20);
            QVERIFY(d.grab().save(folder + QStringLiteral("/dialog-sop-svid.png")));
            PressCancel(d);
        });
        CListPanel* svids = Open(EPage::SOPDiscovery2);
        QVERIFY(svids);
        QTest::mouseClick(svids->EditButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
    }
};

QTEST_MAIN(GroupDialogTest)
#include "GroupDialogTest.moc"
