#pragma once
#include "remote/ClientAdmission.h"

#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class CScpiInstrument;
class CScpiSession;

/// SCPI over TCP (raw socket, newline-terminated): clients admitted by CClientAdmission, each
/// with its own session of the instrument behind a CScpiConnection, so that input and output
/// are bounded, answers go out as they are produced and a client whose answers wait is not
/// read further. A client's work runs in slices of half a millisecond, so other clients and
/// the window are served in between. Qt Core and Network only.
class CScpiServer : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxClients = CClientAdmission::kMaxClients;
    static constexpr quint16 kDefaultPort = 5025;

    /// What the server serves: a new session per connection, and the remote sweeps it steps
    /// every millisecond while one runs (both sweep hooks may be left empty).
    struct CBackend {
        std::function<std::unique_ptr<CScpiSession>()> m_newSession;
        std::function<void()> m_tick;
        std::function<bool()> m_sweepRunning;
    };

    explicit CScpiServer(CScpiInstrument& instrument, QObject* parent = nullptr);
    explicit CScpiServer(CBackend backend, QObject* parent = nullptr);
    ~CScpiServer() override;

    /// Who may connect; set the allow-list before listening beyond loopback.
    CClientAdmission& Admission();
    /// The peers of another server's clients (VXI-11 links), which take places here too.
    void SetOtherClients(std::function<std::vector<QHostAddress>()> others);
    /// The peer of each connected client.
    std::vector<QHostAddress> ClientAddresses() const;
    /// Starts listening (stops first when already listening); false with a reason, also when
    /// the address is not loopback and there is no allow-list.
    bool Listen(const QHostAddress& address, quint16 port, QString* error = nullptr);
    void Close();
    bool IsListening() const;
    quint16 Port() const;
    /// "address:port" of each connected client.
    QStringList Clients() const;
    /// Bytes the server holds for its clients now (read ahead, queued, waiting to be sent).
    qint64 HeldBytes() const;

signals:
    void ClientsChanged();

private:
    struct Impl;
    Impl* m_pImpl;
};
