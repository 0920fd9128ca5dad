#include "remote/StopSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

int s_stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    // Nothing else is safe in a signal handler; the event loop reads the byte.
    [[maybe_unused]] const ssize_t written = ::write(s_stopPipe[1], &byte, 1);
}

} // namespace

bool CStopSignals::QuitOn(QCoreApplication& application, std::function<void()> stop) {
    if (::pipe2(s_stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto* notifier = new QSocketNotifier(s_stopPipe[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [stop = std::move(stop)] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(s_stopPipe[0], &byte, 1);
        if (stop)
            stop();
        else
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
