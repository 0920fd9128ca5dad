#include "remote/Headless.h"

#include "engine/DeviceWorker.h"
#include "instrument/ScpiInstrument.h"
#include "remote/HeadlessHost.h"
#include "remote/ScpiServer.h"
#include "scpi/ScpiSession.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const char* const kVersion = DDSTARN_VERSION;

struct COptions {
    QHostAddress address{QHostAddress::LocalHost};
    quint16 nPort = CScpiServer::kDefaultPort;
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
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr,
                         "DDSTarnUSB: cannot use \"%s\"\n"
                         "usage: DDSTarnUSB --headless [--scpi[=PORT]] [--listen=ADDRESS]\n",
                         argument.toLocal8Bit().constData());
            return false;
        }
    }
    return true;
}

int s_stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    // Nothing else is safe in a signal handler; the event loop reads the byte.
    [[maybe_unused]] const ssize_t written = ::write(s_stopPipe[1], &byte, 1);
}

/// SIGINT and SIGTERM end the event loop through a pipe the loop watches.
bool QuitOnStopSignals(QCoreApplication& application) {
    if (::pipe2(s_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto* notifier = new QSocketNotifier(s_stopPipe[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(s_stopPipe[0], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGINT, &action, nullptr) == 0 &&
           ::sigaction(SIGTERM, &action, nullptr) == 0;
}

int Serve(CScpiServer& server, const COptions& options) {
    QString error;
    if (!server.Listen(options.address, options.nPort, &error)) {
        std::fprintf(stderr, "SCPI cannot listen on %s:%u: %s\n",
                     options.address.toString().toLocal8Bit().constData(), unsigned(options.nPort),
                     error.toLocal8Bit().constData());
        return 1;
    }
    std::printf("SCPI listening on %s:%u\n", options.address.toString().toLocal8Bit().constData(),
                unsigned(server.Port()));
    std::fflush(stdout);
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
    if (!QuitOnStopSignals(application)) {
        std::perror("DDSTarnUSB: signal handlers");
        return 1;
    }

    CHeadlessHost host;
    int result = 0;
    {
        CScpiInstrument instrument(host, kVersion);
        CScpiServer server(instrument);
        result = Serve(server, options);
    }
    // The sessions are gone; every worker stops between two steps before its record goes.
    host.Stop();
    CDeviceWorker::ExitIfAbandoned(result);
    return result;
}
