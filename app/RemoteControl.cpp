#include "app/RemoteControl.h"

#include "app/MainFrame.h"
#include "res/Resource.h"
#include <QHostAddress>
#include <QTcpServer>

namespace {

CRemoteControl::EndpointFactory& Factory() {
    static CRemoteControl::EndpointFactory factory;
    return factory;
}

} // namespace

CRemoteControl::CRemoteControl(CMainFrame& frame) : m_frame(frame), m_registry(frame) {}

CRemoteControl::~CRemoteControl() {
    if (m_pEndpoint)
        m_pEndpoint->Close();
}

void CRemoteControl::SetEndpointFactory(EndpointFactory factory) {
    Factory() = std::move(factory);
}

QString CRemoteControl::Place(const CSettingsFile::Remote& remote) {
    const QString address = QString::fromStdString(remote.strAddress);
    return (address.contains(QLatin1Char(':')) ? QLatin1Char('[') + address + QLatin1Char(']')
                                               : address) +
           QLatin1Char(':') + QString::number(remote.nPort);
}

bool CRemoteControl::Apply(const CSettingsFile::Remote& remote, QString& error) {
    if (!remote.bEnabled) {
        m_setting = remote;
        if (m_pEndpoint)
            m_pEndpoint->Close();
        return true;
    }
    if (!m_pEndpoint)
        m_pEndpoint = Factory() ? Factory()(m_registry) : MakeScpiEndpoint(m_registry);
    m_pEndpoint->SetWaveFolder(remote.strDataDir);
    // Listening again on the address and port it already has would drop every client.
    if (m_pEndpoint->IsListening() && m_pEndpoint->Port() == remote.nPort &&
        m_strAddress == remote.strAddress && m_strAllow == remote.strAllow) {
        m_setting = remote;
        return true;
    }
    // A server that listens goes on where it is, clients and all, when the new place is taken.
    if (m_pEndpoint->IsListening()) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress(QString::fromStdString(remote.strAddress)),
                          quint16(remote.nPort))) {
            error = Place(remote) + QStringLiteral(": ") + probe.errorString();
            return false;
        }
    }
    if (!m_pEndpoint->Listen(remote.strAddress, remote.nPort, remote.strAllow, error)) {
        error = Place(remote) + QStringLiteral(": ") + error;
        m_strAddress.clear();
        return false;
    }
    m_strAddress = remote.strAddress;
    m_strAllow = remote.strAllow;
    m_setting = remote;
    return true;
}

bool CRemoteControl::IsListening() const {
    return m_pEndpoint && m_pEndpoint->IsListening();
}

QStringList CRemoteControl::Clients() const {
    return m_pEndpoint ? m_pEndpoint->Clients() : QStringList();
}

QString CRemoteControl::StatusText() const {
    return IsListening() ? QStringLiteral("SCPI :%1").arg(m_pEndpoint->Port()) : QString();
}

QString CRemoteControl::StatusToolTip() const {
    if (!IsListening())
        return {};
    QStringList lines;
    for (const CRemoteNote& note : m_pEndpoint->Notes()) {
        QString prefix = m_frame.GetText(IDS_REMOTE_NOTE_VXI11_ON + int(note.m_eKind));
        if (prefix.isEmpty())
            prefix = CRemoteNote::EnglishPrefix(note.m_eKind);
        lines << prefix + note.m_strDetail;
    }
    return lines.join(QLatin1Char('\n'));
}
