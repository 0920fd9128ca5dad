#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QDir>

#include <cstdlib>

namespace {

QCommandLineOption Option(const char* name, const char* description, const char* value = nullptr) {
    return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                              value ? QString::fromLatin1(value) : QString());
}

/// "--scpi" and "--scpi=PORT" cannot both be one QCommandLineOption: they are taken out first.
bool IsScpiArgument(const QString& argument) {
    return argument == QLatin1String("--scpi") || argument.startsWith(QLatin1String("--scpi="));
}

} // namespace

QString CCommandLine::HelpText() const {
    return QStringLiteral(
               "Usage: %1 [options] [files...]\n"
               "Control program for DDS-Tarn USB signal generators.\n\n"
               "Options:\n"
               "  -h, --help          Show this help and exit.\n"
               "  -v, --version       Show the program's version and exit.\n"
               "  --units N           Attach N simulated generators (as DDSTARN_SIM_UNITS).\n"
               "  --demo              Attach no generator: every device window is a Demo.\n"
               "  --driver PATH       Use the real driver library PATH (as DDSTARN_DRIVER).\n"
               "  --language NAME     Start in the language NAME (\"Deutsch\", \"German\",\n"
               "                      \"English\"), as if chosen in Utility > Language.\n"
               "  --headless          Run without windows, serving remote control.\n"
               "  --scpi[=PORT]       Serve SCPI remote control on PORT (5025).\n"
               "  --listen=ADDRESS    Where the headless program listens (127.0.0.1).\n"
               "  --data-dir DIR      The one folder remote file commands reach\n"
               "                      (~/.local/share/ddstarn-usb/waveforms).\n"
               "  --allow=ADDR[/PREFIX][,...]\n"
               "                      The clients the headless program admits (loopback\n"
               "                      only unless given; needed to listen beyond it).\n"
               "  --paths             Show where the program finds its files, then exit.\n\n"
               "Arguments:\n"
               "  files               CSV waveform files to open, one device window each.\n")
        .arg(m_strProgram);
}

void CCommandLine::Parse(const QStringList& arguments) {
    *this = CCommandLine();
    m_strProgram = QStringLiteral("DDSTarnUSB");
    QStringList rest;
    bool options = true; // after "--" only files follow
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        options = options && arguments[i] != QLatin1String("--");
        if (i > 0 && options && IsScpiArgument(arguments[i]))
            m_headless << arguments[i];
        else
            rest << arguments[i];
    }

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption units = Option("units", "", "N");
    const QCommandLineOption demo = Option("demo", "");
    const QCommandLineOption driver = Option("driver", "", "PATH");
    const QCommandLineOption language = Option("language", "", "NAME");
    const QCommandLineOption headless = Option("headless", "");
    const QCommandLineOption listen = Option("listen", "", "ADDRESS");
    const QCommandLineOption allow = Option("allow", "", "LIST");
    const QCommandLineOption paths = Option("paths", "");
    const QCommandLineOption dataDir = Option("data-dir", "", "DIR");
    parser.addOptions(
        {help, version, units, demo, driver, language, headless, listen, allow, paths, dataDir});

    m_action = Action::Exit;
    if (!parser.parse(rest)) {
        m_nExitStatus = kUsageStatus;
        m_strError = m_strProgram + QStringLiteral(": ") + parser.errorText() +
                     QStringLiteral("\n\n") + HelpText();
        return;
    }
    if (parser.isSet(help)) {
        m_strOutput = HelpText();
        return;
    }
    if (parser.isSet(version)) {
        m_strOutput = m_strProgram + QStringLiteral(" ") + QStringLiteral(DDSTARN_VERSION) + '\n';
        return;
    }
    if (parser.isSet(units)) {
        bool ok = false;
        const int count = parser.value(units).toInt(&ok);
        if (!ok || count < 0 || parser.isSet(demo)) {
            m_nExitStatus = kUsageStatus;
            m_strError = m_strProgram +
                         (parser.isSet(demo)
                              ? QStringLiteral(": --units and --demo contradict each other.\n")
                              : QStringLiteral(": --units wants a whole number of generators, "
                                               "0 or more, not \"%1\".\n")
                                    .arg(parser.value(units)));
            return;
        }
        m_nUnits = count;
    }
    if (parser.isSet(demo))
        m_nUnits = 0;
    if (parser.isSet(dataDir)) {
        // Made absolute now: the folder must not move with a later change of directory.
        const QString folder = parser.value(dataDir);
        if (folder.isEmpty()) {
            m_nExitStatus = kUsageStatus;
            m_strError = m_strProgram + QStringLiteral(": --data-dir wants a folder.\n");
            return;
        }
        m_strDataDir = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
        m_headless << QStringLiteral("--data-dir=") + m_strDataDir;
    }
    m_strDriver = parser.value(driver);
    m_strLanguage = parser.value(language);
    m_files = parser.positionalArguments();
    if (parser.isSet(headless))
        m_headless.prepend(QStringLiteral("--headless"));
    if (parser.isSet(listen))
        m_headless << QStringLiteral("--listen=") + parser.value(listen);
    if (parser.isSet(allow))
        m_headless << QStringLiteral("--allow=") + parser.value(allow);
    m_action = parser.isSet(paths)      ? Action::PrintPaths
               : parser.isSet(headless) ? Action::RunHeadless
                                        : Action::Run;
}

void CCommandLine::ApplyEnvironment() const {
    if (m_nUnits >= 0)
        ::setenv("DDSTARN_SIM_UNITS", QByteArray::number(m_nUnits).constData(), 1);
    if (!m_strDriver.isEmpty())
        ::setenv("DDSTARN_DRIVER", m_strDriver.toLocal8Bit().constData(), 1);
}

QStringList CCommandLine::HeadlessArguments() const {
    return QStringList{m_strProgram} + m_headless;
}
