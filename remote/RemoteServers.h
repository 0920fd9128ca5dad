#pragma once
#include "remote/RemoteNote.h"
#include "remote/ScpiServer.h"
#include "remote/Vxi11Server.h"

#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <memory>

class CDnsSdAnnouncer;
class CScpiInstrument;

/// Everything a network instrument serves over one instrument: SCPI on the raw socket, the
/// same sessions over VXI-11 (registered with rpcbind), and both announced by DNS-SD through
/// Avahi. Only the raw socket must start; the others say once why they are off.
class CRemoteServers : public QObject {
    Q_OBJECT

public:
    explicit CRemoteServers(CScpiInstrument& instrument, QObject* parent = nullptr);
    explicit CRemoteServers(CScpiServer::CBackend backend, QObject* parent = nullptr);
    ~CRemoteServers() override;

    /// Listens on the raw socket (false with the reason when it cannot), then serves VXI-11 on
    /// the same address and announces both.
    bool Listen(const QHostAddress& address, quint16 port, QString* error = nullptr);
    void Close();
    bool IsListening() const;
    quint16 Port() const;
    /// VXI-11's core channel port, 0 while VXI-11 is off.
    quint16 Vxi11Port() const;
    /// "address:port" of each raw-socket client and each VXI-11 link.
    QStringList Clients() const;
    /// One note per service beside the raw socket: what it serves, or why it is off.
    const CRemoteNotes& Notes() const { return m_notes; }
    /// Who may connect, to the raw socket and over VXI-11 alike.
    CClientAdmission& Admission() { return m_raw.Admission(); }

signals:
    void ClientsChanged();
    /// A note was added or changed (Avahi may fail after the start).
    void NotesChanged();

private:
    CVxi11Server::EAdmission AdmitLink(const QHostAddress& peer);
    void Announce(const QHostAddress& address);
    std::string Identity() const;

    CScpiServer::CBackend m_backend;
    CScpiServer m_raw;
    std::unique_ptr<CVxi11Server> m_pVxi11;
    std::unique_ptr<CDnsSdAnnouncer> m_pDnsSd;
    CRemoteNotes m_notes;
};
