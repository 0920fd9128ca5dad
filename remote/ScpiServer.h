#pragma once
#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class CScpiInstrument;
class CScpiSession;

/// SCPI over TCP (raw socket, newline-terminated): at most 16 clients, each with its own
/// session of the instrument; bounded input; a client that leaves mid-line leaves nothing
/// half-applied. Qt Core and Network only, so the headless program has no widget code.
class CScpiServer : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxClients = 16;
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

    /// Starts listening (stops first when already listening); false with a reason.
    bool Listen(const QHostAddress& address, quint16 port, QString* error = nullptr);
    void Close();
    bool IsListening() const;
    quint16 Port() const;
    /// "address:port" of each connected client.
    QStringList Clients() const;

signals:
    void ClientsChanged();

private:
    struct Impl;
    Impl* m_pImpl;
};
