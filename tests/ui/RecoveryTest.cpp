// The copy of unsaved answers a window keeps, and the copy a run that ended without a save leaves for
// the next one. Every copy lives in a temporary folder of the test's own.
#include "FullForm.h"
#include "UiTestBase.h"

#include "persistence/FileWriter.h"
#include "platform/Platform.h"
#include "ui/RecoveryKeeper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>

namespace {

// No system hands out process ids this large: the process that wrote such a copy has ended.
constexpr long kEndedProcess = 2000000000L;

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Bytes(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> state;
    std::unique_ptr<CUiFixture> f;
    CRecoveryKeeper* keeper = nullptr;

    void Start(const std::string& loadBytes = {}) {
        f = std::make_unique<CUiFixture>(loadBytes);
        keeper = new CRecoveryKeeper(*f->window, state->path());
    }

    // A copy as a run that did not end cleanly leaves it, last written at `written`.
    QString LeaveCopy(long pid, const QByteArray& bytes, const QDateTime& written, int window = 1) {
        const QString path =
            QDir(state->path())
                .filePath(QStringLiteral("recovery-%1-%2.txt").arg(static_cast<qint64>(pid)).arg(window));
        QFile file(path);
        // Written out before its time is set, so that closing the file does not set it again.
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
            !file.setFileTime(written, QFileDevice::FileModificationTime)) {
            return {};
        }
        return path;
    }

    QString Vendor() const { return f->Edit(QStringLiteral("Vendor_Name"))->text(); }

    // The copy a second after the last change, when no write is under way.
    void WaitForCopy(int writes) {
        QTRY_COMPARE_WITH_TIMEOUT(keeper->WriteCount(), writes, 3 * CRecoveryKeeper::kDelayMs);
        keeper->WaitForWrites();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        state = std::make_unique<QTemporaryDir>();
        QVERIFY(state->isValid());
    }

    void cleanup() {
        keeper = nullptr;
        f.reset();
        state.reset();
    }

    void theSystemTellsARunningProcessFromAnEndedOne() {
        // On a desktop a run is its process.
        QCOMPARE(orvik::platform::CurrentProcessId(), static_cast<long>(QCoreApplication::applicationPid()));
        QVERIFY(orvik::platform::IsProcessRunning(orvik::platform::CurrentProcessId()));
        QVERIFY(!orvik::platform::IsProcessRunning(kEndedProcess));
        QVERIFY(!orvik::platform::IsProcessRunning(0));
        QVERIFY(!orvik::platform::IsProcessRunning(-1));
    }

    void aChangeIsKeptWithinASecondAsTheBytesASaveWouldWrite() {
        Start(orvik::testsupport::FullCableForm());
        QVERIFY(!keeper->HasUnsavedChanges());
        // Going to another tab and back answers nothing.
        f->ClickTab(f->window->TabPages().at(1));
        f->ClickTab(EPage::Intro);
        QTest::qWait(CRecoveryKeeper::kDelayMs + 200);
        QCOMPARE(keeper->WriteCount(), 0);
        QVERIFY(!QFile::exists(keeper->CopyPath()));

        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("Acme"));
        QVERIFY(keeper->HasUnsavedChanges());
        WaitForCopy(1);
        QVERIFY(keeper->CopyPath().startsWith(state->path()));
        QCOMPARE(ReadAll(keeper->CopyPath()), Bytes(BuildOrvikBytes(f->sheet)));
    }

    void typingAHundredCharactersDoesNotWriteAHundredTimes() {
        Start();
        QElapsedTimer typing;
        typing.start();
        f->Type(QStringLiteral("Vendor_Name"), QString(100, QLatin1Char('x')));
        const qint64 took = typing.elapsed();
        QTest::qWait(2 * CRecoveryKeeper::kDelayMs);
        keeper->WaitForWrites();
        QVERIFY(keeper->WriteCount() >= 1);
        QVERIFY2(keeper->WriteCount() <= 2 + took / CRecoveryKeeper::kDelayMs,
                 qPrintable(QStringLiteral("%1 writes in %2 ms").arg(keeper->WriteCount()).arg(took)));
        QCOMPARE(ReadAll(keeper->CopyPath()), Bytes(BuildOrvikBytes(f->sheet)));
    }

    void answersDiscardedWithCancelKeepTheirCopyForTheNextStart() {
        Start();
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("Acme"));
        WaitForCopy(1);
        f->prompt.SetNextAnswer(false);
        QTest::mouseClick(f->window->CancelButton(), Qt::LeftButton);
        QVERIFY(QFile::exists(keeper->CopyPath()));
        // The last keys before Cancel are in the copy too, though its second had not passed.
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral(" Corp"));
        f->prompt.SetNextAnswer(true);
        QTest::mouseClick(f->window->CancelButton(), Qt::LeftButton);
        QVERIFY(!f->window->isVisible());
        QCOMPARE(ReadAll(keeper->CopyPath()), Bytes(BuildOrvikBytes(f->sheet)));
        QVERIFY(ReadAll(keeper->CopyPath()).contains("Acme Corp"));
    }

    void aSuccessfulSaveLeavesNothingToLoseUntilTheNextChange() {
        Start(orvik::testsupport::FullCableForm());
        // A loaded form is saved once every tab has been looked over.
        for (EPage page : std::vector<EPage>(f->window->TabPages())) {
            f->ClickTab(page);
        }
        f->ClickTab(EPage::Intro);
        f->Clear(QStringLiteral("Vendor_Name"));
        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("Acme"));
        WaitForCopy(1);

        // Apply saves and the window stays.
        QTest::mouseClick(f->window->ApplyButton(), Qt::LeftButton);
        QVERIFY(!f->sheet.OutputFileName().empty());
        QVERIFY(QFile::exists(f->dir.filePath(QString::fromStdWString(f->sheet.OutputFileName()))));
        QVERIFY(!keeper->HasUnsavedChanges());
        QVERIFY(!QFile::exists(keeper->CopyPath()));

        f->Type(QStringLiteral("Vendor_Name"), QStringLiteral("2"));
        QVERIFY(keeper->HasUnsavedChanges());
        WaitForCopy(2);
        // OK saves and closes the window.
        QTest::mouseClick(f->window->OkButton(), Qt::LeftButton);
        QVERIFY(!f->window->isVisible());
        QVERIFY(!QFile::exists(keeper->CopyPath()));
    }

    void aCopyLeftByAnEndedRunIsOfferedAndYesRestoresItsAnswers() {
        Start();
        const QDateTime written(QDate(2026, 12, 1), QTime(10, 15));
        const QString newest = LeaveCopy(kEndedProcess, "$Vendor_Name: \"Recovered\"\r\n", written);
        const QString older =
            LeaveCopy(kEndedProcess - 1, "$Vendor_Name: \"Older\"\r\n", written.addDays(-1));
        // This very process's windows keep their copies: never offered, never deleted.
        const QString own = LeaveCopy(orvik::platform::CurrentProcessId(), "$Vendor_Name: \"Mine\"\r\n",
                                      written.addDays(1), 999);
        QVERIFY(!newest.isEmpty() && !older.isEmpty() && !own.isEmpty());

        f->prompt.SetNextAnswer(true);
        keeper->OfferRestore();
        QCOMPARE(f->prompt.History().size(), std::size_t{1});
        QCOMPARE(f->prompt.History().front().kind, CScriptedPrompt::Shown::Question);
        QCOMPARE(
            QString::fromStdWString(f->prompt.History().front().text),
            QStringLiteral(
                "Orvik Generator was closed without saving. Restore the answers from 2026-12-01 10:15?"));
        QCOMPARE(Vendor(), QStringLiteral("Recovered"));
        QVERIFY(f->Logged("Success: Orvik " + newest.toStdString() + " loaded."));
        // The form is a new one again, with nothing saved: the title names no file.
        QCOMPARE(f->window->windowTitle(), QStringLiteral("Orvik Generator 1.2.2.2"));
        QVERIFY(!QFile::exists(newest));
        QVERIFY(!QFile::exists(older));
        QVERIFY(QFile::exists(own));
        // The restored answers are unsaved: this window keeps them now.
        QVERIFY(keeper->HasUnsavedChanges());
        WaitForCopy(1);
        QCOMPARE(ReadAll(keeper->CopyPath()), Bytes(BuildOrvikBytes(f->sheet)));
    }

    void noDeletesTheCopyAndLeavesTheFormAsItIs() {
        Start();
        const QString copy =
            LeaveCopy(kEndedProcess, "$Vendor_Name: \"Recovered\"\r\n", QDateTime::currentDateTime());
        f->prompt.SetNextAnswer(false);
        keeper->OfferRestore();
        QCOMPARE(f->prompt.History().size(), std::size_t{1});
        QCOMPARE(Vendor(), QString());
        QVERIFY(!QFile::exists(copy));
        QVERIFY(!keeper->HasUnsavedChanges());
    }

    void aCopyThatHoldsNoAnswersIsNamedAndDeletedWithoutAQuestion() {
        Start();
        const QDateTime written(QDate(2026, 12, 2), QTime(8, 5));
        const QString copy =
            LeaveCopy(kEndedProcess, QByteArray("\x01\x02 not a form\r\n\xff\xfe", 17), written);
        keeper->OfferRestore();
        QCOMPARE(f->prompt.History().size(), std::size_t{1});
        QCOMPARE(f->prompt.History().front().kind, CScriptedPrompt::Shown::Error);
        QCOMPARE(
            QString::fromStdWString(f->prompt.History().front().text),
            QStringLiteral("The answers kept from 2026-12-02 08:05 cannot be read. They have been deleted."));
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(Vendor(), QString());
    }
};

QTEST_MAIN(RecoveryTest)
#include "RecoveryTest.moc"
