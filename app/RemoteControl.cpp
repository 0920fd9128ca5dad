#include "app/RemoteControl.h"

#include "app/MainFrame.h"
#include "res/Resource.h"

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
