#include "remote/ScpiServer.h"

#include "remote/ServicePacer.h"
#include "scpi/ScpiConnection.h"
#include "scpi/ScpiSession.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string_view>
#include <sys/socket.h>
#include <vector>

Q_LOGGING_CATEGORY(lcScpiServer, "ddstarn.remote.scpi")

namespace {
/// Qt's own buffers per socket: what it reads ahead of us, and what it holds of our answers
/// beyond what the system takes. Our queues are the connection's; these stay small.
constexpr qint64 kReadBuffer = 64 * 1024;
constexpr qint64 kWriteChunk = 16 * 1024;
/// The system's send buffer per client (the kernel doubles it).
constexpr int kSendBuffer = 64 * 1024;
/// One client's work at a time before the event loop goes on.
constexpr qint64 kSliceNs = 500'000;
/// Units run between two looks at the clock.
constexpr std::size_t kUnitsPerStep = 8;
/// TCP keep-alive: a peer that vanished without a word is found within about two minutes.
constexpr int kKeepIdleS = 60;
constexpr int kKeepIntervalS = 10;
constexpr int kKeepCount = 6;

QString Endpoint(const QHostAddress& address, quint16 port) {
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
                             : address.toString();
    return host + QLatin1Char(':') + QString::number(port);
}

void KeepAlive(QTcpSocket& socket) {
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const int fd = int(socket.socketDescriptor());
    for (const auto& [option, value] : {std::pair(TCP_KEEPIDLE, kKeepIdleS),
                                        {TCP_KEEPINTVL, kKeepIntervalS},
                                        {TCP_KEEPCNT, kKeepCount}})
        ::setsockopt(fd, IPPROTO_TCP, option, &value, sizeof value);
}
} // namespace

struct CScpiServer::Impl {
    struct CClient {
        QTcpSocket* pSocket = nullptr;
        std::unique_ptr<CScpiConnection> pConnection;
        QString strName; ///< "address:port", kept for the log after the socket is gone.
        QElapsedTimer lastActive;
        bool bGone = false;
        bool bQueued = false; ///< In the queue of clients with work left.
        bool bInSlice = false;
        bool bAgain = false; ///< Something happened during the slice that wants another.
    };

    CScpiServer* pOwner = nullptr;
    CBackend backend;
    CClientAdmission admission;
    QTcpServer* pServer = nullptr;
    /// Polls waiting sessions and steps the remote sweeps; runs only while there is either.
    QTimer* pService = nullptr;
    /// Serves one slice of the next client with work left, once per pass of the event loop.
    QTimer* pSlices = nullptr;
    CServicePacer pacer;
    std::vector<std::unique_ptr<CClient>> vClients;
    std::function<std::vector<QHostAddress>()> otherClients;
    std::deque<CClient*> runnable;

    bool SweepRunning() const { return backend.m_sweepRunning && backend.m_sweepRunning(); }

    bool IsIdle(const CClient& client) const {
        return client.pConnection->IsIdle() && client.pSocket->bytesAvailable() == 0 &&
               client.pSocket->bytesToWrite() == 0;
    }

    void Accept() {
        while (QTcpSocket* socket = pServer->nextPendingConnection()) {
            const QString name = Endpoint(socket->peerAddress(), socket->peerPort());
            std::vector<CClient*> live;
            std::vector<CClientAdmission::CSlot> served;
            for (const auto& client : vClients) {
                if (client->bGone)
                    continue;
                live.push_back(client.get());
                served.push_back({client->pSocket->peerAddress(),
                                  IsIdle(*client) ? client->lastActive.elapsed() : -1});
            }
            // Another server's clients are never closed from here: they count as busy.
            if (otherClients)
                for (const QHostAddress& peer : otherClients())
                    served.push_back({peer, -1});
            const CClientAdmission::CDecision decision =
                admission.Decide(socket->peerAddress(), served);
            if (!decision.bAdmit) {
                qCWarning(lcScpiServer, "SCPI client %s refused: %s", qPrintable(name),
                          qPrintable(decision.strReason));
                socket->abort();
                socket->deleteLater();
                continue;
            }
            if (decision.nClose >= 0) {
                CClient& idle = *live[std::size_t(decision.nClose)];
                qCWarning(lcScpiServer, "SCPI client %s closed after %lld s idle, to admit %s",
                          qPrintable(idle.strName), idle.lastActive.elapsed() / 1000,
                          qPrintable(name));
                Remove(idle);
            }
            Add(socket, name);
        }
    }

    void Add(QTcpSocket* socket, const QString& name) {
        socket->setReadBufferSize(kReadBuffer);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBuffer);
        KeepAlive(*socket);
        auto client = std::make_unique<CClient>();
        client->pSocket = socket;
        client->pConnection = std::make_unique<CScpiConnection>(backend.m_newSession());
        client->strName = name;
        client->lastActive.start();
        CClient* raw = client.get();
        QObject::connect(socket, &QTcpSocket::readyRead, pOwner, [this, raw] { Slice(*raw); });
        QObject::connect(socket, &QTcpSocket::bytesWritten, pOwner, [this, raw] { Slice(*raw); });
        QObject::connect(socket, &QTcpSocket::disconnected, pOwner, [this, raw] { Drop(*raw); });
        vClients.push_back(std::move(client));
        emit pOwner->ClientsChanged();
    }

    /// Hands the socket what the system takes now, keeping Qt's own buffer small; a client
    /// that left gets nothing and its answers are dropped.
    void Flush(CClient& client) {
        CScpiConnection& connection = *client.pConnection;
        if (client.bGone) {
            connection.Sent(connection.Output().size());
            return;
        }
        while (!connection.Output().empty() && client.pSocket->bytesToWrite() < kWriteChunk) {
            const std::string_view out = connection.Output();
            const qint64 size =
                std::min<qint64>(qint64(out.size()), kWriteChunk - client.pSocket->bytesToWrite());
            const qint64 written = client.pSocket->write(out.data(), size);
            if (written <= 0)
                break;
            connection.Sent(std::size_t(written));
            client.lastActive.restart();
            client.pSocket->flush();
        }
    }

    /// Reads what the connection has room for.
    void Fill(CClient& client) {
        CScpiConnection& connection = *client.pConnection;
        while (connection.InputRoom() > 0 && client.pSocket->bytesAvailable() > 0) {
            const QByteArray bytes = client.pSocket->read(
                qint64(std::min(connection.InputRoom(), std::size_t(1) << 16)));
            if (bytes.isEmpty())
                break;
            connection.Receive(std::string_view(bytes.constData(), std::size_t(bytes.size())));
            client.lastActive.restart();
        }
    }

    /// Reads, runs and sends for about a millisecond; a client with work left queues for
    /// another slice after everyone else has had theirs.
    void Slice(CClient& client) {
        // Qt may report bytes written from inside our own flush: that pass is done here.
        if (client.bInSlice) {
            client.bAgain = true;
            return;
        }
        client.bInSlice = true;
        CScpiConnection& connection = *client.pConnection;
        QElapsedTimer clock;
        clock.start();
        bool more = false;
        do {
            client.bAgain = false;
            Fill(client);
            more = !connection.IsRefused() && connection.Run(kUnitsPerStep);
            Flush(client);
        } while ((more || client.bAgain) && clock.nsecsElapsed() < kSliceNs);
        Fill(client);
        client.bInSlice = false;
        if (connection.IsRefused()) {
            qCWarning(lcScpiServer, "SCPI client %s closed: its first line is HTTP",
                      qPrintable(client.strName));
            Remove(client);
            return;
        }
        more = connection.Run(0) || client.bAgain;
        if (client.bGone && !more) {
            Remove(client);
            return;
        }
        if (more && !client.bQueued) {
            client.bQueued = true;
            runnable.push_back(&client);
            pSlices->start(0);
        }
        Schedule();
    }

    void NextSlice() {
        if (runnable.empty()) {
            pSlices->stop();
            return;
        }
        CClient* client = runnable.front();
        runnable.pop_front();
        client->bQueued = false;
        Slice(*client);
        // Long work leaves the device workers a turn between slices.
        QThread::yieldCurrentThread();
        if (runnable.empty())
            pSlices->stop();
    }

    /// Messages the client completed before it left still run (their answers go nowhere)
    /// unless they wait behind an *OPC?; what is left of a line or block goes with the session.
    void Drop(CClient& client) {
        if (client.bGone)
            return;
        client.bGone = true;
        QObject::disconnect(client.pSocket, nullptr, pOwner, nullptr);
        emit pOwner->ClientsChanged();
        Slice(client);
    }

    /// Closes the client's socket and forgets it once no call on the stack can still use it.
    void Remove(CClient& client) {
        const bool wasLive = !client.bGone;
        client.bGone = true;
        QObject::disconnect(client.pSocket, nullptr, pOwner, nullptr);
        client.pSocket->abort();
        std::erase(runnable, &client);
        QMetaObject::invokeMethod(
            pOwner,
            [this, pClient = &client] {
                std::erase_if(vClients, [pClient](const auto& c) {
                    if (c.get() != pClient)
                        return false;
                    c->pSocket->deleteLater();
                    return true;
                });
            },
            Qt::QueuedConnection);
        if (wasLive)
            emit pOwner->ClientsChanged();
    }

    bool AnyWaiting() const {
        for (const auto& client : vClients)
            if (!client->bGone && client->pConnection->Session().IsWaiting())
                return true;
        return false;
    }

    void Schedule() { pacer.Schedule(*pService, AnyWaiting(), SweepRunning()); }

    void Service() {
        if (SweepRunning() && backend.m_tick)
            backend.m_tick();
        bool polled = false;
        for (std::size_t i = 0; i < vClients.size(); ++i) {
            CClient& client = *vClients[i];
            CScpiSession& session = client.pConnection->Session();
            if (client.bGone || !session.IsWaiting())
                continue;
            polled = true;
            session.Resume();
            if (!session.IsWaiting())
                Slice(client);
        }
        // While polling eagerly, give the device workers the core first.
        if (polled && pService->interval() == 0)
            QThread::yieldCurrentThread();
        Schedule();
    }

    void CloseClients() {
        for (const auto& client : vClients) {
            QObject::disconnect(client->pSocket, nullptr, pOwner, nullptr);
            client->pSocket->abort();
            delete client->pSocket;
        }
        vClients.clear();
        runnable.clear();
        pService->stop();
        pSlices->stop();
    }
};

CScpiServer::CScpiServer(CBackend backend, QObject* parent) : QObject(parent), m_pImpl(new Impl) {
    m_pImpl->pOwner = this;
    m_pImpl->backend = std::move(backend);
    m_pImpl->pServer = new QTcpServer(this);
    m_pImpl->pService = new QTimer(this);
    m_pImpl->pService->setTimerType(Qt::PreciseTimer);
    m_pImpl->pSlices = new QTimer(this);
    connect(m_pImpl->pServer, &QTcpServer::newConnection, this, [this] { m_pImpl->Accept(); });
    connect(m_pImpl->pService, &QTimer::timeout, this, [this] { m_pImpl->Service(); });
    connect(m_pImpl->pSlices, &QTimer::timeout, this, [this] { m_pImpl->NextSlice(); });
}

CScpiServer::~CScpiServer() {
    Close();
    delete m_pImpl;
}

CClientAdmission& CScpiServer::Admission() {
    return m_pImpl->admission;
}

void CScpiServer::SetOtherClients(std::function<std::vector<QHostAddress>()> others) {
    m_pImpl->otherClients = std::move(others);
}

std::vector<QHostAddress> CScpiServer::ClientAddresses() const {
    std::vector<QHostAddress> peers;
    for (const auto& client : m_pImpl->vClients)
        if (!client->bGone)
            peers.push_back(client->pSocket->peerAddress());
    return peers;
}

bool CScpiServer::Listen(const QHostAddress& address, quint16 port, QString* error) {
    Close();
    if (!m_pImpl->admission.MayListenOn(address, error))
        return false;
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
    for (const auto& client : m_pImpl->vClients)
        if (!client->bGone)
            clients << client->strName;
    return clients;
}

qint64 CScpiServer::HeldBytes() const {
    qint64 bytes = 0;
    for (const auto& client : m_pImpl->vClients)
        bytes += qint64(client->pConnection->HeldBytes()) + client->pSocket->bytesAvailable() +
                 client->pSocket->bytesToWrite();
    return bytes;
}
