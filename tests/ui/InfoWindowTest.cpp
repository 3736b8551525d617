// The explanation windows of the PD Source and PD Sink tabs and the release notes, opened as a user
// opens them: by clicking the tabs and by asking for the notes.
#include "FullForm.h"
#include "UiTestBase.h"

#include "persistence/Upgrader.h"
#include "text/Version.h"
#include "ui/InfoPlacement.h"
#include "ui/InfoWindow.h"
#include "ui/ReleaseNotes.h"
#include "ui/SheetInfoWindows.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>

#include <memory>

namespace {

// The top-level information windows with this caption that are still around.
QList<CInfoToUserDlg*> InfoWindowsTitled(const QString& title) {
    QList<CInfoToUserDlg*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* window = qobject_cast<CInfoToUserDlg*>(widget);
        if (window && window->windowTitle() == title) {
            found << window;
        }
    }
    return found;
}

// The character format of the first run that holds `text` whole; invalid when there is none.
QTextCharFormat FormatOf(const QTextDocument& document, const QString& text) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(text)) {
                return it.fragment().charFormat();
            }
        }
    }
    return {};
}

bool IsBoldItalic(const QTextCharFormat& format) {
    return format.fontWeight() == QFont::Bold && format.fontItalic();
}

bool IsItalicOnly(const QTextCharFormat& format) {
    return format.fontWeight() != QFont::Bold && format.fontItalic();
}

QStringList BlockTexts(const QTextDocument& document) {
    QStringList texts;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        texts << block.text();
    }
    return texts;
}

// Where the sheet says an information window of that size opens.
// Where the window opens: over the sheet's corner as the formula places it, unless that covers the
// sheet's tab column or buttons; then somewhere that covers less of them.
bool PlacedAsExpected(const QWidget& sheet, const QWidget& window) {
    const QPoint origin = sheet.mapToGlobal(QPoint(0, 0));
    const SInfoPoint at = InfoWindowPosition({origin.x(), origin.y(), sheet.width(), sheet.height()},
                                             window.width(), window.height());
    const QRect formula(QPoint(at.x, at.y), window.size());
    const QRect placed(window.pos(), window.size());
    const auto covered = [&](const QRect& r) {
        int area = 0;
        for (const QWidget* part : {static_cast<const QWidget*>(sheet.findChild<QTabBar*>()),
                                    static_cast<const QWidget*>(sheet.findChild<QDialogButtonBox*>())}) {
            const QRect common = r.intersected(QRect(part->mapToGlobal(QPoint(0, 0)), part->size()));
            area += common.isEmpty() ? 0 : common.width() * common.height();
        }
        return area;
    };
    return covered(formula) == 0 ? placed == formula : covered(placed) < covered(formula);
}

} // namespace

class InfoWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CUiFixture> f;

    // Clicks the tab and waits for its explanation window.
    CInfoToUserDlg* OpenByTab(EPage page, const QString& title) {
        f->ClickTab(page);
        if (QTest::currentTestFailed()) {
            return nullptr;
        }
        [&] { QTRY_VERIFY(f->window->InfoWindows().PageWindow(page) != nullptr); }();
        CInfoToUserDlg* window = f->window->InfoWindows().PageWindow(page);
        if (window) {
            [&] { QTRY_VERIFY(window->isVisible()); }();
            [&] { QCOMPARE(InfoWindowsTitled(title).size(), 1); }();
        }
        return window;
    }

private slots:
    void cleanup() { f.reset(); }

    // ---- placement ----
    void atTheScreenCornerABigWindowOpensExactlyAtTheCorner() {
        const SInfoPoint at = InfoWindowPosition({0, 0, 1000, 700}, 300, 210);
        QCOMPARE(at.x, 0);
        QCOMPARE(at.y, 0);
        const SInfoPoint bigger = InfoWindowPosition({0, 0, 1000, 700}, 900, 650);
        QCOMPARE(bigger.x, 0);
        QCOMPARE(bigger.y, 0);
    }

    void atTheScreenCornerASmallWindowReachesThreeTenthsIntoTheSheet() {
        const SInfoPoint at = InfoWindowPosition({0, 0, 1000, 700}, 200, 100);
        QCOMPARE(at.x + 200, 300);
        QCOMPARE(at.y + 100, 210);
    }

    void withRoomTheWindowMovesUpAndLeftByAQuarterOfTheSheet() {
        const SInfoPoint at = InfoWindowPosition({400, 300, 1000, 700}, 600, 500);
        QCOMPARE(at.x, 400 - 250);
        QCOMPARE(at.y, 300 - 175);
    }

    void nearTheScreenEdgeTheShiftStopsAtTheEdge() {
        const SInfoPoint at = InfoWindowPosition({100, 50, 1000, 700}, 600, 400);
        QCOMPARE(at.x, 0);
        QCOMPARE(at.y, 0);
    }

    void theThresholdsUseWholeNumberDivision() {
        // 999 / 4 = 249 and 3 * 999 / 10 = 299: a window 548 wide still shifts by the quarter; one
        // pixel narrower and it ends 299 inside the sheet.
        const SInfoRect sheet{1000, 1000, 999, 999};
        QCOMPARE(InfoWindowPosition(sheet, 548, 548).x, 1000 - 249);
        QCOMPARE(InfoWindowPosition(sheet, 548, 548).y, 1000 - 249);
        QCOMPARE(InfoWindowPosition(sheet, 547, 547).x, 1000 + 299 - 547);
        QCOMPARE(InfoWindowPosition(sheet, 547, 547).y, 1000 + 299 - 547);
    }

    // ---- page explanations ----
    void theSourceTabOpensItsExplanationWithoutTakingTheKeyboard() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QVERIFY(InfoWindowsTitled(QStringLiteral("USB_Suspend_May_Be_Cleared")).isEmpty());
        CInfoToUserDlg* window = OpenByTab(EPage::Source, QStringLiteral("USB_Suspend_May_Be_Cleared"));
        QVERIFY(window);
        QVERIFY(PlacedAsExpected(*f->window, *window));
        QVERIFY(window->Text()->isReadOnly());
        QVERIFY(!window->Text()->accessibleName().isEmpty());
        QCOMPARE(window->CloseButton()->text(), QStringLiteral("Close"));
        QCOMPARE(window->CloseButton()->accessibleName(), QStringLiteral("Close"));
        QVERIFY(window->CloseButton()->isDefault());

        const QTextDocument& text = *window->Text()->document();
        QCOMPARE(text.blockCount(), 2);
        QVERIFY(IsItalicOnly(FormatOf(text, QStringLiteral("Source_Capabilities"))));
        QVERIFY(IsBoldItalic(FormatOf(text, QStringLiteral("USB Suspend Supported"))));
        QVERIFY(text.toPlainText().contains(QStringLiteral("USB_Suspend_May_Be_Cleared")));

        // The user keeps typing on the sheet.
        QTRY_VERIFY(f->window->isActiveWindow());
        f->Type(QStringLiteral("Num_Src_PDOs"), QStringLiteral("2"));
        QVERIFY(f->Edit(QStringLiteral("Num_Src_PDOs"))->hasFocus());
    }

    void activatingTheSourceTabAgainKeepsOneWindowAndBringsItBackAsItIs() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        CInfoToUserDlg* window = OpenByTab(EPage::Source, QStringLiteral("USB_Suspend_May_Be_Cleared"));
        QVERIFY(window);
        QPointer<CInfoToUserDlg> first = window;
        // The user moves it, makes it larger, then puts it away.
        window->move(window->pos() + QPoint(37, 23));
        window->resize(window->size() + QSize(50, 40));
        const QRect placed = window->geometry();
        window->setWindowState(Qt::WindowMinimized);

        f->ClickTab(EPage::Intro);
        QCOMPARE(f->sheet.ActivePage().Id(), EPage::Intro);
        QVERIFY(OpenByTab(EPage::Source, QStringLiteral("USB_Suspend_May_Be_Cleared")) == first.data());
        QTRY_VERIFY(!first->isMinimized());
        QVERIFY(first->isVisible());
        QCOMPARE(first->geometry(), placed);
    }

    void afterClosingTheSourceTabOpensAFreshWindowAtTheComputedPlace() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        CInfoToUserDlg* window = OpenByTab(EPage::Source, QStringLiteral("USB_Suspend_May_Be_Cleared"));
        QVERIFY(window);
        QPointer<CInfoToUserDlg> first = window;
        first->move(first->pos() + QPoint(60, 60));
        QTest::mouseClick(first->CloseButton(), Qt::LeftButton);
        QTRY_VERIFY(first.isNull());
        QVERIFY(f->window->InfoWindows().PageWindow(EPage::Source) == nullptr);
        QVERIFY(InfoWindowsTitled(QStringLiteral("USB_Suspend_May_Be_Cleared")).isEmpty());

        f->window->move(f->window->pos() + QPoint(120, 80));
        f->ClickTab(EPage::General);
        CInfoToUserDlg* fresh = OpenByTab(EPage::Source, QStringLiteral("USB_Suspend_May_Be_Cleared"));
        QVERIFY(fresh);
        QVERIFY(PlacedAsExpected(*f->window, *fresh));
    }

    void theSinkTabExplainsNoUsbSuspendAndEscapeClosesIt() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        CInfoToUserDlg* window = OpenByTab(EPage::Sink, QStringLiteral("No_USB_Suspend_May_Be_Set"));
        QVERIFY(window);
        QVERIFY(InfoWindowsTitled(QStringLiteral("USB_Suspend_May_Be_Cleared")).isEmpty());
        QVERIFY(PlacedAsExpected(*f->window, *window));
        const QTextDocument& text = *window->Text()->document();
        QCOMPARE(text.blockCount(), 2);
        QVERIFY(IsItalicOnly(FormatOf(text, QStringLiteral("Request"))));
        QVERIFY(IsBoldItalic(FormatOf(text, QStringLiteral("No USB Suspend"))));
        QVERIFY(text.toPlainText().contains(QStringLiteral("No_USB_Suspend_May_Be_Set")));

        QPointer<CInfoToUserDlg> open = window;
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(open.isNull());
        QVERIFY(f->window->InfoWindows().PageWindow(EPage::Sink) == nullptr);
    }

    void eachListPageKeepsItsOwnWindowAndOtherTabsOpenNone() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QVERIFY(OpenByTab(EPage::Source, QStringLiteral("USB_Suspend_May_Be_Cleared")));
        QVERIFY(OpenByTab(EPage::Sink, QStringLiteral("No_USB_Suspend_May_Be_Set")));
        QCOMPARE(InfoWindowsTitled(QStringLiteral("USB_Suspend_May_Be_Cleared")).size(), 1);
        f->ClickTab(EPage::General);
        f->ClickTab(EPage::SOPDiscovery2);
        QTest::qWait(20);
        int open = 0;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            open += qobject_cast<CInfoToUserDlg*>(widget) != nullptr ? 1 : 0;
        }
        QCOMPARE(open, 2);
    }

    void theWindowsCloseWithTheSheet() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        QPointer<CInfoToUserDlg> source =
            OpenByTab(EPage::Source, QStringLiteral("USB_Suspend_May_Be_Cleared"));
        f->window->ShowReleaseNotes();
        QPointer<CInfoToUserDlg> notes = f->window->InfoWindows().ReleaseNotesWindow();
        QVERIFY(source && notes);
        f->window.reset();
        QVERIFY(source.isNull());
        QVERIFY(notes.isNull());
    }

    void aSheetLeftBeforeTheWindowOpensOpensNone() {
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        f->ClickTab(EPage::Source);
        f->window.reset();
        QTest::qWait(20);
        QVERIFY(InfoWindowsTitled(QStringLiteral("USB_Suspend_May_Be_Cleared")).isEmpty());
    }

    // ---- release notes ----
    void askingForTheReleaseNotesTwiceKeepsOneWindow() {
        f = std::make_unique<CUiFixture>();
        f->window->ShowReleaseNotes();
        CInfoToUserDlg* notes = f->window->InfoWindows().ReleaseNotesWindow();
        QVERIFY(notes);
        QVERIFY(notes->isVisible());
        QCOMPARE(notes->windowTitle(), QStringLiteral("Release Notes"));
        QVERIFY(PlacedAsExpected(*f->window, *notes));
        notes->move(notes->pos() + QPoint(15, 10));
        const QRect placed = notes->geometry();
        notes->setWindowState(Qt::WindowMinimized);

        f->window->ShowReleaseNotes();
        emit f->window->releaseNotesRequested();
        QCOMPARE(InfoWindowsTitled(QStringLiteral("Release Notes")).size(), 1);
        QVERIFY(f->window->InfoWindows().ReleaseNotesWindow() == notes);
        QVERIFY(!notes->isMinimized());
        QCOMPARE(notes->geometry(), placed);
    }

    void theReleaseNotesCanBeOpenedAgainAfterClosing() {
        f = std::make_unique<CUiFixture>();
        emit f->window->releaseNotesRequested();
        QPointer<CInfoToUserDlg> notes = f->window->InfoWindows().ReleaseNotesWindow();
        QVERIFY(notes);
        QTest::mouseClick(notes->CloseButton(), Qt::LeftButton);
        QTRY_VERIFY(notes.isNull());
        QVERIFY(f->window->InfoWindows().ReleaseNotesWindow() == nullptr);
        emit f->window->releaseNotesRequested();
        QVERIFY(f->window->InfoWindows().ReleaseNotesWindow() != nullptr);
        QCOMPARE(InfoWindowsTitled(QStringLiteral("Release Notes")).size(), 1);
    }

    void theReleaseNotesTitleIsCentredBoldAndFourPointsLarger() {
        QTextEdit edit;
        FillReleaseNotes(edit);
        const QTextDocument& doc = *edit.document();
        const QTextBlock title = doc.begin();
        QCOMPARE(title.text(), QStringLiteral("Release Notes"));
        QVERIFY(title.blockFormat().alignment() & Qt::AlignHCenter);
        const QTextCharFormat format = title.begin().fragment().charFormat();
        QCOMPARE(format.fontWeight(), int(QFont::Bold));
        QCOMPARE(format.fontPointSize(), QFontInfo(edit.font()).pointSizeF() + 4);
        QVERIFY(!(title.next().blockFormat().alignment() & Qt::AlignHCenter));
    }

    void eachVersionIsABoldHeadingFollowedByItsListNewestFirst() {
        QTextEdit edit;
        FillReleaseNotes(edit);
        const QTextDocument& doc = *edit.document();
        const QRegularExpression version(QStringLiteral("^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$"));
        QStringList headings;
        for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
            if (!version.match(block.text()).hasMatch()) {
                continue;
            }
            headings << block.text();
            QVERIFY(!block.textList());
            QCOMPARE(block.begin().fragment().charFormat().fontWeight(), int(QFont::Bold));
            QVERIFY2(block.next().isValid() && block.next().textList(), qPrintable(block.text()));
            QCOMPARE(block.next().textList()->format().style(), QTextListFormat::ListDisc);
        }
        // Only the version this program has words for has a heading; the earlier ones, whose
        // changes it does not know, are named once at the end instead of under empty headings.
        QCOMPARE(headings, QStringList{QString::fromWCharArray(orvik::kGeneratorVersion)});
        QCOMPARE(headings.first(), QStringLiteral("1.2.2.2"));
        QCOMPARE(ProgramVersions().size(), 26);
        QCOMPARE(ProgramVersions().first(), headings.first());
        QCOMPARE(ProgramVersions().last(), QStringLiteral("0.9.16.0"));
        const QStringList blocks = BlockTexts(doc);
        QCOMPARE(blocks.last(), QStringLiteral("The 25 earlier versions, 1.2.2.1 back to 0.9.16.0, are not "
                                               "described here: this program keeps no record of their "
                                               "changes beyond the retired fields above."));
        QVERIFY(doc.toPlainText().count(QStringLiteral("No record")) == 0);
    }

    void theCurrentVersionListsEveryRetiredFieldUnderItsSubListHeading() {
        QTextEdit edit;
        FillReleaseNotes(edit);
        const QTextDocument& doc = *edit.document();
        const QStringList blocks = BlockTexts(doc);
        const int renamed = blocks.indexOf(QStringLiteral("Renamed fields:"));
        const int removed = blocks.indexOf(QStringLiteral("Fields Removed:"));
        QVERIFY(renamed > 0);
        QVERIFY(removed > renamed);
        // Both sub-lists belong to the current version: the line naming the earlier ones follows.
        QVERIFY(removed < blocks.size() - 1);
        QVERIFY(blocks.last().startsWith(QStringLiteral("The 25 earlier versions")));

        const std::vector<SRetiredField> retired = RetiredFields();
        QCOMPARE(retired.size(), std::size_t(10));
        int renames = 0;
        for (const SRetiredField& field : retired) {
            const QString oldName = QString::fromStdWString(field.oldName);
            const QString first = QString::fromStdWString(field.currentNames.front());
            int at = renamed;
            while (at < blocks.size() && !blocks.at(at).contains(oldName)) {
                ++at;
            }
            QVERIFY2(at < blocks.size(), qPrintable(oldName));
            QVERIFY2(blocks.at(at).contains(first), qPrintable(blocks.at(at)));
            if (field.currentNames.size() == 1) {
                ++renames;
                QVERIFY2(at < removed, qPrintable(oldName));
            } else {
                QVERIFY2(at > removed, qPrintable(oldName));
            }
        }
        QCOMPARE(renames, 9);
        // An item names the tab in bold and the fields in italic.
        const int host = blocks.indexOf(QStringLiteral("USB Host Host_Speed, formerly Type_C_Host_Speed"));
        QVERIFY2(host > renamed, qPrintable(blocks.mid(renamed, 12).join(QLatin1Char('\n'))));
        const QTextBlock item = doc.findBlockByNumber(host);
        QVERIFY(item.textList());
        QCOMPARE(item.textList()->format().indent(), 2);
        QCOMPARE(FormatOf(doc, QStringLiteral("Type_C_Host_Speed")).fontItalic(), true);
        auto fragment = item.begin();
        QCOMPARE(fragment.fragment().text(), QStringLiteral("USB Host"));
        QCOMPARE(fragment.fragment().charFormat().fontWeight(), int(QFont::Bold));
        QVERIFY(blocks.at(removed + 1)
                    .startsWith(QStringLiteral("UUT_Device_Type, whose answer now sets Intro "
                                               "Orvik_Product_Type, Orvik Product Connector_Type")));
    }

    // Pictures of the windows for people to look at, in ORVIK_SCREENSHOT_DIR when it is set.
    void theWindowsRender() {
        const QByteArray target = qgetenv("ORVIK_SCREENSHOT_DIR");
        QTemporaryDir temp;
        const QString folder = target.isEmpty() ? temp.path() : QString::fromLocal8Bit(target);
        QDir().mkpath(folder);
        f = std::make_unique<CUiFixture>(orvik::testsupport::FullPortForm(2, 2, 1, 1));
        CInfoToUserDlg* source = OpenByTab(EPage::Source, QStringLiteral("USB_Suspend_May_Be_Cleared"));
        CInfoToUserDlg* sink = OpenByTab(EPage::Sink, QStringLiteral("No_USB_Suspend_May_Be_Set"));
        f->window->ShowReleaseNotes();
        CInfoToUserDlg* notes = f->window->InfoWindows().ReleaseNotesWindow();
        QVERIFY(source && sink && notes);
        QTest::qWait(20);
        QVERIFY(source->grab().save(folder + QStringLiteral("/info-USB_Suspend_May_Be_Cleared.png")));
        QVERIFY(sink->grab().save(folder + QStringLiteral("/info-No_USB_Suspend_May_Be_Set.png")));
        QVERIFY(notes->grab().save(folder + QStringLiteral("/release-notes.png")));
        notes->Text()->verticalScrollBar()->setValue(notes->Text()->verticalScrollBar()->maximum() / 4);
        QTest::qWait(20);
        QVERIFY(notes->grab().save(folder + QStringLiteral("/release-notes-middle.png")));
        notes->Text()->verticalScrollBar()->setValue(notes->Text()->verticalScrollBar()->maximum());
        QTest::qWait(20);
        QVERIFY(notes->grab().save(folder + QStringLiteral("/release-notes-end.png")));
    }
};

QTEST_MAIN(InfoWindowTest)
#include "InfoWindowTest.moc"
