#include "remote/Headless.h"

#include "engine/DeviceWorker.h"
#include "instrument/ScpiInstrument.h"
#include "instrument/WaveFolder.h"
#include "remote/HeadlessHost.h"
#include "remote/RemoteServers.h"
#include "remote/StopSignals.h"
#include "scpi/ScpiSession.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstring>

namespace {

const char* const kVersion = DDSTARN_VERSION;

struct COptions {
    QHostAddress address{QHostAddress::LocalHost};
    quint16 nPort = CScpiServer::kDefaultPort;
    std::string strDataDir; ///< Empty: the default waveform folder.
    QString strAllow;
};

/// False with a message on stderr for an option the headless program does not know.
bool ParseOptions(const QStringList& arguments, COptions& options) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        bool ok = true;
        if (argument == QLatin1String("--headless") || argument == QLatin1String("--scpi")) {
        } else if (argument.startsWith(QLatin1String("--scpi="))) {
            const uint port = argument.mid(7).toUInt(&ok);
            ok = ok && port <= 65535;
            options.nPort = quint16(port);
        } else if (argument.startsWith(QLatin1String("--listen="))) {
            ok = options.address.setAddress(argument.mid(9));
        } else if (argument.startsWith(QLatin1String("--data-dir="))) {
            // Absolute only: the command line has made it so.
            options.strDataDir = QFile::encodeName(argument.mid(11)).toStdString();
            ok = options.strDataDir.size() > 0 && options.strDataDir.front() == '/';
        } else if (argument.startsWith(QLatin1String("--allow="))) {
            options.strAllow = argument.mid(8);
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr,
                         "DDSTarnUSB: cannot use \"%s\"\n"
                         "usage: DDSTarnUSB --headless [--scpi[=PORT]] [--listen=ADDRESS] "
                         "[--allow=ADDR[/PREFIX][,...]] [--data-dir=DIR]\n",
                         argument.toLocal8Bit().constData());
            return false;
        }
    }
    return true;
}

/// Each note about VXI-11 and DNS-SD once, as it comes.
void LogNotes(const CRemoteNotes& notes, qsizetype& logged) {
    for (; logged < notes.size(); ++logged)
        std::printf("%s\n", notes[logged].English().toLocal8Bit().constData());
    std::fflush(stdout);
}

int Serve(CRemoteServers& server, const COptions& options) {
    QString error;
    if (!server.Admission().SetAllowList(options.strAllow, &error) ||
        !server.Listen(options.address, options.nPort, &error)) {
        std::fprintf(stderr, "SCPI cannot listen on %s:%u: %s\n",
                     options.address.toString().toLocal8Bit().constData(), unsigned(options.nPort),
                     error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("SCPI listening on %s:%u\n", options.address.toString().toLocal8Bit().constData(),
                unsigned(server.Port()));
    qsizetype logged = 0;
    LogNotes(server.Notes(), logged);
    QObject::connect(&server, &CRemoteServers::NotesChanged, &server,
                     [&server, &logged] { LogNotes(server.Notes(), logged); });
    QCoreApplication::exec();
    server.Close();
    return 0;
}

} // namespace

bool IsHeadless(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--headless") == 0)
            return true;
    return false;
}

int RunHeadless(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("DDS-Tarn USB"));
    COptions options;
    if (!ParseOptions(QCoreApplication::arguments(), options))
        return 2;
    if (!CStopSignals::QuitOn(application)) {
        std::perror("DDSTarnUSB: signal handlers");
        return 1;
    }

    CHeadlessHost host;
    int result = 0;
    {
        CScpiInstrument instrument(host, kVersion, options.strDataDir);
        // Made now so that its permissions are ours from the start; a folder that cannot be
        // made is said once, and the file commands then answer "Mass storage error".
        if (const int error = CWaveFolder(options.strDataDir).Prepare())
            std::fprintf(stderr, "DDSTarnUSB: waveform folder %s: %s\n",
                         instrument.WaveFolder().c_str(), std::strerror(error));
        CRemoteServers server(instrument);
        result = Serve(server, options);
    }
    // The sessions are gone; every worker stops between two steps before its record goes.
    host.Stop();
    CDeviceWorker::ExitIfAbandoned(result);
    return result;
}
