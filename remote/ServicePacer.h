#pragma once
#include <QElapsedTimer>

class QTimer;

/// Paces a server's service timer: while a session waits (for *OPC?, a measurement, a lock) it
/// is polled on every pass of the event loop for a short while, since the unit usually answers
/// well within a millisecond, then every millisecond; with nothing to do the timer stops.
class CServicePacer {
public:
    /// For this long after a session starts waiting it is polled on every pass.
    static constexpr qint64 kEagerPollNs = 2'000'000;

    /// busy: work beside waiting sessions that keeps the timer running at 1 ms (a sweep).
    void Schedule(QTimer& timer, bool waiting, bool busy);

private:
    QElapsedTimer m_waitingSince;
    bool m_bWaiting = false;
};
