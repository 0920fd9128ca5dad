#include "remote/ScpiServer.h"

#include "scpi/ScpiSession.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <string>
#include <string_view>
#include <vector>

namespace {
/// Bytes taken from a socket at a time; also the socket's read buffer, so that a client the
/// server is not reading from is held back by TCP rather than by our memory.
constexpr qint64 kReadChunk = 64 * 1024;
/// Answers a client has not taken yet before the server stops reading its input.
constexpr qint64 kMaxUnsent = 1 << 20;
/// For this long after a session starts waiting for *OPC?, it is polled on every pass of the
/// event loop: the unit usually answers well within a millisecond. Then every millisecond.
constexpr qint64 kEagerPollNs = 2'000'000;
} // namespace

struct CScpiServer::Impl {
    struct CClient {
        QTcpSocket* pSocket = nullptr;
        std::unique_ptr<CScpiSession> pSession;
        bool bGone = false;
    };

    CScpiServer* pOwner = nullptr;
    CBackend backend;
    QTcpServer* pServer = nullptr;
    /// Polls waiting sessions and steps the remote sweeps; runs only while there is either.
    QTimer* pService = nullptr;
    QElapsedTimer waitingSince;
    bool bWaiting = false;
    std::vector<std::unique_ptr<CClient>> vClients;

    bool SweepRunning() const { return backend.m_sweepRunning && backend.m_sweepRunning(); }

    void Accept() {
        while (QTcpSocket* socket = pServer->nextPendingConnection()) {
            if (LiveClients() >= kMaxClients) {
                socket->disconnectFromHost();
                socket->deleteLater();
                continue;
            }
            socket->setReadBufferSize(kReadChunk);
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            auto client = std::make_unique<CClient>();
            client->pSocket = socket;
            client->pSession = backend.m_newSession();
            CClient* raw = client.get();
            QObject::connect(socket, &QTcpSocket::readyRead, pOwner, [this, raw] { Read(*raw); });
            QObject::connect(socket, &QTcpSocket::bytesWritten, pOwner,
                             [this, raw] { Read(*raw); });
            QObject::connect(socket, &QTcpSocket::disconnected, pOwner,
                             [this, raw] { Drop(*raw); });
            vClients.push_back(std::move(client));
            emit pOwner->ClientsChanged();
        }
    }

    int LiveClients() const {
        int count = 0;
        for (const auto& client : vClients)
            count += client->bGone ? 0 : 1;
        return count;
    }

    static void Send(CClient& client, const std::string& bytes) {
        if (!bytes.empty() && !client.bGone)
            client.pSocket->write(bytes.data(), qint64(bytes.size()));
    }

    void Read(CClient& client) {
        // A session waiting for *OPC? is not fed: what follows stays with TCP, not with us.
        while (!client.bGone && !client.pSession->IsWaiting() &&
               client.pSocket->bytesAvailable() > 0 &&
               client.pSocket->bytesToWrite() < kMaxUnsent) {
            const QByteArray bytes = client.pSocket->read(kReadChunk);
            Send(client, client.pSession->Feed(
                             std::string_view(bytes.constData(), std::size_t(bytes.size()))));
        }
        Schedule();
    }

    /// Messages the client completed before it left still run (their answers go nowhere)
    /// unless they wait behind an *OPC?; what is left of a line or block goes with the session.
    void Drop(CClient& client) {
        if (client.bGone)
            return;
        while (client.pSocket->bytesAvailable() > 0) {
            const QByteArray bytes = client.pSocket->read(kReadChunk);
            client.pSession->Feed(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        }
        client.bGone = true;
        QObject::disconnect(client.pSocket, nullptr, pOwner, nullptr);
        client.pSocket->deleteLater();
        // Not now: the client may be on the stack of a call that is still running.
        QMetaObject::invokeMethod(
            pOwner,
            [this, pClient = &client] {
                std::erase_if(vClients, [pClient](const auto& c) { return c.get() == pClient; });
            },
            Qt::QueuedConnection);
        emit pOwner->ClientsChanged();
    }

    bool AnyWaiting() const {
        for (const auto& client : vClients)
            if (!client->bGone && client->pSession->IsWaiting())
                return true;
        return false;
    }

    void Schedule() {
        const bool waiting = AnyWaiting();
        if (waiting && !bWaiting)
            waitingSince.start();
        bWaiting = waiting;
        if (!waiting && !SweepRunning()) {
            pService->stop();
            return;
        }
        const int interval = waiting && waitingSince.nsecsElapsed() < kEagerPollNs ? 0 : 1;
        if (!pService->isActive() || pService->interval() != interval)
            pService->start(interval);
    }

    void Service() {
        if (SweepRunning() && backend.m_tick)
            backend.m_tick();
        bool polled = false;
        for (std::size_t i = 0; i < vClients.size(); ++i) {
            CClient& client = *vClients[i];
            if (client.bGone || !client.pSession->IsWaiting())
                continue;
            polled = true;
            Send(client, client.pSession->Poll());
            if (!client.pSession->IsWaiting())
                Read(client);
        }
        // While polling eagerly, give the device workers the core first.
        if (polled && pService->interval() == 0)
            QThread::yieldCurrentThread();
        Schedule();
    }

    void CloseClients() {
        for (const auto& client : vClients) {
            if (client->bGone)
                continue;
            QObject::disconnect(client->pSocket, nullptr, pOwner, nullptr);
            client->pSocket->abort();
            delete client->pSocket;
        }
        vClients.clear();
        pService->stop();
    }
};

CScpiServer::CScpiServer(CBackend backend, QObject* parent) : QObject(parent), m_pImpl(new Impl) {
    m_pImpl->pOwner = this;
    m_pImpl->backend = std::move(backend);
    m_pImpl->pServer = new QTcpServer(this);
    m_pImpl->pService = new QTimer(this);
    m_pImpl->pService->setTimerType(Qt::PreciseTimer);
    connect(m_pImpl->pServer, &QTcpServer::newConnection, this, [this] { m_pImpl->Accept(); });
    connect(m_pImpl->pService, &QTimer::timeout, this, [this] { m_pImpl->Service(); });
}

CScpiServer::~CScpiServer() {
    Close();
    delete m_pImpl;
}

bool CScpiServer::Listen(const QHostAddress& address, quint16 port, QString* error) {
    Close();
    if (m_pImpl->pServer->listen(address, port))
        return true;
    if (error)
        *error = m_pImpl->pServer->errorString();
    return false;
}

void CScpiServer::Close() {
    const bool hadClients = !m_pImpl->vClients.empty();
    m_pImpl->pServer->close();
    m_pImpl->CloseClients();
    if (hadClients)
        emit ClientsChanged();
}

bool CScpiServer::IsListening() const {
    return m_pImpl->pServer->isListening();
}

quint16 CScpiServer::Port() const {
    return m_pImpl->pServer->serverPort();
}

QStringList CScpiServer::Clients() const {
    QStringList clients;
    for (const auto& client : m_pImpl->vClients) {
        if (client->bGone)
            continue;
        const QHostAddress peer = client->pSocket->peerAddress();
        const QString host = peer.protocol() == QAbstractSocket::IPv6Protocol
                                 ? QLatin1Char('[') + peer.toString() + QLatin1Char(']')
                                 : peer.toString();
        clients << host + QLatin1Char(':') + QString::number(client->pSocket->peerPort());
    }
    return clients;
}
