#include "remote/RemoteServers.h"

#include "remote/DnsSdAnnouncer.h"
#include "remote/Vxi11Server.h"
#include "scpi/ScpiSession.h"

#include <QNetworkInterface>

namespace {

/// The port VXI-11 clients ask first: rpcbind's.
constexpr quint16 kRpcbindPort = 111;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    return parts;
}

/// The interface that carries `address`, so that a loopback-only server is announced on the
/// loopback alone; -1 for any address.
int InterfaceOf(const QHostAddress& address) {
    if (address == QHostAddress::Any || address == QHostAddress::AnyIPv4 ||
        address == QHostAddress::AnyIPv6)
        return -1;
    for (const QNetworkInterface& net : QNetworkInterface::allInterfaces()) {
        const bool loopback = net.flags().testFlag(QNetworkInterface::IsLoopBack);
        if (address.isLoopback() && loopback)
            return net.index();
        for (const QNetworkAddressEntry& entry : net.addressEntries())
            if (entry.ip() == address)
                return net.index();
    }
    return -1;
}

} // namespace

CRemoteServers::CRemoteServers(CScpiServer::CBackend backend, QObject* parent)
    : QObject(parent), m_backend(backend), m_raw(backend),
      m_pDnsSd(std::make_unique<CDnsSdAnnouncer>()) {
    // One admission for both: the raw socket's allow-list and limits, where a raw-socket client
    // and a VXI-11 link each take one of the clients' places.
    CVxi11Server::CBackend vxi11{
        backend.m_newSession, backend.m_tick, backend.m_sweepRunning,
        [this](const QHostAddress& peer) { return AdmitLink(peer); },
        [this](const QHostAddress& peer) { return m_raw.Admission().IsAllowed(peer); }};
    m_pVxi11 = std::make_unique<CVxi11Server>(std::move(vxi11));
    m_raw.SetOtherClients([this] { return m_pVxi11->LinkAddresses(); });
    connect(&m_raw, &CScpiServer::ClientsChanged, this, &CRemoteServers::ClientsChanged);
    connect(m_pVxi11.get(), &CVxi11Server::LinksChanged, this, &CRemoteServers::ClientsChanged);
    connect(m_pDnsSd.get(), &CDnsSdAnnouncer::Failed, this, [this](const QString& reason) {
        m_notes << CRemoteNote{CRemoteNote::DNSSD_OFF, reason};
        emit NotesChanged();
    });
}

CRemoteServers::~CRemoteServers() {
    Close();
}

CVxi11Server::EAdmission CRemoteServers::AdmitLink(const QHostAddress& peer) {
    const CClientAdmission& admission = m_raw.Admission();
    if (!admission.IsAllowed(peer))
        return CVxi11Server::EAdmission::AddressRefused;
    // Every place taken counts as busy: a link never closes a raw-socket client.
    std::vector<CClientAdmission::CSlot> served;
    for (const QHostAddress& address : m_raw.ClientAddresses())
        served.push_back({address, -1});
    for (const QHostAddress& address : m_pVxi11->LinkAddresses())
        served.push_back({address, -1});
    return admission.Decide(peer, served).bAdmit ? CVxi11Server::EAdmission::Admitted
                                                 : CVxi11Server::EAdmission::NoSlot;
}

bool CRemoteServers::Listen(const QHostAddress& address, quint16 port, QString* error) {
    Close();
    if (!m_raw.Listen(address, port, error))
        return false;
    QString reason;
    if (m_pVxi11->Listen(address, &reason))
        m_notes << CRemoteNote{CRemoteNote::VXI11_ON,
                               QStringLiteral("TCPIP::%1::INSTR (core channel :%2, abort :%3)")
                                   .arg(address.isLoopback() || address == QHostAddress::Any
                                            ? QStringLiteral("127.0.0.1")
                                            : address.toString())
                                   .arg(m_pVxi11->CorePort())
                                   .arg(m_pVxi11->AbortPort())};
    else
        m_notes << CRemoteNote{CRemoteNote::VXI11_OFF, reason};
    Announce(address);
    emit NotesChanged();
    return true;
}

void CRemoteServers::Announce(const QHostAddress& address) {
    // maker,model,serial,firmware as *IDN? answers.
    std::vector<std::string> identity = Split(Identity(), ',');
    identity.resize(4);
    std::vector<CDnsSdAnnouncer::CService> services{{"_scpi-raw._tcp", m_raw.Port()}};
    if (m_pVxi11->IsListening())
        services.push_back({"_vxi-11._tcp", kRpcbindPort});
    const std::string name = identity[1] + " " + identity[2];
    std::string reason;
    if (m_pDnsSd->Announce(name, services,
                           {"txtvers=1", "Manufacturer=" + identity[0], "Model=" + identity[1],
                            "SerialNumber=" + identity[2], "FirmwareVersion=" + identity[3]},
                           InterfaceOf(address), reason))
        m_notes << CRemoteNote{CRemoteNote::DNSSD_ON,
                               QLatin1Char('"') + QString::fromStdString(name) + QLatin1Char('"')};
    else
        m_notes << CRemoteNote{CRemoteNote::DNSSD_OFF, QString::fromStdString(reason)};
}

std::string CRemoteServers::Identity() const {
    std::string answer = m_backend.m_newSession()->Feed("*IDN?\n");
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r'))
        answer.pop_back();
    return answer;
}

void CRemoteServers::Close() {
    m_pDnsSd->Withdraw();
    m_pVxi11->Close();
    m_raw.Close();
    if (!m_notes.isEmpty()) {
        m_notes.clear();
        emit NotesChanged();
    }
}

bool CRemoteServers::IsListening() const {
    return m_raw.IsListening();
}

quint16 CRemoteServers::Port() const {
    return m_raw.Port();
}

quint16 CRemoteServers::Vxi11Port() const {
    return m_pVxi11->IsListening() ? m_pVxi11->CorePort() : 0;
}

QStringList CRemoteServers::Clients() const {
    return m_raw.Clients() + m_pVxi11->Links();
}
