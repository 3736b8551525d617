// Windows that show all they hold and keep out of the way: the Regression Testing dialog's caption,
// the Intro tab's version lines, an SVID dialog's mode lines and the Source and Sink explanations
// beside the sheet. The test runs on a wide offscreen screen, so the sheet has room beside it.
#include "FullForm.h"
#include "ListTestSupport.h"

#include "ui/InfoPlacement.h"
#include "ui/InfoWindow.h"
#include "ui/IntroPanel.h"
#include "ui/SheetInfoWindows.h"
#include "ui/SheetNavigation.h"
#include "ui/SheetWindow.h"

#include <QApplication>
#include <QDir>
#include <QFormLayout>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString PictureFolder(QTemporaryDir& temp) {
    const QByteArray target = qgetenv("ORVIK_SCREENSHOT_DIR");
    const QString folder = target.isEmpty() ? temp.path() : QString::fromLocal8Bit(target);
    QDir().mkpath(folder);
    return folder;
}

// The screen rectangle of the first control on the page's form.
QRect FirstFieldOnScreen(CSheetWindow& window, EPage page) {
    const CPageView* view = window.View(page);
    QLayoutItem* item = view && view->Form() ? view->Form()->itemAt(0, QFormLayout::FieldRole) : nullptr;
    if (!item) {
        return {};
    }
    QWidget* parent = view->Form()->parentWidget();
    return QRect(parent->mapToGlobal(item->geometry().topLeft()), item->geometry().size());
}

} // namespace

class WindowFitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

private slots:
    void cleanup() { f.reset(); }

    // ---- the Regression Testing dialog ----
    void theRegressionTestingDialogShowsItsWholeCaption() {
        CRegressionTestingDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // Title bars write the caption in bold, beside the window icon and up to three buttons.
        QFont bold = dialog.font();
        bold.setBold(true);
        const int caption = QFontMetrics(bold).horizontalAdvance(dialog.windowTitle());
        const int button = dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &dialog);
        QVERIFY2(dialog.width() >= caption + 4 * button,
                 qPrintable(QStringLiteral("%1 < %2 + 4 * %3").arg(dialog.width()).arg(caption).arg(button)));
    }

    // ---- the Intro tab's version lines ----
    void theVersionLinesLookReadOnlyAndTheKeyboardStartsOnTheVendorName() {
        f = std::make_unique<CUiFixture>();
        QLineEdit* vendor = f->Edit(QStringLiteral("Vendor_Name"));
        const QList<QLineEdit*> versions = {f->Edit(QStringLiteral("Orvik_Specification")),
                                            f->Edit(QStringLiteral("Orvik_Producer"))};
        QVERIFY(vendor && versions[0] && versions[1]);
        // Tab goes round the whole window: the first box of the page it reaches is the vendor name,
        // and it never stops on a version line.
        QWidget* page = f->window->View(EPage::Intro);
        QWidget* firstOnPage = nullptr;
        for (int press = 0; press < 40; ++press) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            QVERIFY2(!versions.contains(focus), qPrintable(focus->objectName()));
            if (!firstOnPage && page->isAncestorOf(focus)) {
                firstOnPage = focus;
            }
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(firstOnPage, static_cast<QWidget*>(vendor));
        // Where the problems panel puts the keyboard on the Intro tab.
        f->Focus(f->Edit(QStringLiteral("TID")));
        FocusFirstControl(*f->window, EPage::Intro);
        QTRY_VERIFY(vendor->hasFocus());

        QVERIFY(vendor->palette().color(QPalette::Base) != vendor->palette().color(QPalette::Window));
        for (QLineEdit* line : versions) {
            QVERIFY(line->isReadOnly());
            QVERIFY(!line->accessibleName().isEmpty());
            // The box has the window's background, not the white of a box to type in.
            QCOMPARE(line->palette().color(QPalette::Base), line->palette().color(QPalette::Window));
            // Its text can still be selected and copied.
            QTest::mouseDClick(line, Qt::LeftButton, {}, QPoint(10, line->height() / 2));
            QVERIFY2(!line->selectedText().isEmpty(), qPrintable(line->objectName()));
        }
    }

    // ---- an SVID dialog's mode lines ----
    void theModeListOfAnSvidDialogIsAsWideAsItsLongestLine() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullCableForm(1, 6));
        f->ClickTab(EPage::Cables2);
        auto* panel = qobject_cast<CListPanel*>(f->window->View(EPage::Cables2)->ListPanel());
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        panel->List()->setCurrentRow(0);
        CDialogScript script(*f->window);
        QTemporaryDir temp;
        const QString folder = PictureFolder(temp);
        script.Then([&](CGroupDialog& svid) {
            QTest::qWait(20);
            CListPanel* modes = svid.ModesPanel();
            QVERIFY(modes);
            QCOMPARE(modes->List()->count(), 6);
            // Recognition lines, the longest a mode has.
            QVERIFY(modes->List()->item(5)->text().startsWith(QStringLiteral("SVID Mode 6: Recog Mask=")));
            QVERIFY(modes->ContentWidth() > 0);
            QVERIFY2(modes->List()->viewport()->width() >= modes->ContentWidth(),
                     qPrintable(QStringLiteral("%1 < %2")
                                    .arg(modes->List()->viewport()->width())
                                    .arg(modes->ContentWidth())));
            QCOMPARE(modes->List()->horizontalScrollBar()->maximum(), 0);
            // The dialog has grown with its list: the list's buttons stand beside it, not over it.
            QVERIFY(modes->AddButton()->geometry().left() >= modes->List()->geometry().right());
            QVERIFY(svid.rect().contains(
                modes->AddButton()->mapTo(&svid, modes->AddButton()->rect().topRight())));
            QVERIFY(svid.width() <= svid.screen()->availableGeometry().width());
            QVERIFY(svid.grab().save(folder + QStringLiteral("/dialog-cable-svid.png")));
            PressCancel(svid);
        });
        QTest::mouseClick(panel->EditButton(), Qt::LeftButton);
        QCOMPARE(script.opened, 1);
    }

    // ---- the sheet on its screen ----
    void theSheetsFrameIsKeptInsideItsScreen() {
        // A 1000 by 700 client with a 4-pixel border and a 30-pixel title bar.
        const QRect room(0, 0, 1366, 768);
        const QSize minimum(800, 600);
        struct SCase {
            const char* what;
            QPoint client;
            QSize size;
            QRect expected;
        };
        const SCase cases[] = {
            {"inside: left as it is", {100, 60}, {1000, 700}, {96, 30, 1008, 734}},
            {"title bar above the screen: moved down", {100, 10}, {1000, 700}, {96, 0, 1008, 734}},
            {"too tall: shortened to the screen", {100, 30}, {1000, 760}, {96, 0, 1008, 768}},
            {"off the right edge: moved left", {900, 30}, {1000, 700}, {358, 0, 1008, 734}},
        };
        for (const SCase& c : cases) {
            const QRect client(c.client, c.size);
            const QRect frame = client.adjusted(-4, -30, 4, 4);
            const QRect place = FrameInsideScreen(frame, client, room, c.size.boundedTo(minimum));
            QVERIFY2(place == c.expected, c.what);
        }
        // Never below the minimum, even on a screen too small for it: the top-left corner stays in.
        const QRect tiny =
            FrameInsideScreen({50, 50, 1008, 734}, {54, 80, 1000, 700}, {0, 0, 640, 480}, {800, 600});
        QCOMPARE(tiny, QRect(0, 0, 808, 634));
    }

    // ---- the Source and Sink explanations ----
    void anExplanationOpensBesideTheSheetWhereTheScreenHasRoom() {
        // The sheet's frame is 1000 by 700 with a 1-pixel border and a 24-pixel title bar; the
        // explanation's client area is 460 by 236. Its frame is as thick, and 8 pixels apart.
        const int over = -1; // over the sheet's corner, at the full size
        // clang-format off
        struct SCase { const char* what; int screenWidth; int sheetLeft; int x; int width; };
        const SCase cases[] = {
            {"room on both sides: the right",         1920, 300,  300 + 1000 + 8,     460},
            {"room on the left only",                 1920, 900,  900 - 8 - 2 - 460,  460},
            {"centred: a little narrower, right",     1920, 460,  460 + 1000 + 8,     450},
            {"more room on the left: narrower, left", 1920, 465,  0,                  455},
            {"a third narrower still fits",           1317, 0,    1000 + 8,           307},
            {"one pixel less: over the corner",       1316, 0,    over,               460},
            {"a small screen: over the corner",       1366, 183,  over,               460},
        };
        // clang-format on
        for (const SCase& c : cases) {
            const SInfoRect frame{c.sheetLeft, 100, 1000, 700};
            const SInfoRect client{c.sheetLeft + 1, 124, 998, 675};
            const SInfoRect place =
                InfoWindowPlace({client, frame, {0, 0, c.screenWidth, 1040}, {}}, 460, 236);
            const SInfoPoint corner = InfoWindowPosition(client, 460, 236);
            QVERIFY2(place.left == (c.x == over ? corner.x : c.x), c.what);
            QVERIFY2(place.top == (c.x == over ? corner.y : frame.top), c.what);
            QVERIFY2(place.width == c.width, c.what);
            QVERIFY2(place.height == 236, c.what);
        }
        // On a small screen the corner would lie over the tab column: the explanation goes where it
        // covers neither the column nor the buttons, and the least of the sheet.
        {
            const SInfoRect frame{183, 0, 1000, 730};
            const SInfoRect client{184, 24, 998, 705};
            const SInfoRect column{190, 34, 190, 600};
            const SInfoRect buttons{190, 690, 980, 32};
            const SInfoRect screen{0, 0, 1366, 768};
            const SInfoRect place = InfoWindowPlace({client, frame, screen, {column, buttons}}, 460, 236);
            const auto apart = [](const SInfoRect& a, const SInfoRect& b) {
                return a.left + a.width <= b.left || b.left + b.width <= a.left ||
                       a.top + a.height <= b.top || b.top + b.height <= a.top;
            };
            QVERIFY(apart(place, column) && apart(place, buttons));
            QVERIFY(place.left >= 0 && place.left + place.width <= 1366 && place.top >= 0 &&
                    place.top + place.height <= 768);
        }
        // Level with the sheet, but not below the screen's bottom nor above its top.
        const SInfoRect screen{0, 0, 1920, 1040};
        const SInfoRect low{0, 900, 1000, 700};
        QCOMPARE(InfoWindowPlace({low, low, screen, {}}, 460, 260).top, 1040 - 260);
        const SInfoRect high{0, -50, 1000, 700};
        QCOMPARE(InfoWindowPlace({high, high, screen, {}}, 460, 260).top, 0);
    }

    void theSourceAndSinkExplanationsLeaveThePagesFirstFieldsInSight() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        const QRect room = f->window->screen()->availableGeometry();
        QVERIFY2(room.width() >= 1000 + 8 + 460 + 20, "the test needs a wide screen");
        f->window->resize(1000, 700);
        QTemporaryDir temp;
        const QString folder = PictureFolder(temp);
        struct SCase {
            EPage page;
            QPoint sheetAt;
        };
        const SCase cases[] = {{EPage::Source, room.topLeft()},
                               {EPage::Sink, room.topLeft() + QPoint(900, 0)}};
        for (const SCase& c : cases) {
            f->window->move(c.sheetAt);
            f->ClickTab(c.page);
            QTRY_VERIFY(f->window->InfoWindows().PageWindow(c.page) != nullptr);
            CInfoToUserDlg* info = f->window->InfoWindows().PageWindow(c.page);
            QTRY_VERIFY(info->isVisible());
            const QRect field = FirstFieldOnScreen(*f->window, c.page);
            QVERIFY(field.isValid());
            QVERIFY2(!info->frameGeometry().intersects(field), qPrintable(info->windowTitle()));
            QVERIFY(!info->frameGeometry().intersects(f->window->frameGeometry()));
            QVERIFY(room.contains(info->frameGeometry()));
            QTRY_VERIFY(f->window->isActiveWindow());
            QVERIFY(
                info->grab().save(folder + QStringLiteral("/info-beside-%1.png").arg(info->windowTitle())));
        }
    }
};

// A screen wide enough for the sheet and an explanation beside it, in place of the offscreen
// platform's default square one.
int main(int argc, char** argv) {
    QTemporaryDir config;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && config.isValid()) {
        QFile file(config.filePath(QStringLiteral("screen.json")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(R"({"screens": [{"name": "Wide", "x": 0, "y": 0, "width": 1920, "height": 1080,
                           "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            file.close();
            // The platform's options are separated by colons, so the file is named without its
            // folder (a Windows path starts with a drive letter and a colon).
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=screen.json");
        }
    }
    const QString workingFolder = QDir::currentPath();
    QDir::setCurrent(config.path());
    QApplication app(argc, argv);
    QDir::setCurrent(workingFolder);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    WindowFitTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "WindowFitTest.moc"
