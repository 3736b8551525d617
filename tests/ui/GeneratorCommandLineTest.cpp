// The window program's command line: help, version, a bad option, and the options it passes on.
#include "ui/Application.h"

#include <QProcess>
#include <QTest>

#include <vector>

namespace {

struct SRun {
    int exitCode = -1;
    QString out;
    QString err;
};

SRun RunProgram(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Help and version need no display: none is given.
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ORVIK_GENERATOR_PATH), arguments);
    SRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

SStartOptions Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "orvik-generator");
    return ParseStartOptions(static_cast<int>(arguments.size()), arguments.data());
}

} // namespace

class GeneratorCommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void helpPrintsTheUsageAndSucceeds_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("--help") << QStringLiteral("--help");
        QTest::newRow("-h") << QStringLiteral("-h");
    }

    void helpPrintsTheUsageAndSucceeds() {
        QFETCH(QString, option);
        const SRun run = RunProgram({option});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith(QStringLiteral("Usage: orvik-generator [OPTION]... [FILE]\n")));
        QVERIFY(run.out.contains(QStringLiteral("--version")));
        QCOMPARE(run.out, QString::fromStdString(StartUsageText()));
        QCOMPARE(run.err, QString());
    }

    void versionPrintsTheProgramVersionAndSucceeds() {
        const SRun run = RunProgram({QStringLiteral("--version")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("orvik-generator 1.2.2.2\n"));
        QCOMPARE(run.err, QString());
    }

    void anUnknownOptionIsAnErrorWithTheUsage() {
        const SRun run = RunProgram({QStringLiteral("--bogus"), QStringLiteral("file.txt")});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QString());
        QVERIFY(run.err.startsWith(QStringLiteral("orvik-generator: unknown option '--bogus'\n")));
        QVERIFY(run.err.contains(QStringLiteral("Usage: orvik-generator")));

        const SRun two = RunProgram({QStringLiteral("a.txt"), QStringLiteral("b.txt")});
        QCOMPARE(two.exitCode, 2);
        QVERIFY(
            two.err.startsWith(QStringLiteral("orvik-generator: only one FILE can be loaded at start\n")));
    }

    void theParserTakesOneFileAndLeavesTheToolkitsOptions() {
        SStartOptions o = Parse({});
        QCOMPARE(o.action, SStartOptions::EAction::Run);
        QVERIFY(o.file.empty());

        o = Parse({"-platform", "offscreen", "port.txt", "-style=fusion", "-reverse"});
        QCOMPARE(o.action, SStartOptions::EAction::Run);
        QCOMPARE(o.file, std::string("port.txt"));

        o = Parse({"--", "-odd name.txt"});
        QCOMPARE(o.action, SStartOptions::EAction::Run);
        QCOMPARE(o.file, std::string("-odd name.txt"));

        // A lone dash is a file name, as is a name with blanks.
        o = Parse({"-"});
        QCOMPARE(o.file, std::string("-"));

        // Help wins over what follows it; an unknown option before it is reported.
        QCOMPARE(Parse({"x.txt", "--help", "--bogus"}).action, SStartOptions::EAction::Help);
        o = Parse({"-x", "--help"});
        QCOMPARE(o.action, SStartOptions::EAction::Error);
        QCOMPARE(o.error, std::string("unknown option '-x'"));
        QCOMPARE(Parse({"-reverse=1"}).action, SStartOptions::EAction::Error);
        QCOMPARE(Parse({"--version"}).action, SStartOptions::EAction::Version);
    }
};

QTEST_GUILESS_MAIN(GeneratorCommandLineTest)
#include "GeneratorCommandLineTest.moc"
