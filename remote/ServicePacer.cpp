#include "remote/ServicePacer.h"

#include <QTimer>

void CServicePacer::Schedule(QTimer& timer, bool waiting, bool busy) {
    if (waiting && !m_bWaiting)
        m_waitingSince.start();
    m_bWaiting = waiting;
    if (!waiting && !busy) {
        timer.stop();
        return;
    }
    const int interval = waiting && m_waitingSince.nsecsElapsed() < kEagerPollNs ? 0 : 1;
    if (!timer.isActive() || timer.interval() != interval)
        timer.start(interval);
}
