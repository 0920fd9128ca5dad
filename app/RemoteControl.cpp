#include "app/RemoteControl.h"

namespace {

CRemoteControl::EndpointFactory& Factory() {
    static CRemoteControl::EndpointFactory factory;
    return factory;
}

} // namespace

CRemoteControl::CRemoteControl(CMainFrame& frame) : m_registry(frame) {}

CRemoteControl::~CRemoteControl() {
    if (m_pEndpoint)
        m_pEndpoint->Close();
}

void CRemoteControl::SetEndpointFactory(EndpointFactory factory) {
    Factory() = std::move(factory);
}

bool CRemoteControl::Apply(const CSettingsFile::Remote& remote, QString& error) {
    m_setting = remote;
    if (!remote.bEnabled) {
        if (m_pEndpoint)
            m_pEndpoint->Close();
        return true;
    }
    if (!m_pEndpoint)
        m_pEndpoint = Factory() ? Factory()(m_registry) : MakeScpiEndpoint(m_registry);
    // Listening again on the address and port it already has would drop every client.
    if (m_pEndpoint->IsListening() && m_pEndpoint->Port() == remote.nPort &&
        m_strAddress == remote.strAddress)
        return true;
    m_strAddress = remote.strAddress;
    return m_pEndpoint->Listen(remote.strAddress, remote.nPort, error);
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
    return IsListening() ? m_pEndpoint->Notes().join(QLatin1Char('\n')) : QString();
}
