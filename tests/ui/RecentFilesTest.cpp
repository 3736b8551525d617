// The Intro tab's recent files: which files the list keeps, and choosing one from the menu beside
// Load Orvik. The settings live in a temporary folder of the test's own.
#include "FullForm.h"
#include "UiTestBase.h"

#include "ui/IntroPanel.h"
#include "ui/RecentFiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <string>

class RecentFilesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> settings;
    std::unique_ptr<CUiFixture> f;

    CIntroPanel* Panel() const { return qobject_cast<CIntroPanel*>(f->window->View(EPage::Intro)->Extras()); }

    QString WriteFile(const QString& name, const std::string& bytes) {
        const QString path = f->dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            return {};
        }
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    // The menu's entries as it shows them when it opens.
    QList<QAction*> MenuEntries() const {
        emit Panel()->RecentMenu()->aboutToShow();
        return Panel()->RecentMenu()->actions();
    }

    // The entry's load runs once the menu's own loop has ended.
    static void Choose(QAction* entry) {
        entry->trigger();
        QCoreApplication::sendPostedEvents();
    }

    QStringList Listed() const {
        QStringList texts;
        for (QAction* action : MenuEntries()) {
            texts << action->text();
        }
        return texts;
    }

    static QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        settings = std::make_unique<QTemporaryDir>();
        QVERIFY(settings->isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings->path());
    }

    void cleanup() {
        f.reset();
        settings.reset();
    }

    void theListKeepsTheLastEightFilesMostRecentFirstEachOnce() {
        QTemporaryDir dir;
        QStringList files;
        for (int i = 1; i <= 9; ++i) {
            files = CRecentFiles::WithFirst(files, dir.filePath(QStringLiteral("f%1.txt").arg(i)));
        }
        QCOMPARE(files.size(), CRecentFiles::kLimit);
        QCOMPARE(files.front(), Native(dir.filePath(QStringLiteral("f9.txt"))));
        QCOMPARE(files.back(), Native(dir.filePath(QStringLiteral("f2.txt"))));

        // The same file written another way moves to the front instead of being listed twice.
        files = CRecentFiles::WithFirst(files, dir.path() + QStringLiteral("/sub/../f5.txt"));
        QCOMPARE(files.size(), CRecentFiles::kLimit);
        QCOMPARE(files.front(), Native(dir.filePath(QStringLiteral("f5.txt"))));
        QCOMPARE(files.count(Native(dir.filePath(QStringLiteral("f5.txt")))), 1);
        QCOMPARE(files.at(1), Native(dir.filePath(QStringLiteral("f9.txt"))));
    }

    void aLoadAndASavePutTheirFileFirst() {
        f = std::make_unique<CUiFixture>();
        f->prompt.SetDefaultAnswer(true);
        QVERIFY(!Panel()->RecentButton()->isEnabled());
        QVERIFY(!Panel()->RecentButton()->accessibleName().isEmpty());
        QVERIFY(Panel()->RecentButton()->focusPolicy() & Qt::TabFocus);

        const QString loaded = WriteFile(QStringLiteral("cable.txt"), orvik::testsupport::FullCableForm());
        f->prompt.SetNextFileName(loaded.toStdWString());
        QTest::mouseClick(Panel()->LoadButton(), Qt::LeftButton);
        QVERIFY(Panel()->RecentButton()->isEnabled());
        QCOMPARE(Listed(), QStringList{Native(loaded)});

        // Apply writes the file named from the answers, once every tab has been looked over: it comes
        // first.
        for (EPage page : std::vector<EPage>(f->window->TabPages())) {
            f->ClickTab(page);
        }
        QTest::mouseClick(f->window->ApplyButton(), Qt::LeftButton);
        QVERIFY(!f->sheet.OutputFileName().empty());
        const QString saved = f->dir.filePath(QString::fromStdWString(f->sheet.OutputFileName()));
        QVERIFY(QFile::exists(saved));
        QCOMPARE(Listed(), (QStringList{Native(saved), Native(loaded)}));

        // Loading the first file again moves it up; the list survives the window.
        f->prompt.SetNextFileName(loaded.toStdWString());
        QTest::mouseClick(Panel()->LoadButton(), Qt::LeftButton);
        f = std::make_unique<CUiFixture>();
        QCOMPARE(Listed(), (QStringList{Native(loaded), Native(saved)}));
    }

    void aSaveThatFailsIsNotListed() {
        f = std::make_unique<CUiFixture>();
        // A new form is not complete: nothing is written.
        QTest::mouseClick(f->window->ApplyButton(), Qt::LeftButton);
        QVERIFY(Listed().isEmpty());
    }

    void choosingAFileLoadsItAsLoadOrvikDoes() {
        f = std::make_unique<CUiFixture>();
        const QString path = WriteFile(QStringLiteral("cable.txt"), orvik::testsupport::FullCableForm());
        CRecentFiles().Add(path);
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("typed"));

        f->prompt.SetNextAnswer(true);
        const QList<QAction*> entries = MenuEntries();
        QCOMPARE(entries.size(), 1);
        Choose(entries.front());
        QCOMPARE(f->QuestionsAsked(kOverwrite), 1);
        QVERIFY(f->Logged("Orvik " + Native(path).toStdString() + " selected."));
        QVERIFY(f->Logged("Success: Orvik " + Native(path).toStdString() + " loaded."));
        QVERIFY(!f->Logged("About to select Orvik for loading."));
        QVERIFY(f->Edit(QStringLiteral("Vendor_Name"))->text() != QStringLiteral("typed"));
        QCOMPARE(f->sheet.FindField(L"$Vendor_Name")->Value().empty(), false);
    }

    void theKeyboardReachesTheMenuFromLoadOrvik() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("cable.txt"));
        CRecentFiles().Add(path);
        f = std::make_unique<CUiFixture>();
        f->Focus(Panel()->LoadButton());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Panel()->RecentButton());

        QStringList shown;
        QTimer::singleShot(0, this, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* action : menu->actions()) {
                    shown << action->text();
                }
                menu->close();
            }
        });
        QTest::keyClick(Panel()->RecentButton(), Qt::Key_Space);
        QCOMPARE(shown, QStringList{Native(path)});
    }

    void aFileThatIsGoneIsNamedAndTakenOffTheList() {
        f = std::make_unique<CUiFixture>();
        const QString kept = WriteFile(QStringLiteral("kept.txt"), orvik::testsupport::FullCableForm());
        const QString gone = f->dir.filePath(QStringLiteral("gone.txt"));
        CRecentFiles().Add(kept);
        CRecentFiles().Add(gone);

        const QList<QAction*> entries = MenuEntries();
        QCOMPARE(entries.size(), 2);
        Choose(entries.front());
        QCOMPARE(f->prompt.History().size(), std::size_t{1});
        QCOMPARE(f->prompt.History().front().kind, CScriptedPrompt::Shown::Error);
        QCOMPARE(QString::fromStdWString(f->prompt.History().front().text),
                 Native(gone) +
                     QStringLiteral(" no longer exists. It has been removed from the list of recent files."));
        QVERIFY(!f->Logged("Orvik " + Native(gone).toStdString() + " selected."));
        QCOMPARE(Listed(), QStringList{Native(kept)});
    }
};

QTEST_MAIN(RecentFilesTest)
#include "RecentFilesTest.moc"
