#include "remote/ClientAdmission.h"

#include <QStringList>

namespace {

/// An IPv4 client of a dual-stack socket arrives as ::ffff:a.b.c.d; the list speaks IPv4.
QHostAddress Plain(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4) : address;
}

bool SameAddress(const QHostAddress& a, const QHostAddress& b) {
    return Plain(a).isEqual(Plain(b));
}

} // namespace

bool CClientAdmission::SetAllowList(const QString& text, QString* error) {
    QList<QPair<QHostAddress, int>> subnets;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString item = part.trimmed();
        const qsizetype slash = item.indexOf(QLatin1Char('/'));
        QHostAddress address;
        bool ok = address.setAddress(slash < 0 ? item : item.left(slash));
        const int bits = address.protocol() == QAbstractSocket::IPv4Protocol ? 32 : 128;
        int prefix = bits;
        if (ok && slash >= 0)
            prefix = item.mid(slash + 1).toInt(&ok);
        if (!ok || prefix < 0 || prefix > bits) {
            if (error)
                *error = QStringLiteral("\"%1\" in the allow-list is not an address or an "
                                        "address/prefix such as 192.168.1.0/24")
                             .arg(item);
            return false;
        }
        subnets.append({Plain(address), prefix});
    }
    m_subnets = subnets;
    m_strAllow = text.trimmed();
    return true;
}

bool CClientAdmission::MayListenOn(const QHostAddress& address, QString* error) const {
    if (address.isLoopback() || !m_subnets.isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("listening on %1 would let any computer on the network drive the "
                                "generators; name the clients allowed (for example "
                                "192.168.1.0/24)")
                     .arg(address.toString());
    return false;
}

bool CClientAdmission::IsAllowed(const QHostAddress& peer) const {
    const QHostAddress plain = Plain(peer);
    if (m_subnets.isEmpty())
        return plain.isLoopback();
    for (const auto& [subnet, prefix] : m_subnets)
        if (plain.isInSubnet(subnet, prefix))
            return true;
    return false;
}

CClientAdmission::CDecision CClientAdmission::Decide(const QHostAddress& peer,
                                                     const std::vector<CSlot>& served) const {
    CDecision decision;
    if (!IsAllowed(peer)) {
        decision.strReason = QStringLiteral("not in the allow-list");
        return decision;
    }
    int sameAddress = 0;
    for (const CSlot& slot : served)
        sameAddress += SameAddress(slot.address, peer) ? 1 : 0;
    const bool addressFull = sameAddress >= kMaxPerAddress;
    if (!addressFull && int(served.size()) < kMaxClients) {
        decision.bAdmit = true;
        return decision;
    }
    // Room is made by the connection idle the longest among those that fill the limit: the
    // address's own when it has its share, any when the server is full.
    for (int i = 0; i < int(served.size()); ++i) {
        const CSlot& slot = served[std::size_t(i)];
        if (slot.nIdleMs < m_nIdleMs || (addressFull && !SameAddress(slot.address, peer)))
            continue;
        if (decision.nClose < 0 || slot.nIdleMs > served[std::size_t(decision.nClose)].nIdleMs)
            decision.nClose = i;
    }
    decision.bAdmit = decision.nClose >= 0;
    if (!decision.bAdmit)
        decision.strReason =
            addressFull ? QStringLiteral("its address has %1 busy connections").arg(kMaxPerAddress)
                        : QStringLiteral("%1 busy clients").arg(kMaxClients);
    return decision;
}
