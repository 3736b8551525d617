// What each page does in the window when the user changes one of the fields its page reacts to:
// every reaction is driven through its control, and the window must then show what the sheet
// holds (values, availability, colours of the fields, the page's list and every tab caption).
#include "FullForm.h"
#include "ListTestSupport.h"

#include "catalog/RuleTable.h"
#include "model/FieldKinds.h"
#include "model/RuleRecord.h"
#include "sheet/PageSuper.h"

#include <QFormLayout>
#include <QLabel>
#include <QLayout>
#include <QRegularExpression>
#include <QWheelEvent>

#include <algorithm>
#include <memory>
#include <set>

namespace {

QString NameOf(const CParameterField& field) {
    return CQtFieldControl::LabelTextFor(field);
}

std::string FormFor(EPage page) {
    return page == EPage::Cables1 || page == EPage::Cables2 ? orvik::testsupport::FullCableForm(2, 2)
                                                            : orvik::testsupport::FullPortForm(2, 2, 2, 2);
}

// The page answers other answers read: their parents, page and group rules alike.
std::set<std::wstring> ReadByOtherAnswers() {
    CMarnelPropertySheet sheet;
    sheet.Initialize();
    std::set<std::wstring> read;
    for (const CParameterField* field : sheet.FieldVector()) {
        for (const CParameterField* parent : field->Parents()) {
            read.insert(parent->NamePattern());
        }
    }
    for (const CRuleGroup& group : sheet.Rules().Groups()) {
        for (const CRuleRecord& record : group.Records()) {
            read.insert(record.reads.begin(), record.reads.end());
        }
    }
    return read;
}

// The questions the two test forms leave unasked (or whose tab they do not have).
constexpr int kUnaskedOnTheTestForms = 13;

} // namespace

class PageBehaviourTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

    void Open(EPage page, const std::string& form) {
        // The previous window goes first, with whatever explanation window it was about to show.
        f.reset();
        f = std::make_unique<CUiFixture>(form);
        QVERIFY2(f->sheet.HasTab(page), qPrintable(QString::fromStdWString(f->sheet.Page(page).TabLabel())));
        f->ClickTab(page);
        QTRY_COMPARE(f->sheet.ActivePage().Id(), page);
    }

    // The active page's controls, its list panel and every tab caption show what the sheet holds.
    void CheckWindowShowsTheSheet(const QString& context) {
        const CPageSuper& page = f->sheet.ActivePage();
        for (CParameterField* field : page.Fields()) {
            CQtFieldControl* control = f->window->ControlOf(*field);
            if (!control) {
                continue;
            }
            const QString what = context + QStringLiteral(": ") + NameOf(*field);
            if (auto* edit = qobject_cast<QLineEdit*>(control->Input())) {
                QVERIFY2(edit->text() == QString::fromStdWString(field->Value()), qPrintable(what));
            } else {
                // A pull-down shows "<Select>" for a value none of its choices has.
                const std::wstring shown = control->GetControlText();
                QVERIFY2(shown == field->Value() || shown.empty(), qPrintable(what));
            }
            QVERIFY2(control->Input()->isEnabled() == (field->IsAvailable() && field->IsEnabled()),
                     qPrintable(what));
            QVERIFY2(CUiFixture::IsMarkedInvalid(control->Input()) == IsShownInvalid(*field),
                     qPrintable(what));
            QVERIFY2(CUiFixture::IsMarkedInvalid(control->Label()) == IsShownInvalid(*field),
                     qPrintable(what));
        }
        if (auto* panel = qobject_cast<CListPanel*>(f->window->View(page.Id())->ListPanel())) {
            const CFieldGroupList& list = f->sheet.GetGroupList(page.ListedGroupType());
            QVERIFY2(CUiFixture::IsMarkedInvalid(panel->Label()) == !list.IsListValid(), qPrintable(context));
            QVERIFY2(panel->List()->count() == static_cast<int>(list.Groups().size()), qPrintable(context));
            for (int i = 0; i < panel->List()->count(); ++i) {
                QVERIFY2(LineRed(panel->List(), i) ==
                             !list.CheckGroup(*list.Groups()[static_cast<std::size_t>(i)]),
                         qPrintable(context));
            }
        }
        for (EPage tab : f->window->TabPages()) {
            const bool valid = f->sheet.Page(tab).IsPageValid();
            QVERIFY2(valid ? f->CaptionDefault(tab) : f->CaptionRed(tab),
                     qPrintable(context + QStringLiteral(": tab ") +
                                QString::fromStdWString(f->sheet.Page(tab).TabLabel())));
        }
    }

    // Changes the field through its control as a user would: another choice, or another count.
    enum class EChange { Selection, Text };
    void Change(CParameterField& field, EChange event) {
        const QString name = NameOf(field);
        if (event == EChange::Selection) {
            QComboBox* combo = f->Combo(name);
            QVERIFY2(combo, qPrintable(name));
            int target = -1;
            for (int i = 1; i < combo->count() && target < 0; ++i) {
                if (i != combo->currentIndex()) {
                    target = i;
                }
            }
            QVERIFY2(target > 0, qPrintable(name));
            f->Choose(name, combo->itemText(target));
        } else {
            const QString now = QString::fromStdWString(field.Value());
            f->Clear(name);
            f->Type(name, now == QStringLiteral("1") ? QStringLiteral("2") : QStringLiteral("1"));
        }
    }

    void OpenSvidPage(EPage page, const QString& fixed) {
        Open(page, FormFor(page));
        if (QTest::currentTestFailed()) {
            return;
        }
        if (f->Combo(fixed)->currentText() != QStringLiteral("YES")) {
            f->Choose(fixed, QStringLiteral("YES"));
        }
    }

private slots:
    void cleanup() { f.reset(); }

    void everyReactionLeavesTheWindowShowingTheSheet() {
        // Every choice, every answer another answer reads and every count beside a list is changed
        // through its control.
        const std::set<std::wstring> read = ReadByOtherAnswers();
        int exercised = 0;
        int listenedFields = 0;
        int unasked = 0;
        for (const SPageRow& page : PageCatalog()) {
            for (const SFieldRow& row : page.fields) {
                const bool choice = row.kind == EFieldKind::Choice || row.kind == EFieldKind::YesNo;
                const bool count = page.listedGroupType != EGroupType::None && row.kind == EFieldKind::Number;
                if (!choice && !count && !read.count(row.Pattern())) {
                    continue;
                }
                ++listenedFields;
                f.reset();
                f = std::make_unique<CUiFixture>(FormFor(page.id));
                if (!f->sheet.HasTab(page.id)) {
                    ++unasked;
                    continue;
                }
                f->ClickTab(page.id);
                QTRY_COMPARE(f->sheet.ActivePage().Id(), page.id);
                CParameterField* field = f->sheet.Page(page.id).Field(row.Pattern());
                QVERIFY(field);
                const QString name = NameOf(*field);
                QWidget* input = f->Input(name);
                QVERIFY2(input, qPrintable(name));
                if (!input->isEnabled()) {
                    qInfo("%s is not asked on the test form", qPrintable(name));
                    ++unasked;
                    continue;
                }
                const wchar_t* evaluatedFirst = field->Rule().evaluatedFirst;
                CParameterField* first = evaluatedFirst ? f->sheet.FindField(evaluatedFirst) : nullptr;
                Change(*field, FieldAs<const CPulldownListField>(field) ? EChange::Selection : EChange::Text);
                if (QTest::currentTestFailed()) {
                    return;
                }
                CQtFieldControl* control = f->window->ControlOf(*field);
                QVERIFY2(control && control->GetControlText() == field->Value(), qPrintable(name));
                if (first) {
                    CQtFieldControl* firstControl = f->window->ControlOf(*first);
                    QVERIFY2(!firstControl || firstControl->Input()->isEnabled() ==
                                                  (first->IsAvailable() && first->IsEnabled()),
                             qPrintable(name));
                }
                if (field->Rule().marksProductTypeChange) {
                    // The latency list is rebuilt for the new type and starts empty.
                    CParameterField* latency = f->sheet.FindField(L"Cable_Latency");
                    QVERIFY(latency);
                    QVERIFY2(latency->Value().empty(), qPrintable(QString::fromStdWString(latency->Value())));
                    QCOMPARE(f->Combo(QStringLiteral("Cable_Latency"))->currentIndex(), 0);
                    QVERIFY(!f->sheet.Page(EPage::Cables1).ProductTypeChanged());
                }
                CheckWindowShowsTheSheet(name);
                if (QTest::currentTestFailed()) {
                    return;
                }
                ++exercised;
            }
        }
        // Every read answer but those the two test forms leave unasked was driven.
        QVERIFY2(exercised == listenedFields - unasked && unasked <= kUnaskedOnTheTestForms,
                 qPrintable(
                     QStringLiteral("%1 of %2, %3 unasked").arg(exercised).arg(listenedFields).arg(unasked)));
    }

    void aCommittedAnswerIsFollowedByWhatDependsOnIt() {
        // An answer put into its box by other means than the user's choice becomes the answer when
        // the page is left, and takes the route a choice takes: the roles Battery Charging 1.2 offers
        // follow the battery answer at once.
        Open(EPage::OrvikProduct, FormFor(EPage::OrvikProduct));
        auto* bc12 = FieldAs<CPulldownListField>(f->sheet.FindField(L"BC_1_2_Support"));
        QVERIFY(bc12);
        auto offersPortableDevice = [bc12] {
            const COptionList& options = bc12->Options();
            return std::any_of(options.begin(), options.end(), [](const COption& o) { return o.first == 1; });
        };
        QVERIFY(!offersPortableDevice());
        QComboBox* battery = f->Combo(QStringLiteral("Port_Battery_Powered"));
        QVERIFY(battery);
        battery->setCurrentIndex(battery->findText(QStringLiteral("YES")));
        QCOMPARE(f->sheet.FindField(L"Port_Battery_Powered")->Value(), std::wstring(L"NO"));
        f->ClickTab(EPage::General);
        QTRY_COMPARE(f->sheet.ActivePage().Id(), EPage::General);
        QCOMPARE(f->sheet.FindField(L"Port_Battery_Powered")->Value(), std::wstring(L"YES"));
        QVERIFY(offersPortableDevice());
        QCOMPARE(f->sheet.History().UndoLabel(), QStringLiteral("Port_Battery_Powered = YES").toStdWString());
    }

    void batteryCountsWriteBackOnlyWhatIsTyped() {
        Open(EPage::General, FormFor(EPage::General));
        CParameterField* fixed = f->sheet.FindField(L"Num_Fixed_Batteries");
        QVERIFY(fixed);
        QLineEdit* box = f->Edit(QStringLiteral("Num_Fixed_Batteries"));
        QVERIFY(box && box->isEnabled());
        const std::wstring before = fixed->Value();
        // Text put into the box by the program, not typed with the focus there, is no answer.
        f->Focus(f->Edit(QStringLiteral("Num_Swappable_Battery_Slots")));
        box->setText(QStringLiteral("3"));
        QCOMPARE(fixed->Value(), before);
        box->setText(QString::fromStdWString(before));
        f->Clear(QStringLiteral("Num_Fixed_Batteries"));
        f->Type(QStringLiteral("Num_Fixed_Batteries"), QStringLiteral("3"));
        QCOMPARE(fixed->Value(), std::wstring(L"3"));
        CheckWindowShowsTheSheet(QStringLiteral("battery count"));
    }

    void svidCountsConflictingPaintBothBoxesAndTheTab_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("fixed");
        QTest::addColumn<QString>("min");
        QTest::addColumn<QString>("max");
        QTest::newRow("SOP") << static_cast<int>(EPage::SOPDiscovery2) << QStringLiteral("SVID_fixed_SOP")
                             << QStringLiteral("Num_SVIDs_min_SOP") << QStringLiteral("Num_SVIDs_max_SOP");
        QTest::newRow("cable") << static_cast<int>(EPage::Cables2) << QStringLiteral("SVID_fixed")
                               << QStringLiteral("Cable_num_SVIDs_min")
                               << QStringLiteral("Cable_num_SVIDs_max");
    }

    void svidCountsConflictingPaintBothBoxesAndTheTab() {
        QFETCH(int, page);
        QFETCH(QString, fixed);
        QFETCH(QString, min);
        QFETCH(QString, max);
        const EPage id = static_cast<EPage>(page);
        OpenSvidPage(id, fixed);
        if (QTest::currentTestFailed()) {
            return;
        }
        auto red = [this](const QString& name) {
            return CUiFixture::IsMarkedInvalid(f->Edit(name)) &&
                   CUiFixture::IsMarkedInvalid(f->LabelOf(name));
        };
        auto clear = [this](const QString& name) {
            return !CUiFixture::IsMarkedInvalid(f->Edit(name)) &&
                   !CUiFixture::IsMarkedInvalid(f->LabelOf(name));
        };
        f->Clear(min);
        f->Type(min, QStringLiteral("2"));
        f->Clear(max);
        f->Type(max, QStringLiteral("2"));
        QVERIFY(clear(min));
        QVERIFY(clear(max));
        QVERIFY(f->CaptionDefault(id));

        f->Clear(max);
        f->Type(max, QStringLiteral("3"));
        QVERIFY(red(min));
        QVERIFY(red(max));
        QVERIFY(f->CaptionRed(id));
        const QByteArray pictures = qgetenv("ORVIK_SCREENSHOT_DIR");
        if (!pictures.isEmpty() && id == EPage::SOPDiscovery2) {
            QTest::qWait(20);
            QVERIFY(f->window->grab().save(QString::fromLocal8Bit(pictures) +
                                           QStringLiteral("/svid-counts-red.png")));
        }

        // Correcting the maximum clears the minimum too, which was not touched.
        f->Clear(max);
        f->Type(max, QStringLiteral("2"));
        QVERIFY(clear(min));
        QVERIFY(clear(max));
        QVERIFY(f->CaptionDefault(id));

        // The minimum edited: the maximum follows.
        f->Clear(min);
        f->Type(min, QStringLiteral("1"));
        QVERIFY(red(max));
        QVERIFY(red(min));
        f->Clear(min);
        f->Type(min, QStringLiteral("2"));
        QVERIFY(clear(max));

        // Not fixed and no maximum: the count rule passes and the minimum stays clear.
        f->Choose(fixed, QStringLiteral("NO"));
        f->Clear(max);
        QVERIFY(f->sheet.Page(id).PageRuleProblems().empty());
        QVERIFY(clear(min));
        CheckWindowShowsTheSheet(QStringLiteral("counts"));
    }

    void tryBothWaysTurnsTheTypeCTabRedAndBack() {
        Open(EPage::UsbTypeC, FormFor(EPage::UsbTypeC));
        QVERIFY(f->CaptionDefault(EPage::UsbTypeC));
        f->Choose(QStringLiteral("Type_C_Implements_Try_SRC"), QStringLiteral("YES"));
        QVERIFY(f->CaptionDefault(EPage::UsbTypeC));
        f->Choose(QStringLiteral("Type_C_Implements_Try_SNK"), QStringLiteral("YES"));
        QVERIFY(f->CaptionRed(EPage::UsbTypeC));
        f->Choose(QStringLiteral("Type_C_Implements_Try_SRC"), QStringLiteral("NO"));
        QVERIFY(f->CaptionDefault(EPage::UsbTypeC));
    }

    void powerBoxesShowMilliwattsInTheirRow_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("name");
        QTest::newRow("source") << static_cast<int>(EPage::Source) << QStringLiteral("PD_Power_as_Source");
        QTest::newRow("sink") << static_cast<int>(EPage::Sink) << QStringLiteral("PD_Power_as_Sink");
    }

    void powerBoxesShowMilliwattsInTheirRow() {
        QFETCH(int, page);
        QFETCH(QString, name);
        const EPage id = static_cast<EPage>(page);
        Open(id, FormFor(id));
        QLineEdit* box = f->Edit(name);
        QVERIFY(box);
        CQtFieldControl* control = f->window->ControlOf(*f->sheet.Page(id).Field(name.toStdWString()));
        QVERIFY(control && control->Unit());
        QLabel* unit = control->Unit();
        QCOMPARE(unit->text(), QStringLiteral("mW"));
        QTRY_VERIFY(unit->isVisible());
        QVERIFY(box->accessibleDescription().contains(QStringLiteral("mW")));
        // The unit stands right of the box, in the row of the field's label.
        QFormLayout* form = f->window->View(id)->Form();
        int row = -1;
        QFormLayout::ItemRole role{};
        form->getWidgetPosition(control->Label(), &row, &role);
        QVERIFY(row >= 0);
        QLayout* fieldCell = form->itemAt(row, QFormLayout::FieldRole)->layout();
        QVERIFY(fieldCell);
        QVERIFY(fieldCell->indexOf(box) >= 0);
        QVERIFY(fieldCell->indexOf(unit) > fieldCell->indexOf(box));
        QVERIFY(unit->geometry().left() >= box->geometry().right());
        // Other boxes carry no unit.
        QCOMPARE(
            unit->parentWidget()->findChildren<QLabel*>(QRegularExpression(QStringLiteral("_unit$"))).size(),
            1);
        // The unit is disabled with its box.
        control->EnableControl(false);
        QVERIFY(!unit->isEnabled());
        control->EnableControl(true);
        QVERIFY(unit->isEnabled());
    }

    void hostSpeedRepaintsTheHubPortNumber() {
        Open(EPage::UsbTypeC, FormFor(EPage::UsbTypeC));
        // A port on a hub is a downstream port of that hub: its port number is asked.
        f->Choose(QStringLiteral("Type_C_Port_On_Hub"), QStringLiteral("YES"));
        f->ClickTab(EPage::UsbHost);
        QTRY_COMPARE(f->sheet.ActivePage().Id(), EPage::UsbHost);
        const QString hub = QStringLiteral("Hub_Port_Number");
        f->Choose(QStringLiteral("Host_Speed"), QStringLiteral("0 : USB 2"));
        QVERIFY(f->Edit(hub) && f->Edit(hub)->isEnabled());
        f->Clear(hub);
        f->Type(hub, QStringLiteral("20"));
        QVERIFY(!CUiFixture::IsMarkedInvalid(f->Edit(hub)));
        // The faster speeds allow fewer ports: the untouched number turns red, and back.
        f->Choose(QStringLiteral("Host_Speed"), QStringLiteral("1 : USB 3.2 Gen 1x1"));
        QVERIFY(CUiFixture::IsMarkedInvalid(f->Edit(hub)));
        QVERIFY(CUiFixture::IsMarkedInvalid(f->LabelOf(hub)));
        QVERIFY(f->CaptionRed(EPage::UsbHost));
        f->Choose(QStringLiteral("Host_Speed"), QStringLiteral("0 : USB 2"));
        QVERIFY(!CUiFixture::IsMarkedInvalid(f->Edit(hub)));
        CheckWindowShowsTheSheet(QStringLiteral("host speed"));
    }

    void theWheelOverAnUnfocusedPullDownLeavesItsAnswer() {
        Open(EPage::UsbTypeC, FormFor(EPage::UsbTypeC));
        QComboBox* combo = f->Combo(QStringLiteral("Type_C_Can_Act_As_Host"));
        QVERIFY(combo && !combo->hasFocus());
        const QString shown = combo->currentText();
        const std::wstring answer = f->sheet.FindField(L"Type_C_Can_Act_As_Host")->Value();
        for (const int notch : {-120, 120}) {
            QWheelEvent wheel(QPointF(5, 5), combo->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, notch),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(combo, &wheel);
            QVERIFY(!combo->hasFocus());
            QCOMPARE(combo->currentText(), shown);
            QCOMPARE(f->sheet.FindField(L"Type_C_Can_Act_As_Host")->Value(), answer);
        }
    }

    void overCurrentAnswersRecolourTheSourcePdoLines() {
        // PDO 1 lacks its under-voltage threshold: needed while the protection answers ask for it.
        std::string form = orvik::testsupport::FullPortForm(2, 2, 2, 2);
        const std::string line = "Src_PD_OCP_UV_Threshold1: 90";
        const std::size_t at = form.find(line);
        QVERIFY(at != std::string::npos);
        form.replace(at, line.size(), "Src_PD_OCP_UV_Threshold1: ");
        Open(EPage::Source, form);
        auto* panel = qobject_cast<CListPanel*>(f->window->View(EPage::Source)->ListPanel());
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        QVERIFY(LineRed(panel->List(), 0));
        QVERIFY(!LineRed(panel->List(), 1));
        f->Choose(QStringLiteral("PD_OCP_Method"), QStringLiteral("0 : Over-Current Response"));
        QVERIFY(!LineRed(panel->List(), 0));
        CheckWindowShowsTheSheet(QStringLiteral("over-current only"));
        f->Choose(QStringLiteral("PD_OCP_Method"), QStringLiteral("2 : Both"));
        QVERIFY(LineRed(panel->List(), 0));
        QVERIFY(f->CaptionRed(EPage::Source));
        f->Choose(QStringLiteral("PD_OC_Protection"), QStringLiteral("NO"));
        QVERIFY(!LineRed(panel->List(), 0));
        CheckWindowShowsTheSheet(QStringLiteral("no protection"));
    }
};

QTEST_MAIN(PageBehaviourTest)
#include "PageBehaviourTest.moc"
