#include "app/CommandLine.h"

#include <QTest>


Q_DECLARE_METATYPE(CCommandLine::Action)

namespace {

using Action = CCommandLine::Action;

} // namespace

/// Argument lists against what the program then does and what reaches its environment.
class CommandLineParse : public QObject {
    Q_OBJECT
private slots:
    void ParsesArgumentsIntoAStart_data();
    void ParsesArgumentsIntoAStart();
};

void CommandLineParse::ParsesArgumentsIntoAStart_data() {
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("printed"); ///< Part of standard output or error.
    QTest::addColumn<QString>("units");   ///< DDSTARN_SIM_UNITS afterwards; it was "5".
    QTest::addColumn<QString>("files");
    QTest::addColumn<QString>("headless"); ///< Arguments the headless program gets.

    const auto row = [](const char* name, const char* arguments, Action action, int status,
                        const char* printed, const char* units, const char* files = "",
                        const char* headless = "DDSTarnUSB") {
        QTest::newRow(name) << QString::fromUtf8(arguments) << action << status
                            << QString::fromUtf8(printed) << QString::fromUtf8(units)
                            << QString::fromUtf8(files) << QString::fromUtf8(headless);
    };
    row("nothing: the environment's generators", "", Action::Run, 0, "", "5");
    row("units", "--units 3", Action::Run, 0, "", "3");
    row("demo", "--demo", Action::Run, 0, "", "0");
    row("negative units", "--units -1", Action::Exit, 2, "0 or more", "5");
    row("units not a number", "--units two", Action::Exit, 2, "\"two\"", "5");
    row("units without a value", "--units", Action::Exit, 2, "Usage:", "5");
    row("demo and units", "--demo --units 2", Action::Exit, 2, "contradict", "5");
    row("unknown option", "--frequency 1000", Action::Exit, 2, "Usage:", "5");
    row("help", "--help --units 2", Action::Exit, 0, "--language NAME", "5");
    row("version", "-v", Action::Exit, 0, "DDSTarnUSB ", "5");
    row("files and language", "a.csv --language Deutsch b.csv", Action::Run, 0, "", "5",
        "a.csv b.csv");
    row("after -- only files", "-- --scpi -x.csv", Action::Run, 0, "", "5", "--scpi -x.csv");
    row("window with remote control", "--scpi=5026 --units 2", Action::Run, 0, "", "2", "",
        "DDSTarnUSB --scpi=5026");
    row("headless", "--listen=0.0.0.0 --headless --scpi --demo", Action::RunHeadless, 0, "", "0",
        "", "DDSTarnUSB --headless --scpi --listen=0.0.0.0");
    row("paths", "--paths", Action::PrintPaths, 0, "", "5");
}

void CommandLineParse::ParsesArgumentsIntoAStart() {
    QFETCH(QString, arguments);
    QFETCH(Action, action);
    qputenv("DDSTARN_SIM_UNITS", "5");
    qputenv("DDSTARN_DRIVER", "/old.so");

    CCommandLine commandLine;
    commandLine.Parse(QStringList{QStringLiteral("/usr/bin/DDSTarnUSB")} +
                      arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    commandLine.ApplyEnvironment();

    QCOMPARE(commandLine.m_action, action);
    QTEST(commandLine.m_nExitStatus, "status");
    QFETCH(QString, printed);
    QVERIFY2((commandLine.m_strOutput + commandLine.m_strError).contains(printed),
             qPrintable(commandLine.m_strOutput + commandLine.m_strError));
    // Help and version are for standard output; mistakes for standard error.
    QCOMPARE(commandLine.m_strError.isEmpty(), commandLine.m_nExitStatus == 0);
    QTEST(qEnvironmentVariable("DDSTARN_SIM_UNITS"), "units");
    QCOMPARE(qEnvironmentVariable("DDSTARN_DRIVER"), QStringLiteral("/old.so"));
    QTEST(commandLine.m_files.join(QLatin1Char(' ')), "files");
    QTEST(commandLine.HeadlessArguments().join(QLatin1Char(' ')), "headless");
    if (arguments.contains(QLatin1String("--language")))
        QCOMPARE(commandLine.m_strLanguage, QStringLiteral("Deutsch"));

    commandLine.Parse({QStringLiteral("DDSTarnUSB"), QStringLiteral("--driver"),
                       QStringLiteral("/lab/driver.so")});
    commandLine.ApplyEnvironment();
    QCOMPARE(qEnvironmentVariable("DDSTARN_DRIVER"), QStringLiteral("/lab/driver.so"));
}

QTEST_GUILESS_MAIN(CommandLineParse)
#include "CommandLineParse.moc"
