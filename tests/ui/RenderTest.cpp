// Renders every tab of a complete port form and of a complete cable form to PNG files, for people
// to look at. The pictures go to ORVIK_SCREENSHOT_DIR when it is set, else to a temporary folder.
#include "FullForm.h"
#include "UiTestBase.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

class RenderTest : public QObject {
    Q_OBJECT

private:
    void RenderAll(const std::string& bytes, const QString& prefix, int minimumTabs) {
        const QByteArray target = qgetenv("ORVIK_SCREENSHOT_DIR");
        QTemporaryDir temp;
        const QString folder = target.isEmpty() ? temp.path() : QString::fromLocal8Bit(target);
        QDir().mkpath(folder);
        CUiFixture f(bytes);
        f.window->resize(820, 680);
        QTabWidget* tabs = f.window->TabWidget();
        QVERIFY(tabs->count() >= minimumTabs);
        for (int i = 0; i < tabs->count(); ++i) {
            f.ClickTab(f.window->TabPages()[static_cast<std::size_t>(i)]);
            QCOMPARE(tabs->currentIndex(), i);
            QTest::qWait(10);
            const QImage image = f.window->grab().toImage();
            QVERIFY(!image.isNull());
            const QString name = QStringLiteral("%1/%2-%3-%4.png")
                                     .arg(folder, prefix)
                                     .arg(i + 1, 2, 10, QLatin1Char('0'))
                                     .arg(tabs->tabText(i).replace(QLatin1Char(' '), QLatin1Char('_')));
            QVERIFY(image.save(name));
        }
    }

    static QWidget* TipWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->inherits("QTipLabel")) {
                return widget;
            }
        }
        return nullptr;
    }

    static QString Folder(QTemporaryDir& temp) {
        const QByteArray target = qgetenv("ORVIK_SCREENSHOT_DIR");
        const QString folder = target.isEmpty() ? temp.path() : QString::fromLocal8Bit(target);
        QDir().mkpath(folder);
        return folder;
    }

private slots:
    // A field's tip is at most 300 pixels wide however long its help; an invalid pull-down is red
    // but the choices in its list are not.
    void tipsAreNarrowAndAnInvalidPullDownsChoicesStayBlack() {
        CUiFixture f(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QWidget* vendor = f.Input(QStringLiteral("Vendor_Name"));
        QVERIFY(vendor);
        QToolTip::showText(vendor->mapToGlobal(QPoint(0, 0)), vendor->toolTip(), vendor);
        QWidget* tip = nullptr;
        QTRY_VERIFY((tip = TipWindow()) != nullptr);
        QVERIFY2(tip->width() <= 300 + 2 * 12, qPrintable(QString::number(tip->width())));
        QVERIFY(tip->height() > 2 * tip->fontMetrics().height());
        QToolTip::hideText();

        f.ClickTab(EPage::UsbTypeC);
        QComboBox* rp = f.Combo(QStringLiteral("RP_Value"));
        QVERIFY(rp);
        f.sheet.ApplyUserChange(f.sheet.FindField(L"RP_Value"), L"7");
        QVERIFY(CUiFixture::IsMarkedInvalid(rp));
        rp->showPopup();
        QTRY_VERIFY(rp->view()->isVisible());
        QCOMPARE(rp->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(rp->view()->palette().color(QPalette::Text), QColor(0, 0, 0));
        const QImage list = rp->view()->grab().toImage();
        int red = 0;
        for (int y = 0; y < list.height(); ++y) {
            for (int x = 0; x < list.width(); ++x) {
                const QColor c = list.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 80 && c.blue() < 80 ? 1 : 0;
            }
        }
        QCOMPARE(red, 0);
        rp->hidePopup();
    }

    // A typed out-of-range number: red label and text, and the balloon below the box.
    void invalidValueBalloon() {
        QTemporaryDir temp;
        const QString folder = Folder(temp);
        CUiFixture f(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f.window->resize(820, 680);
        f.ClickTab(EPage::General);
        f.Clear(QStringLiteral("Num_Fixed_Batteries"));
        f.Type(QStringLiteral("Num_Fixed_Batteries"), QStringLiteral("9"));
        auto* control = dynamic_cast<CEditFieldControl*>(
            f.window->ControlOf(*f.sheet.FindField(L"^Num_Fixed_Batteries$")));
        QVERIFY(control && control->Balloon());
        QTest::qWait(20);
        QVERIFY(f.window->grab().save(folder + QStringLiteral("/invalid-General_PD_Settings.png")));
        QVERIFY(control->Balloon()->grab().save(folder + QStringLiteral("/invalid-balloon.png")));
    }

    void portForm() { RenderAll(orvik::testsupport::FullPortForm(3, 2, 2, 2), QStringLiteral("port"), 10); }
    void cableForm() { RenderAll(orvik::testsupport::FullCableForm(2, 2), QStringLiteral("cable"), 4); }
    void newForm() { RenderAll({}, QStringLiteral("new"), 1); }
};

QTEST_MAIN(RenderTest)
#include "RenderTest.moc"
