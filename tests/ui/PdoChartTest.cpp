// The chart of the PDOs beside the PD Source list and in the PDO dialog: its shapes by its own
// geometry and on screen, a red PDO, the selected line, an edit in the dialog, an empty list.
#include "FullForm.h"
#include "ListTestSupport.h"

#include "ui/PageView.h"
#include "ui/PdoChart.h"

#include <QImage>
#include <QScrollArea>
#include <QScrollBar>

#include <cmath>
#include <memory>

namespace {

using EKind = SPdoShape::EKind;

bool Near(SChartPoint a, SChartPoint b) {
    return std::abs(a.volts - b.volts) < 1e-9 && std::abs(a.amps - b.amps) < 1e-9;
}

QString Describe(const SPdoShape& shape) {
    QString text = QStringLiteral("PDO %1 kind %2:").arg(shape.number).arg(static_cast<int>(shape.kind));
    for (const SChartPoint& p : shape.outline) {
        text += QStringLiteral(" (%1 V, %2 A)").arg(p.volts).arg(p.amps);
    }
    return text;
}

} // namespace

class PdoChartTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

    CListPanel* Panel() const {
        return qobject_cast<CListPanel*>(f->window->View(EPage::Source)->ListPanel());
    }

private slots:
    void init() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::PortFormWithEverySupply());
        f->ClickTab(EPage::Source);
    }
    void cleanup() { f.reset(); }

    void eachSupplyTypeIsDrawnAsAPowerEngineerDrawsIt() {
        CPdoChart* chart = Panel()->Chart();
        QVERIFY(chart && chart->isVisible());
        const std::vector<SPdoShape>& shapes = chart->Shapes();
        QCOMPARE(shapes.size(), std::size_t{5});
        // A Fixed PDO a bar at its voltage up to its current; a Variable one a box over its range.
        const std::vector<SChartPoint> bar = {{9, 0}, {9, 3}};
        const std::vector<SChartPoint> box = {{5, 0}, {5, 2}, {20, 2}, {20, 0}};
        for (const auto& [index, kind, outline] :
             {std::tuple{1, EKind::Bar, bar}, std::tuple{2, EKind::Box, box}}) {
            const SPdoShape& shape = shapes[static_cast<std::size_t>(index)];
            QCOMPARE(shape.kind, kind);
            QCOMPARE(shape.number, index + 1);
            QCOMPARE(shape.outline.size(), outline.size());
            for (std::size_t i = 0; i < outline.size(); ++i) {
                QVERIFY2(Near(shape.outline[i], outline[i]), qPrintable(Describe(shape)));
            }
        }
        // A Battery PDO the curve 45 W / V from 5 to 20 V, cut at the chart's 5 A.
        const SPdoShape& battery = shapes[3];
        QCOMPARE(battery.kind, EKind::Curve);
        QVERIFY2(Near(battery.outline.front(), {5, 5}) && Near(battery.outline.back(), {20, 2.25}),
                 qPrintable(Describe(battery)));
        for (const SChartPoint& p : battery.outline) {
            QVERIFY2(std::abs(p.amps - std::min(5.0, 45.0 / p.volts)) < 1e-9, qPrintable(Describe(battery)));
        }

        // The same shapes on screen: the 9 V bar in the chart's blue, the 6 A bar red and cut at 5 A,
        // the area under the curve tinted, above it nothing.
        const QImage image = chart->grab().toImage();
        const auto pixel = [&](SChartPoint p) { return image.pixelColor(chart->ToPixel(p).toPoint()); };
        QCOMPARE(pixel({9, 1.5}), CPdoChart::ColourOf(shapes[1]));
        QCOMPARE(pixel({15, 4.5}), QColor(255, 0, 0));
        const QColor base = chart->palette().color(QPalette::Base);
        const QColor underCurve = pixel({12, 3});
        QVERIFY2(underCurve != base && underCurve.blue() > underCurve.red(), qPrintable(underCurve.name()));
        QCOMPARE(pixel({12, 4.5}), base);
    }

    void anInvalidPdoIsRedAsItsLineAndTheSelectedLineIsHighlighted() {
        CListPanel* panel = Panel();
        const std::vector<SPdoShape>& shapes = panel->Chart()->Shapes();
        for (std::size_t i = 0; i < shapes.size(); ++i) {
            const bool redLine =
                panel->List()->item(static_cast<int>(i))->data(CListLineDelegate::kInvalidRole).toBool();
            QCOMPARE(!shapes[i].valid, redLine);
        }
        QVERIFY(!shapes[4].valid);
        QCOMPARE(CPdoChart::ColourOf(shapes[4]), QColor(255, 0, 0));

        QListWidget* list = panel->List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(3)).center());
        for (std::size_t i = 0; i < 5; ++i) {
            QCOMPARE(panel->Chart()->Shapes()[i].selected, i == 3);
        }
    }

    void theSourceAndSinkPagesWithTheirChartsFitAt1366x768WithoutScrollingSideways() {
        f->window->resize(1366, 768);
        // Leaving the PD Source tab with its invalid PDO is answered Yes.
        f->prompt.SetDefaultAnswer(true);
        for (const EPage page : {EPage::Source, EPage::Sink}) {
            f->ClickTab(page);
            QCoreApplication::sendPostedEvents();
            QApplication::processEvents();
            CPageView* view = f->window->View(page);
            auto* panel = qobject_cast<CListPanel*>(view->ListPanel());
            QVERIFY(panel && panel->Chart() && panel->Chart()->isVisible());
            QVERIFY(!panel->Chart()->Shapes().empty());
            QCOMPARE(view->findChild<QScrollArea*>()->horizontalScrollBar()->maximum(), 0);
        }
    }

    void theDialogDrawsItsWorkingCopyAsItIsEditedAndAnEmptyListSaysSo() {
        CListPanel* panel = Panel();
        CDialogScript script(*f->window);
        std::vector<SPdoShape> inDialog;
        script.Then([&](CGroupDialog& dialog) {
            QVERIFY(dialog.Chart());
            TypeInto(dialog, QStringLiteral("Src_PDO_Max_Voltage3"), QStringLiteral("15000"));
            QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("Src_PDO_Max_Voltage3")),
                            Qt::Key_Tab);
            inDialog = dialog.Chart()->Shapes();
            PressCancel(dialog);
        });
        panel->Editor().Select(2);
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
        QCOMPARE(inDialog.size(), std::size_t{5});
        QVERIFY(inDialog[2].selected);
        QVERIFY2(Near(inDialog[2].outline[2], {15, 2}), qPrintable(Describe(inDialog[2])));
        // Cancelled: the page's chart still draws the list as it was.
        QVERIFY(Near(panel->Chart()->Shapes()[2].outline[2], {20, 2}));

        QTest::mouseClick(panel->ClearButton(), Qt::LeftButton);
        QCOMPARE(panel->List()->count(), 0);
        QVERIFY(panel->Chart()->Shapes().empty());
        QCOMPARE(panel->Chart()->EmptyText(), QStringLiteral("No Source PDOs in the list."));
    }
};

QTEST_MAIN(PdoChartTest)
#include "PdoChartTest.moc"
