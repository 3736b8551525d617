// Every tab readable at once on a 1366x768 screen, with and without the problems panel, under the
// styles the program runs with. The screen is the offscreen platform's, set to that size.
#include "FullForm.h"
#include "UiTestBase.h"

#include "persistence/OrvikReader.h"
#include "ui/PageView.h"
#include "ui/ProblemsPanel.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr QSize kScreen(1366, 768);
// What a window manager's title bar takes above the window.
constexpr int kTitleBar = 30;

int RedPixels(const QImage& image) {
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80 ? 1 : 0;
        }
    }
    return red;
}

} // namespace

class TabColumnTest : public QObject {
    Q_OBJECT

    QString originalStyle_;

private slots:
    void initTestCase() {
        originalStyle_ = QApplication::style()->name();
        QCOMPARE(QGuiApplication::primaryScreen()->availableGeometry().size(), kScreen);
    }
    void cleanup() { QApplication::setStyle(originalStyle_); }

    void everyTabIsReadableOnASmallScreen_data() {
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("form");
        QTest::addColumn<bool>("panel");
        for (const QString& style : {QStringLiteral("Fusion"), QStringLiteral("Windows")}) {
            for (const QString& form : {QStringLiteral("port"), QStringLiteral("cable")}) {
                for (const bool panel : {false, true}) {
                    const QString name = QStringLiteral("%1 %2%3").arg(style, form, panel ? " panel" : "");
                    QTest::newRow(qPrintable(name)) << style << form << panel;
                }
            }
        }
    }

    void everyTabIsReadableOnASmallScreen() {
        QFETCH(QString, style);
        QFETCH(QString, form);
        QFETCH(bool, panel);
        QVERIFY(QStyleFactory::keys().contains(style, Qt::CaseInsensitive));
        QApplication::setStyle(style);
        CUiFixture f(form == QStringLiteral("port") ? orvik::testsupport::FullPortForm(3, 2, 2, 2)
                                                    : orvik::testsupport::FullCableForm(2, 2));
        CProblemsPanel* problems = f.window->ProblemsPanel();
        problems->SetOpen(panel);
        QCOMPARE(problems->IsOpen(), panel);
        if (panel) {
            // Beside the tabs, once the window has laid it out.
            QTRY_VERIFY(f.window->rect().contains(
                QRect(problems->mapTo(f.window.get(), QPoint()), problems->size())));
        }

        // The window opens inside the screen, title bar included, and could not be made smaller
        // than that.
        const QSize most(kScreen.width(), kScreen.height() - kTitleBar);
        QVERIFY2(f.window->minimumSizeHint().boundedTo(most) == f.window->minimumSizeHint(),
                 qPrintable(QStringLiteral("minimum %1x%2")
                                .arg(f.window->minimumSizeHint().width())
                                .arg(f.window->minimumSizeHint().height())));
        QTRY_VERIFY(f.window->frameGeometry().size().boundedTo(most) == f.window->frameGeometry().size());
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));

        QTabBar* bar = f.window->TabWidget()->tabBar();
        QCOMPARE(f.TabTexts(), LabelsOf(f.sheet.Tabs()));
        QVERIFY(f.TabTexts().size() >= (form == QStringLiteral("port") ? 14 : 4));
        // Each caption written across its tab, whole, with the style's room on either side.
        const QRect visible = bar->visibleRegion().boundingRect();
        const QFontMetrics metrics = bar->fontMetrics();
        const int margins = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i) {
            const QString text = bar->tabText(i);
            const QRect tab = bar->tabRect(i);
            QVERIFY2(visible.contains(tab), qPrintable(text));
            QVERIFY2(metrics.horizontalAdvance(text) <= tab.width() - margins, qPrintable(text));
            QVERIFY2(metrics.height() <= tab.height(), qPrintable(text));
            // Painted in the tab's colour: red while its page is not valid.
            const EPage page = f.window->TabPages()[static_cast<std::size_t>(i)];
            QCOMPARE(RedPixels(bar->grab(tab).toImage()) > 0, !f.sheet.Page(page).IsPageValid());
        }

        // No page scrolls sideways, the panel open or not: the panel takes room beside the page.
        for (const EPage page : std::vector<EPage>(f.window->TabPages())) {
            f.ClickTab(page);
            for (const QAbstractScrollArea* area :
                 f.window->View(page)->findChildren<QAbstractScrollArea*>()) {
                QVERIFY2(!area->horizontalScrollBar()->isVisible(),
                         qPrintable(QString::fromStdWString(f.sheet.Page(page).TabLabel())));
            }
        }
        f.ClickTab(EPage::Intro);

        const QByteArray target = qgetenv("ORVIK_SCREENSHOT_DIR");
        QTemporaryDir temp;
        const QString folder = target.isEmpty() ? temp.path() : QString::fromLocal8Bit(target);
        QDir().mkpath(folder);
        const QString name = QStringLiteral("%1/tabs-1366x768-%2-%3%4.png")
                                 .arg(folder, style.toLower(), form, panel ? "-panel" : "");
        QVERIFY(f.window->grab().save(name));
    }

    void theColumnKeepsItsWidthWhenTheWidestTabAppears() {
        CUiFixture f;
        QTabBar* bar = f.window->TabWidget()->tabBar();
        const int width = bar->width();
        const int pageLeft = f.window->TabWidget()->currentWidget()->mapTo(f.window.get(), QPoint()).x();
        LoadOrvikBytes(f.sheet, L"port.txt", orvik::testsupport::FullPortForm(3, 2, 2, 2));
        QVERIFY(f.TabTexts().contains(QStringLiteral("SOP Discovery - Part Two")));
        QTest::qWait(50);
        QCOMPARE(bar->width(), width);
        QCOMPARE(f.window->TabWidget()->currentWidget()->mapTo(f.window.get(), QPoint()).x(), pageLeft);
    }
};

int main(int argc, char** argv) {
    // The offscreen platform's one screen, at the size of a small laptop's.
    QTemporaryDir config;
    const QString path = config.filePath(QStringLiteral("screen.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return 2;
    }
    file.write(QStringLiteral(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": %1, "height": %2,
                                  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                   .arg(kScreen.width())
                   .arg(kScreen.height())
                   .toUtf8());
    file.close();
    // The platform's options are separated by colons, so the file is named without its folder (a
    // Windows path starts with a drive letter and a colon): the platform reads it from the working
    // folder while the application starts.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=screen.json");
    const QString workingFolder = QDir::currentPath();
    QDir::setCurrent(config.path());
    QApplication app(argc, argv);
    QDir::setCurrent(workingFolder);
    TabColumnTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "TabColumnTest.moc"
