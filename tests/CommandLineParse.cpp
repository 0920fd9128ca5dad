#include "app/CommandLine.h"

#include <QDir>
#include <QTest>

/// Argument lists against what the program then does and what reaches its environment.
class CommandLineParse : public QObject {
    Q_OBJECT
private slots:
    void ParsesArgumentsIntoAStart();
};

void CommandLineParse::ParsesArgumentsIntoAStart() {
    using A = CCommandLine::Action;
    // Arguments; the action, exit status and a part of what is printed (to standard output for
    // help and version, to standard error for mistakes); DDSTARN_SIM_UNITS afterwards (it was
    // "5"); the files to open and the arguments the headless program gets.
    const char* const kHeadless = "DDSTarnUSB";
    const std::tuple<const char*, A, int, const char*, const char*, const char*, const char*>
        rows[] = {
            {"", A::Run, 0, "", "5", "", kHeadless}, // the environment's generators
            {"--units 3", A::Run, 0, "", "3", "", kHeadless},
            {"--demo", A::Run, 0, "", "0", "", kHeadless},
            {"--units -1", A::Exit, 2, "0 or more", "5", "", kHeadless},
            {"--units two", A::Exit, 2, "\"two\"", "5", "", kHeadless},
            {"--units", A::Exit, 2, "Usage:", "5", "", kHeadless},
            {"--demo --units 2", A::Exit, 2, "contradict", "5", "", kHeadless},
            {"--frequency 1000", A::Exit, 2, "Usage:", "5", "", kHeadless},
            {"--help --units 2", A::Exit, 0, "--language NAME", "5", "", kHeadless},
            {"-v", A::Exit, 0, "DDSTarnUSB ", "5", "", kHeadless},
            {"a.csv --language Deutsch b.csv", A::Run, 0, "", "5", "a.csv b.csv", kHeadless},
            {"-- --scpi -x.csv", A::Run, 0, "", "5", "--scpi -x.csv", kHeadless}, // only files
            {"--scpi=5026 --units 2", A::Run, 0, "", "2", "", "DDSTarnUSB --scpi=5026"},
            {"--listen=0.0.0.0 --headless --scpi --demo", A::RunHeadless, 0, "", "0", "",
             "DDSTarnUSB --headless --scpi --listen=0.0.0.0"},
            {"--headless --allow 10.0.0.0/8,::1 --listen=0.0.0.0", A::RunHeadless, 0, "", "5", "",
             "DDSTarnUSB --headless --listen=0.0.0.0 --allow=10.0.0.0/8,::1"},
            {"--paths", A::PrintPaths, 0, "", "5", "", kHeadless},
            {"--headless --data-dir /srv/lab/../waves/", A::RunHeadless, 0, "", "5", "",
             "DDSTarnUSB --headless --data-dir=/srv/waves"},
            {"--data-dir", A::Exit, 2, "Usage:", "5", "", kHeadless},
        };
    for (const auto& [arguments, action, status, printed, units, files, headless] : rows) {
        qputenv("DDSTARN_SIM_UNITS", "5");
        qputenv("DDSTARN_DRIVER", "/old.so");
        CCommandLine line;
        line.Parse(QStringList{QStringLiteral("/usr/bin/DDSTarnUSB")} +
                   QString(arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        line.ApplyEnvironment();
        // The arguments come first to name the row; what was printed shows when it misses.
        const QString printedText = line.m_strOutput + line.m_strError;
        QCOMPARE(std::tuple(QString(arguments), line.m_action, line.m_nExitStatus,
                            printedText.contains(printed) ? QString(printed) : printedText,
                            line.m_strError.isEmpty(), qEnvironmentVariable("DDSTARN_SIM_UNITS"),
                            qEnvironmentVariable("DDSTARN_DRIVER"), line.m_files.join(' '),
                            line.HeadlessArguments().join(' ')),
                 std::tuple(QString(arguments), action, status, QString(printed), status == 0,
                            QString(units), QString("/old.so"), QString(files), QString(headless)));
        if (QString(arguments).contains(QLatin1String("--language")))
            QCOMPARE(line.m_strLanguage, QStringLiteral("Deutsch"));

        // A folder named relative to where the program starts stays that folder.
        line.Parse({QStringLiteral("DDSTarnUSB"), QStringLiteral("--data-dir=w")});
        QCOMPARE(line.m_strDataDir, QDir::currentPath() + QStringLiteral("/w"));

        line.Parse({QStringLiteral("DDSTarnUSB"), QStringLiteral("--driver"),
                    QStringLiteral("/lab/driver.so")});
        line.ApplyEnvironment();
        QCOMPARE(qEnvironmentVariable("DDSTARN_DRIVER"), QStringLiteral("/lab/driver.so"));
    }
}

QTEST_GUILESS_MAIN(CommandLineParse)
#include "CommandLineParse.moc"
