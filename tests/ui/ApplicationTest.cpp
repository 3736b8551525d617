// The program's run from start-up to shutdown: log lines, title, and the top-level handler.
#include "FullForm.h"
#include "UiTestBase.h"

#include "model/Errors.h"
#include "platform/Platform.h"
#include "ui/Application.h"
#include "ui/LoadReportView.h"
#include "ui/RecoveryKeeper.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

class CMemoryLogFile : public ILogFile {
public:
    CMemoryLogFile(std::string& bytes, std::string path) : bytes_(bytes), path_(std::move(path)) {}
    bool WriteAndFlush(std::string_view bytes) override {
        bytes_.append(bytes);
        return true;
    }
    const std::string& FullPath() const override { return path_; }

private:
    std::string& bytes_;
    std::string path_;
};

class CMemoryLogPlatform : public ILogPlatform {
public:
    std::tm LocalNow() override {
        std::tm t{};
        t.tm_year = 126;
        t.tm_mon = 11;
        t.tm_mday = 9;
        return t;
    }
    std::unique_ptr<ILogFile> Open(const std::string& path) override {
        return std::make_unique<CMemoryLogFile>(bytes, path);
    }
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }

    // The log's messages without their time stamps.
    std::vector<std::string> Messages() const {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < bytes.size()) {
            const std::size_t end = bytes.find("\r\n", start);
            const std::string line =
                bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
            const std::size_t mark = line.find(":  ");
            lines.push_back(mark == std::string::npos ? line : line.substr(mark + 3));
            if (end == std::string::npos) {
                break;
            }
            start = end + 2;
        }
        return lines;
    }

    std::string bytes;
    std::vector<std::wstring> messages;
};

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

public:
    explicit ApplicationTest(COrvikApplication& app) : app_(app) {}

private:
    // Runs the program, `during` driving the shown window, and answers with what was reported.
    void Run(const std::function<void(CSheetWindow&)>& during, const std::wstring& startFile = {}) {
        SetLogSink(nullptr);
        app_.Run(prompt, platform, during, startFile);
    }

    bool Logged(const std::string& line) const {
        const std::vector<std::string> lines = platform.Messages();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    COrvikApplication& app_;
    CScriptedPrompt prompt;
    CMemoryLogPlatform platform;

private slots:
    void init() {
        prompt = CScriptedPrompt();
        platform.bytes.clear();
        // The program's state goes to the toolkit's test folders, and what an earlier run of this
        // test left there is no question for this one.
        QStandardPaths::setTestModeEnabled(true);
        QDir(CRecoveryKeeper::StateFolder()).removeRecursively();
    }

    void answersLeftByARunThatEndedWithoutASaveAreOfferedAtStart() {
        QVERIFY(QDir().mkpath(CRecoveryKeeper::StateFolder()));
        // No system hands out a process id this large: that run has ended.
        const QString copy =
            QDir(CRecoveryKeeper::StateFolder()).filePath(QStringLiteral("recovery-2000000000-1.txt"));
        QFile file(copy);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("$Vendor_Name: \"Recovered\"\r\n");
        file.close();

        prompt.SetDefaultAnswer(true);
        QString vendor;
        Run([&](CSheetWindow& window) {
            vendor = QString::fromStdWString(window.Sheet().FindField(L"$Vendor_Name")->Value());
            QTest::mouseClick(window.CancelButton(), Qt::LeftButton);
        });
        QCOMPARE(vendor, QStringLiteral("Recovered"));
        QVERIFY(!prompt.History().empty());
        QVERIFY(prompt.History().front().text.starts_with(
            L"Orvik Generator was closed without saving. Restore the answers from "));
        // The copy is gone; the restored answers, thrown away with Cancel, are kept once more by
        // this run for the next start.
        const QStringList left = QDir(CRecoveryKeeper::StateFolder()).entryList(QDir::Files);
        QCOMPARE(left.size(), 1);
        QVERIFY(
            left.front().startsWith(QStringLiteral("recovery-%1-").arg(orvik::platform::CurrentProcessId())));
    }

    void closingRightAfterStartLogsTheFirstAndLastLines() {
        QString title;
        Run([&](CSheetWindow& window) {
            title = window.windowTitle();
            QTest::mouseClick(window.CancelButton(), Qt::LeftButton);
        });
        QCOMPARE(title, QStringLiteral("Orvik Generator 1.2.2.2"));
        const std::vector<std::string> lines = platform.Messages();
        QVERIFY(lines.size() >= 4);
        QCOMPARE(lines.front(), std::string("Halvex Marnel File Generator, Version 1.2.2.2"));
        QCOMPARE(lines[1], std::string("Initializing logger."));
        QCOMPARE(lines.back(), std::string("Shutting down logger."));
        QVERIFY(prompt.History().empty());
        // Later log calls go nowhere.
        Log(std::string_view("after the end"));
        QCOMPARE(platform.Messages().back(), std::string("Shutting down logger."));
    }

    void failuresReachingTheTopAreReportedAndTheLogStillEnds_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fieldlist_error") << 0 << QStringLiteral("fieldlist_error exception: bad list");
        QTest::newRow("filegen_error") << 1 << QStringLiteral("filegen_error exception: bad file");
        QTest::newRow("std::exception") << 2 << QStringLiteral("std::exception: bad thing");
    }

    void failuresReachingTheTopAreReportedAndTheLogStillEnds() {
        QFETCH(int, kind);
        QFETCH(QString, expected);
        Run([kind](CSheetWindow&) {
            if (kind == 0) {
                throw fieldlist_error(L"bad list");
            }
            if (kind == 1) {
                throw filegen_error(L"bad file");
            }
            throw std::runtime_error("bad thing");
        });
        QCOMPARE(prompt.History().size(), std::size_t(1));
        QCOMPARE(prompt.History()[0].kind, CScriptedPrompt::Shown::Error);
        QCOMPARE(QString::fromStdWString(prompt.History()[0].text), expected);
        const std::vector<std::string> lines = platform.Messages();
        QCOMPARE(QString::fromStdString(lines[lines.size() - 2]), expected);
        QCOMPARE(lines.back(), std::string("Shutting down logger."));
    }

    void aFailureThrownByAnEventHandlerEndsTheRunAndIsReported() {
        bool stillRunning = false;
        Run([&](CSheetWindow& window) {
            QTimer::singleShot(0, &window, [] { throw filegen_error(L"late failure"); });
            // Should the failure not end the run, the window is closed a while later.
            QTimer::singleShot(5000, &window, [&] {
                stillRunning = true;
                window.done(QDialog::Rejected);
            });
        });
        QVERIFY(!stillRunning);
        QCOMPARE(prompt.History().size(), std::size_t(1));
        QCOMPARE(prompt.History()[0].kind, CScriptedPrompt::Shown::Error);
        QCOMPARE(prompt.History()[0].text, std::wstring(L"filegen_error exception: late failure"));
        const std::vector<std::string> lines = platform.Messages();
        QCOMPARE(lines[lines.size() - 2], std::string("filegen_error exception: late failure"));
        QCOMPARE(lines.back(), std::string("Shutting down logger."));
    }

    void aFileNamedAtStartIsLoadedThroughTheLoadFlow() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("port.txt"));
        const std::string bytes = orvik::testsupport::FullPortForm(2, 2, 1, 1);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        }
        QStringList tabs;
        QStringList expected;
        QString title;
        QString vendor;
        bool reported = true;
        std::size_t asked = 99;
        // The cancel question after the load is answered Yes.
        prompt.SetNextAnswer(true);
        Run(
            [&](CSheetWindow& window) {
                asked = prompt.History().size();
                for (int i = 0; i < window.TabWidget()->count(); ++i) {
                    tabs << window.TabWidget()->tabText(i);
                }
                for (const CPageSuper* page : window.Sheet().Tabs()) {
                    expected << QString::fromStdWString(page->TabLabel());
                }
                title = window.windowTitle();
                vendor = window.findChild<QLineEdit*>(QStringLiteral("Vendor_Name"))->text();
                reported = window.LoadReportView()->IsOpen();
                QTest::mouseClick(window.CancelButton(), Qt::LeftButton);
            },
            path.toStdWString());
        QCOMPARE(asked, std::size_t(0));
        QCOMPARE(tabs, expected);
        QVERIFY(tabs.contains(QStringLiteral("PD Source")));
        QCOMPARE(title, QStringLiteral("Orvik Generator 1.2.2.2 - [port.txt]"));
        QCOMPARE(vendor, QStringLiteral("Ab Co"));
        // The file loaded as written: nothing to report.
        QVERIFY(!reported);
        QVERIFY(Logged("Orvik " + path.toStdString() + " selected."));
        QVERIFY(Logged("Success: Orvik " + path.toStdString() + " loaded."));
        QVERIFY(!Logged("About to select Orvik for loading."));
        QCOMPARE(platform.Messages().back(), std::string("Shutting down logger."));
    }

    void aMissingFileNamedAtStartShowsTheFailureBoxAndTheEmptyForm() {
        const std::wstring missing = L"/nonexistent/folder/port.txt";
        QString vendor = QStringLiteral("unset");
        bool shown = false;
        QStringList report;
        Run(
            [&](CSheetWindow& window) {
                shown = window.isVisible();
                vendor = window.findChild<QLineEdit*>(QStringLiteral("Vendor_Name"))->text();
                if (window.LoadReportView()->isVisible()) {
                    report = window.LoadReportView()->ShownLines();
                }
                QTest::mouseClick(window.CancelButton(), Qt::LeftButton);
            },
            missing);
        QVERIFY(shown);
        QCOMPARE(vendor, QString());
        QVERIFY(!prompt.History().empty());
        QCOMPARE(prompt.History().back().kind, CScriptedPrompt::Shown::Error);
        QCOMPARE(prompt.History().back().text, L"Failure: Unable to load Orvik " + missing + L".");
        // The report under the tabs says it too, in the report's words.
        QCOMPARE(report.size(), 1);
        QVERIFY2(report.front().startsWith(QStringLiteral("[not loaded] ")), qPrintable(report.front()));
    }
};

// The program's own application object runs the tests, so that failures inside the event loop take
// the program's path.
int main(int argc, char* argv[]) {
    COrvikApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    ApplicationTest test(app);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "ApplicationTest.moc"
