#pragma once
#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class CScpiSession;

/// SCPI over VXI-11 (ONC RPC, the core channel registered with the system's rpcbind, and the
/// abort channel): one session per link, as a raw-socket client has, with the same bounds.
/// Calls are answered from the Qt event loop; a read whose answer waits for *OPC? or a call
/// waiting for another link's lock is answered later, or at its timeout.
class CVxi11Server : public QObject {
    Q_OBJECT

public:
    /// Whether a new link from a peer may be made.
    enum class EAdmission { Admitted, AddressRefused, NoSlot };

    /// What the server serves: a new session per link, the remote sweeps it steps while one
    /// runs, and the one admission decision for a new link.
    struct CBackend {
        std::function<std::unique_ptr<CScpiSession>()> m_newSession;
        std::function<void()> m_tick;
        std::function<bool()> m_sweepRunning;
        std::function<EAdmission(const QHostAddress&)> m_admit;
        /// Whether a peer may connect at all; one outside is closed before it is read.
        std::function<bool(const QHostAddress&)> m_allowed;
    };

    /// The largest device_write data taken in one call, as create_link tells the client.
    static constexpr int kMaxRecvSize = 1 << 20;

    explicit CVxi11Server(CBackend backend, QObject* parent = nullptr);
    ~CVxi11Server() override;

    /// Listens on `address` (both channels on free ports) and registers the core channel with
    /// rpcbind unless told not to (benchmarks connect to CorePort() directly); false with the
    /// reason (nothing is then served).
    bool Listen(const QHostAddress& address, QString* error = nullptr, bool withRpcbind = true);
    void Close();
    bool IsListening() const;
    quint16 CorePort() const;
    quint16 AbortPort() const;
    /// "address:port" of each link's client.
    QStringList Links() const;
    int LinkCount() const;
    /// The peer of each link, for the client places the raw socket shares.
    std::vector<QHostAddress> LinkAddresses() const;

signals:
    void LinksChanged();

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
