#pragma once
#include <QHostAddress>
#include <QList>
#include <QPair>
#include <QString>

#include <vector>

/// Who may connect to a remote-control server, and which connection makes room: the
/// allow-list, the limits on clients in all and per address, and the rule that idle
/// connections never starve a new client. Every server of the program (SCPI over TCP, VXI-11)
/// asks this one class, so they admit alike.
class CClientAdmission {
public:
    static constexpr int kMaxClients = 16;
    static constexpr int kMaxPerAddress = 8;
    /// A connection idle this long may be closed to admit a new one.
    static constexpr qint64 kDefaultIdleMs = 10'000;

    /// One connection already served: where from and how long it has been idle (-1: busy).
    struct CSlot {
        QHostAddress address;
        qint64 nIdleMs = -1;
    };
    struct CDecision {
        bool bAdmit = false;
        /// Index of the served connection to close first; -1 for none.
        int nClose = -1;
        /// Why a client is refused, for the log.
        QString strReason;
    };

    /// "ADDR[/PREFIX][,ADDR[/PREFIX]...]"; empty: loopback only. False with a reason (and the
    /// list unchanged) for text that is not such a list.
    bool SetAllowList(const QString& text, QString* error = nullptr);
    QString AllowList() const { return m_strAllow; }
    /// Listening on a loopback address needs no allow-list; anywhere else it does.
    bool MayListenOn(const QHostAddress& address, QString* error = nullptr) const;
    bool IsAllowed(const QHostAddress& peer) const;
    /// What to do with a new client from `peer`, given the connections served now.
    CDecision Decide(const QHostAddress& peer, const std::vector<CSlot>& served) const;

    void SetIdleMs(qint64 ms) { m_nIdleMs = ms; }
    qint64 IdleMs() const { return m_nIdleMs; }

private:
    QString m_strAllow;
    QList<QPair<QHostAddress, int>> m_subnets;
    qint64 m_nIdleMs = kDefaultIdleMs;
};
