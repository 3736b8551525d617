// Every number box shows the unit it is typed in beside it, in its tip and in its accessible
// description, on the pages and in the group dialogs; counts and identifiers show none.
#include "FullForm.h"
#include "ListTestSupport.h"

#include "catalog/GroupCatalog.h"
#include "model/FieldKinds.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTextDocument>

#include <memory>

namespace {

QString PlainTip(const QWidget* widget) {
    QTextDocument tip;
    tip.setHtml(widget->toolTip());
    return tip.toPlainText().simplified();
}

// The box of `control` shows `unit` to its right and names it in its tip, or shows none at all.
void CheckShows(CQtFieldControl& control, const QString& unit) {
    const QString name = control.Input()->objectName();
    const QString tip = PlainTip(control.Input());
    if (unit.isEmpty()) {
        QVERIFY2(!control.Unit() || !control.Unit()->isVisible(), qPrintable(name));
        QVERIFY2(!tip.contains(QStringLiteral("Unit:")), qPrintable(name));
        return;
    }
    QLabel* label = control.Unit();
    QVERIFY2(label && label->isVisible(), qPrintable(name));
    QCOMPARE(label->text(), unit);
    const QRect box = control.Input()->geometry();
    QVERIFY2(label->geometry().left() >= box.right(), qPrintable(name));
    QVERIFY2(label->geometry().center().y() >= box.top() && label->geometry().center().y() <= box.bottom(),
             qPrintable(name));
    QVERIFY2(tip.contains(QStringLiteral("Unit: ") + unit), qPrintable(name + QStringLiteral(": ") + tip));
    QVERIFY2(control.Input()->accessibleDescription().contains(QStringLiteral("Unit: ") + unit),
             qPrintable(name));
}

CQtFieldControl* ControlOf(const CSheetWindow& window, const CParameterField* field) {
    return field ? window.ControlOf(*field) : nullptr;
}

// Each "Name=unit" of `expected` against the control found by `find`.
template <typename Find> void CheckNamed(const QStringList& expected, Find find) {
    for (const QString& pair : expected) {
        const QString name = pair.section(QLatin1Char('='), 0, 0);
        CQtFieldControl* control = find(name);
        QVERIFY2(control, qPrintable(name));
        CheckShows(*control, pair.section(QLatin1Char('='), 1));
    }
}

} // namespace

class UnitsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

private slots:
    void cleanup() { f.reset(); }

    void everyNumberBoxOnAPageShowsItsRowsUnit_data() {
        QTest::addColumn<bool>("cable");
        QTest::addColumn<QStringList>("named");
        QTest::newRow("port") << false
                              << QStringList{"Product_Total_Source_Power=W",
                                             "Host_Gen1x1_tLinkTurnaround=ns",
                                             "Device_Gen2x1_tLinkTurnaround=ns",
                                             "PD_Power_as_Source=mW",
                                             "PD_Power_as_Sink=mW",
                                             "Num_Src_PDOs=",
                                             "Num_Fixed_Batteries=",
                                             "Hub_Port_Number=",
                                             "XID_SOP=",
                                             "Num_SVIDs_min_SOP="};
        QTest::newRow("cable") << true << QStringList{"XID=", "Cable_num_SVIDs_max="};
    }

    void everyNumberBoxOnAPageShowsItsRowsUnit() {
        QFETCH(bool, cable);
        QFETCH(QStringList, named);
        f = std::make_unique<CUiFixture>(cable ? orvik::testsupport::FullCableForm(2, 2)
                                               : orvik::testsupport::FullPortForm(2, 2, 2, 2));
        int numbers = 0;
        for (EPage id : f->window->TabPages()) {
            f->ClickTab(id);
            const CPageSuper& page = f->sheet.Page(id);
            QTRY_VERIFY(f->window->View(id)->isVisible());
            for (std::size_t i = 0; i < page.Fields().Size(); ++i) {
                const CParameterField* field = page.Fields().At(i);
                if (!FieldAs<const CNumEditField>(field)) {
                    continue;
                }
                CQtFieldControl* control = ControlOf(*f->window, field);
                QVERIFY(control);
                CheckShows(*control, QString::fromStdWString(ShownUnit(page.Row().fields.at(i), *field)));
                ++numbers;
            }
        }
        QVERIFY(numbers >= named.size());
        CheckNamed(named, [this](const QString& name) -> CQtFieldControl* {
            for (EPage id : f->window->TabPages()) {
                f->ClickTab(id);
                if (const CParameterField* field = f->sheet.Page(id).Field(name.toStdWString())) {
                    return ControlOf(*f->window, field);
                }
            }
            return nullptr;
        });
    }

    void everyNumberBoxInAGroupDialogShowsItsRowsUnit_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("named");
        // The file spells the debounce times' unit "mS"; the user reads ms.
        QTest::newRow("Source PDO") << static_cast<int>(EPage::Source)
                                    << QStringList{
                                           "Src_PDO_Voltage1=mV",        "Src_PDO_Max_Current1=mA",
                                           "Src_PDO_Min_Voltage1=mV",    "Src_PDO_Max_Power1=mW",
                                           "Src_PD_OCP_OC_Debounce1=ms", "Src_PD_OCP_OC_Threshold1=mA",
                                           "Src_PD_OCP_UV_Debounce1=ms", "Src_PD_OCP_UV_Threshold1=%"};
        QTest::newRow("Sink PDO") << static_cast<int>(EPage::Sink)
                                  << QStringList{"Snk_PDO_Voltage1=mV", "Snk_PDO_Op_Power1=mW",
                                                 "Snk_PDO_Max_Voltage1=mV", "Snk_PDO_Op_Current1=mA"};
        QTest::newRow("SOP SVID") << static_cast<int>(EPage::SOPDiscovery2)
                                  << QStringList{"SVID1_num_modes_min_SOP=", "SVID1_num_modes_max_SOP="};
    }

    void everyNumberBoxInAGroupDialogShowsItsRowsUnit() {
        QFETCH(int, page);
        QFETCH(QStringList, named);
        const EPage id = static_cast<EPage>(page);
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 2, 2));
        f->ClickTab(id);
        auto* panel = qobject_cast<CListPanel*>(f->window->View(id)->ListPanel());
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        CDialogScript script(*f->window);
        int numbers = 0;
        script.Then([&](CGroupDialog& d) {
            QTest::qWait(10);
            const EGroupType type = f->sheet.Page(id).ListedGroupType();
            for (CParameterField* field : d.Copy().Group().Fields()) {
                if (!FieldAs<const CNumEditField>(field)) {
                    continue;
                }
                const SFieldRow* row = FindGroupFieldRow(type, field->NamePattern());
                QVERIFY(row && d.ControlOf(*field));
                CheckShows(*d.ControlOf(*field), QString::fromStdWString(ShownUnit(*row, *field)));
                ++numbers;
            }
            CheckNamed(named, [&d](const QString& name) { return d.ControlOf(name); });
            // For people to look at, where pictures are asked for.
            if (const QByteArray folder = qgetenv("ORVIK_SCREENSHOT_DIR"); !folder.isEmpty()) {
                d.grab().save(QString::fromLocal8Bit(folder) + QStringLiteral("/units-") +
                              d.windowTitle().replace(QLatin1Char(' '), QLatin1Char('_')) +
                              QStringLiteral(".png"));
            }
            PressCancel(d);
        });
        panel->List()->setCurrentRow(0);
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
        QVERIFY(numbers >= named.size());
    }

    // The under-voltage threshold is a value in mV or a percentage, as its type says; the balloon
    // keeps its hint and names the unit after it.
    void theThresholdsUnitFollowsItsTypeIntoTheBalloon() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 2, 2));
        f->ClickTab(EPage::Source);
        auto* panel = qobject_cast<CListPanel*>(f->window->View(EPage::Source)->ListPanel());
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        CDialogScript script(*f->window);
        script.Then([](CGroupDialog& d) {
            const QString name = QStringLiteral("Src_PD_OCP_UV_Threshold2");
            CQtFieldControl* control = d.ControlOf(name);
            QVERIFY(control);
            CheckShows(*control, QStringLiteral("%"));
            ChooseIn(d, QStringLiteral("Src_PD_OCP_UV_Threshold_Type2"), QStringLiteral("0 : Value"));
            QTest::qWait(10);
            CheckShows(*control, QStringLiteral("mV"));
            // The balloon answers typing into the focused box; the scripted dialog is not the
            // active window, so the box is told of its focus directly.
            QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
            QApplication::sendEvent(control->Input(), &focusIn);
            TypeInto(d, name, QStringLiteral("5"));
            auto* edit = dynamic_cast<CEditFieldControl*>(control);
            QVERIFY(edit && edit->Balloon());
            // PDO 2 is 6 V: 95 % of it is the top of the range.
            QCOMPARE(edit->Balloon()->Text(),
                     QStringLiteral("Enter a number in the range 800 through 5700.\n\nUnit: mV"));
            PressCancel(d);
        });
        panel->List()->setCurrentRow(1);
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
    }
};

QTEST_MAIN(UnitsTest)
#include "UnitsTest.moc"
