#include "remote/Vxi11Server.h"

#include "remote/RpcbindRegistration.h"
#include "remote/ServicePacer.h"
#include "remote/Vxi11Link.h"
#include "remote/rpc/RpcCall.h"
#include "remote/rpc/RpcRecordReader.h"
#include "remote/rpc/Vxi11Request.h"
#include "remote/rpc/XdrEncoder.h"
#include "scpi/ScpiSession.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <deque>
#include <map>
#include <optional>
#include <vector>

namespace {

using R = CVxi11Request;

/// Bytes taken from a socket at a time, also its read buffer: a client not read from is held
/// back by TCP.
constexpr qint64 kReadChunk = 64 * 1024;
/// Replies a client has not taken before its connection is read no further.
constexpr qint64 kMaxUnsent = 1 << 20;
/// A record holds one call: the largest write's data and its header.
constexpr std::size_t kMaxRecord = CVxi11Server::kMaxRecvSize + 4096;
/// Connections count here, not against the client limit (that is for links); when all are
/// taken, the oldest that holds no link makes room for a new one.
constexpr int kMaxConnections = 64;

bool IsInstrumentName(const std::string& name) {
    return name.size() == 5 && (name[0] | 0x20) == 'i' && (name[1] | 0x20) == 'n' &&
           (name[2] | 0x20) == 's' && (name[3] | 0x20) == 't' && name[4] == '0';
}

std::string ErrorOnly(std::int32_t error) {
    return CXdrEncoder(4).I32(error).Take();
}

/// The results of a call that failed with `error`, in the shape its procedure answers.
std::string ErrorResults(std::uint32_t procedure, std::int32_t error) {
    switch (procedure) {
    case R::DEVICE_READ:
        return CXdrEncoder(12).I32(error).U32(0).Opaque({}).Take();
    case R::DEVICE_WRITE:
    case R::DEVICE_READSTB:
        return CXdrEncoder(8).I32(error).U32(0).Take();
    case R::DEVICE_DOCMD:
        return CXdrEncoder(8).I32(error).Opaque({}).Take();
    default:
        return ErrorOnly(error);
    }
}

} // namespace

struct CVxi11Server::Impl {
    struct CConnection;

    /// A call answered later: a read waiting for its response, or a call waiting for the lock.
    struct CParked {
        CRpcCall call;
        R request;
        QDeadlineTimer deadline;
    };

    struct CConnection {
        QTcpSocket* pSocket = nullptr;
        bool bAbortChannel = false;
        CRpcRecordReader reader{kMaxRecord};
        std::deque<std::string> records;
        std::optional<CParked> parked;
        bool bGone = false;
    };

    struct CLinkEntry {
        std::unique_ptr<CVxi11Link> pLink;
        CConnection* pConnection = nullptr;
        QHostAddress peer;
        QString strPeer;
    };

    CVxi11Server* pOwner = nullptr;
    CBackend backend;
    QTcpServer* pCore = nullptr;
    QTcpServer* pAbort = nullptr;
    QTimer* pService = nullptr;
    CServicePacer pacer;
    CRpcbindRegistration registration;
    std::vector<std::unique_ptr<CConnection>> vConnections;
    std::map<std::int32_t, CLinkEntry> links;
    std::int32_t nNextLink = 1;
    std::int32_t nLockHolder = 0; ///< The link holding the instrument's lock, 0 for none.

    int LiveConnections() const {
        int count = 0;
        for (const auto& connection : vConnections)
            count += connection->bGone ? 0 : 1;
        return count;
    }

    /// Closes the oldest live connection without a link or a waiting call; false when none.
    bool DropIdleConnection() {
        for (const auto& connection : vConnections) {
            if (connection->bGone || connection->parked)
                continue;
            bool linked = false;
            for (const auto& [lid, entry] : links)
                linked = linked || entry.pConnection == connection.get();
            if (!linked) {
                connection->pSocket->abort(); // Drop() follows from its disconnected signal
                Drop(*connection);
                return true;
            }
        }
        return false;
    }

    void Accept(QTcpServer* server, bool abortChannel) {
        while (QTcpSocket* socket = server->nextPendingConnection()) {
            if ((backend.m_allowed && !backend.m_allowed(socket->peerAddress())) ||
                (LiveConnections() >= kMaxConnections && !DropIdleConnection())) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            socket->setReadBufferSize(kReadChunk);
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            auto connection = std::make_unique<CConnection>();
            connection->pSocket = socket;
            connection->bAbortChannel = abortChannel;
            CConnection* raw = connection.get();
            QObject::connect(socket, &QTcpSocket::readyRead, pOwner, [this, raw] { Read(*raw); });
            QObject::connect(socket, &QTcpSocket::bytesWritten, pOwner,
                             [this, raw] { Read(*raw); });
            QObject::connect(socket, &QTcpSocket::disconnected, pOwner,
                             [this, raw] { Drop(*raw); });
            vConnections.push_back(std::move(connection));
        }
    }

    void Read(CConnection& c) {
        while (!c.bGone && !c.parked && c.records.empty() && c.pSocket->bytesAvailable() > 0 &&
               c.pSocket->bytesToWrite() < kMaxUnsent) {
            const QByteArray bytes = c.pSocket->read(kReadChunk);
            std::vector<std::string> records;
            const bool ok = c.reader.Feed(
                std::string_view(bytes.constData(), std::size_t(bytes.size())), records);
            for (auto& record : records)
                c.records.push_back(std::move(record));
            Process(c);
            if (!ok) {
                // A record larger than any call we take: the stream cannot be followed.
                c.pSocket->abort();
                return;
            }
        }
        Schedule();
    }

    void Send(CConnection& c, const std::string& bytes) {
        if (!c.bGone)
            c.pSocket->write(bytes.data(), qint64(bytes.size()));
    }

    void Process(CConnection& c) {
        while (!c.bGone && !c.parked && !c.records.empty()) {
            const std::string record = std::move(c.records.front());
            c.records.pop_front();
            CRpcCall call;
            if (!CRpcCall::Parse(record, call))
                continue; // Not a call: nothing to answer.
            const std::uint32_t program = c.bAbortChannel ? R::kAbortProgram : R::kCoreProgram;
            R request;
            if (call.m_nRpcVersion != 2)
                Send(c, call.RpcMismatchReply());
            else if (call.m_nProgram != program)
                Send(c, call.Reply(CRpcCall::PROG_UNAVAIL));
            else if (call.m_nVersion != R::kVersion)
                Send(c, call.ProgramMismatchReply(R::kVersion));
            else if (!R::Decode(program, call.m_nProcedure, call.m_strArgs, kMaxRecvSize, request))
                Send(c, call.Reply(R::IsProcedure(program, call.m_nProcedure)
                                       ? CRpcCall::GARBAGE_ARGS
                                       : CRpcCall::PROC_UNAVAIL));
            else
                Handle(c, call, request, std::nullopt);
        }
    }

    /// The link named by a call on this connection, or null (invalid link identifier).
    CLinkEntry* LinkOf(CConnection& c, std::int32_t lid) {
        const auto found = links.find(lid);
        return found != links.end() && found->second.pConnection == &c ? &found->second : nullptr;
    }

    bool LockedOut(std::int32_t lid) const { return nLockHolder != 0 && nLockHolder != lid; }

    /// Answers the call, or parks it until it can be (deadline: the one it was first parked
    /// with, when it is retried).
    void Handle(CConnection& c, const CRpcCall& call, const R& r,
                std::optional<QDeadlineTimer> deadline) {
        const auto reply = [&](const std::string& results) {
            Send(c, call.Reply(CRpcCall::SUCCESS, results));
        };
        const auto park = [&](std::uint32_t ms) {
            c.parked = CParked{call, r, deadline ? *deadline : QDeadlineTimer(qint64(ms))};
        };
        if (c.bAbortChannel) {
            if (r.m_nProcedure == R::PROC_NULL)
                return reply({});
            return reply(ErrorOnly(Abort(r.m_nLink)));
        }
        switch (r.m_nProcedure) {
        case R::PROC_NULL:
            return reply({});
        case R::CREATE_LINK:
            return CreateLink(c, call, r, deadline);
        case R::CREATE_INTR_CHAN:
            return reply(ErrorOnly(R::ERR_NOT_SUPPORTED));
        case R::DESTROY_INTR_CHAN:
            return reply(ErrorOnly(R::ERR_NO_CHANNEL));
        default:
            break;
        }
        CLinkEntry* entry = LinkOf(c, r.m_nLink);
        if (!entry)
            return reply(ErrorResults(r.m_nProcedure, R::ERR_INVALID_LINK));
        CVxi11Link& link = *entry->pLink;
        const bool unlocked = r.m_nProcedure == R::DEVICE_UNLOCK ||
                              r.m_nProcedure == R::DESTROY_LINK || !LockedOut(r.m_nLink);
        if (!unlocked) {
            const bool wait = (r.m_nFlags & R::FLAG_WAITLOCK) && r.m_nLockTimeout > 0 &&
                              !(deadline && deadline->hasExpired());
            if (wait)
                return park(r.m_nLockTimeout);
            return reply(ErrorResults(r.m_nProcedure, R::ERR_LOCKED));
        }
        switch (r.m_nProcedure) {
        case R::DEVICE_WRITE:
            link.Write(r.m_strData, (r.m_nFlags & R::FLAG_END) != 0);
            return reply(
                CXdrEncoder(8).I32(R::ERR_NONE).U32(std::uint32_t(r.m_strData.size())).Take());
        case R::DEVICE_READ: {
            if (!link.HasOutput() && link.IsWaiting() && r.m_nIoTimeout > 0 &&
                !(deadline && deadline->hasExpired()))
                return park(r.m_nIoTimeout);
            if (!link.HasOutput()) {
                // Nothing was asked that has an answer: as a query the device never got.
                if (!link.IsWaiting())
                    link.ReadWithoutQuery();
                return reply(ErrorResults(r.m_nProcedure, R::ERR_IO_TIMEOUT));
            }
            const int termChar = (r.m_nFlags & R::FLAG_TERMCHRSET)
                                     ? int(static_cast<unsigned char>(r.m_cTermChar))
                                     : -1;
            const CVxi11Link::CReadResult read = link.Read(r.m_nRequestSize, termChar);
            return reply(CXdrEncoder(16 + read.m_strData.size())
                             .I32(R::ERR_NONE)
                             .U32(read.m_nReason)
                             .Opaque(read.m_strData)
                             .Take());
        }
        case R::DEVICE_READSTB:
            return reply(
                CXdrEncoder(8).I32(R::ERR_NONE).U32(std::uint32_t(link.StatusByte())).Take());
        case R::DEVICE_TRIGGER:
            link.Trigger();
            return reply(ErrorOnly(R::ERR_NONE));
        case R::DEVICE_CLEAR:
            link.Clear();
            return reply(ErrorOnly(R::ERR_NONE));
        case R::DEVICE_REMOTE:
        case R::DEVICE_LOCAL:
            // Nothing on the instrument is locked by a front panel: both are accepted.
            return reply(ErrorOnly(R::ERR_NONE));
        case R::DEVICE_LOCK:
            nLockHolder = r.m_nLink;
            return reply(ErrorOnly(R::ERR_NONE));
        case R::DEVICE_UNLOCK:
            if (nLockHolder != r.m_nLink)
                return reply(ErrorOnly(R::ERR_NO_LOCK));
            nLockHolder = 0;
            return reply(ErrorOnly(R::ERR_NONE));
        case R::DEVICE_ENABLE_SRQ:
            // No interrupt channel is served, so there is nothing to enable.
            return reply(ErrorOnly(r.m_bEnable ? R::ERR_NOT_SUPPORTED : R::ERR_NONE));
        case R::DEVICE_DOCMD:
            return reply(ErrorResults(r.m_nProcedure, R::ERR_NOT_SUPPORTED));
        case R::DESTROY_LINK:
            DestroyLink(r.m_nLink);
            return reply(ErrorOnly(R::ERR_NONE));
        default:
            return reply(ErrorOnly(R::ERR_NOT_SUPPORTED));
        }
    }

    void CreateLink(CConnection& c, const CRpcCall& call, const R& r,
                    std::optional<QDeadlineTimer> deadline) {
        const auto answer = [&](std::int32_t error, std::int32_t lid) {
            Send(c, call.Reply(CRpcCall::SUCCESS, CXdrEncoder(16)
                                                      .I32(error)
                                                      .I32(lid)
                                                      .U32(pAbort->serverPort())
                                                      .U32(kMaxRecvSize)
                                                      .Take()));
        };
        if (!IsInstrumentName(r.m_strDevice))
            return answer(R::ERR_INVALID_ADDRESS, 0);
        if (r.m_bLockDevice && nLockHolder != 0) {
            if (r.m_nLockTimeout > 0 && !(deadline && deadline->hasExpired())) {
                c.parked = CParked{call, r,
                                   deadline ? *deadline : QDeadlineTimer(qint64(r.m_nLockTimeout))};
                return;
            }
            return answer(R::ERR_LOCKED, 0);
        }
        // The one admission decision for a new link: allowed address and a free client slot.
        const QHostAddress peer = c.pSocket->peerAddress();
        switch (backend.m_admit ? backend.m_admit(peer) : EAdmission::Admitted) {
        case EAdmission::AddressRefused:
            return answer(R::ERR_NOT_ACCESSIBLE, 0);
        case EAdmission::NoSlot:
            return answer(R::ERR_NO_RESOURCES, 0);
        case EAdmission::Admitted:
            break;
        }
        const std::int32_t lid = nNextLink;
        nNextLink = nNextLink == 0x7FFFFFFF ? 1 : nNextLink + 1;
        CLinkEntry entry;
        entry.pLink = std::make_unique<CVxi11Link>(backend.m_newSession(), kMaxRecvSize);
        entry.pConnection = &c;
        const QString host = peer.protocol() == QAbstractSocket::IPv6Protocol
                                 ? QLatin1Char('[') + peer.toString() + QLatin1Char(']')
                                 : peer.toString();
        entry.peer = peer;
        entry.strPeer = host + QLatin1Char(':') + QString::number(c.pSocket->peerPort());
        links.emplace(lid, std::move(entry));
        if (r.m_bLockDevice)
            nLockHolder = lid;
        answer(R::ERR_NONE, lid);
        emit pOwner->LinksChanged();
    }

    void DestroyLink(std::int32_t lid) {
        if (links.erase(lid) == 0)
            return;
        if (nLockHolder == lid)
            nLockHolder = 0;
        emit pOwner->LinksChanged();
    }

    /// device_abort: a call of the link that waits is answered at once with "abort".
    std::int32_t Abort(std::int32_t lid) {
        const auto found = links.find(lid);
        if (found == links.end())
            return R::ERR_INVALID_LINK;
        CConnection& c = *found->second.pConnection;
        if (c.parked && c.parked->request.m_nLink == lid) {
            const CParked parked = std::move(*c.parked);
            c.parked.reset();
            Send(c, parked.call.Reply(CRpcCall::SUCCESS,
                                      ErrorResults(parked.request.m_nProcedure, R::ERR_ABORT)));
            QMetaObject::invokeMethod(
                pOwner, [this, pc = &c] { Resume(pc); }, Qt::QueuedConnection);
        }
        return R::ERR_NONE;
    }

    /// Goes on with a connection once its parked call was answered.
    void Resume(CConnection* pc) {
        for (const auto& connection : vConnections)
            if (connection.get() == pc && !pc->bGone) {
                Process(*pc);
                Read(*pc);
            }
    }

    /// The links made over the connection go with it: a message they were collecting is never
    /// run.
    void Drop(CConnection& c) {
        if (c.bGone)
            return;
        c.bGone = true;
        c.parked.reset();
        c.records.clear();
        bool changed = false;
        for (auto it = links.begin(); it != links.end();) {
            if (it->second.pConnection != &c) {
                ++it;
                continue;
            }
            if (nLockHolder == it->first)
                nLockHolder = 0;
            it = links.erase(it);
            changed = true;
        }
        QObject::disconnect(c.pSocket, nullptr, pOwner, nullptr);
        c.pSocket->deleteLater();
        QMetaObject::invokeMethod(
            pOwner,
            [this, pc = &c] {
                std::erase_if(vConnections, [pc](const auto& x) { return x.get() == pc; });
            },
            Qt::QueuedConnection);
        if (changed)
            emit pOwner->LinksChanged();
    }

    bool SweepRunning() const { return backend.m_sweepRunning && backend.m_sweepRunning(); }

    bool AnyWaiting() const {
        for (const auto& [lid, entry] : links)
            if (entry.pLink->IsWaiting())
                return true;
        return false;
    }

    bool AnyParked() const {
        for (const auto& connection : vConnections)
            if (!connection->bGone && connection->parked)
                return true;
        return false;
    }

    // A parked call is answered by the service too (at its timeout), as a sweep is stepped.
    void Schedule() { pacer.Schedule(*pService, AnyWaiting(), AnyParked() || SweepRunning()); }

    void Service() {
        if (SweepRunning() && backend.m_tick)
            backend.m_tick();
        bool polled = false;
        for (auto& [lid, entry] : links)
            if (entry.pLink->IsWaiting()) {
                polled = true;
                entry.pLink->Poll();
            }
        // Parked calls are tried again: the response came, the lock went, or time is up.
        for (std::size_t i = 0; i < vConnections.size(); ++i) {
            CConnection& c = *vConnections[i];
            if (c.bGone || !c.parked)
                continue;
            const CParked parked = std::move(*c.parked);
            c.parked.reset();
            Handle(c, parked.call, parked.request, parked.deadline);
            if (!c.parked) {
                Process(c);
                Read(c);
            }
        }
        if (polled && pService->interval() == 0)
            QThread::yieldCurrentThread();
        Schedule();
    }

    void CloseAll() {
        for (const auto& connection : vConnections) {
            if (connection->bGone)
                continue;
            QObject::disconnect(connection->pSocket, nullptr, pOwner, nullptr);
            connection->pSocket->abort();
            delete connection->pSocket;
        }
        const bool hadLinks = !links.empty();
        links.clear();
        nLockHolder = 0;
        vConnections.clear();
        pService->stop();
        if (hadLinks)
            emit pOwner->LinksChanged();
    }
};

CVxi11Server::CVxi11Server(CBackend backend, QObject* parent)
    : QObject(parent), m_pImpl(std::make_unique<Impl>()) {
    m_pImpl->pOwner = this;
    m_pImpl->backend = std::move(backend);
    m_pImpl->pCore = new QTcpServer(this);
    m_pImpl->pAbort = new QTcpServer(this);
    m_pImpl->pService = new QTimer(this);
    m_pImpl->pService->setTimerType(Qt::PreciseTimer);
    connect(m_pImpl->pCore, &QTcpServer::newConnection, this,
            [this] { m_pImpl->Accept(m_pImpl->pCore, false); });
    connect(m_pImpl->pAbort, &QTcpServer::newConnection, this,
            [this] { m_pImpl->Accept(m_pImpl->pAbort, true); });
    connect(m_pImpl->pService, &QTimer::timeout, this, [this] { m_pImpl->Service(); });
}

CVxi11Server::~CVxi11Server() {
    Close();
}

bool CVxi11Server::Listen(const QHostAddress& address, QString* error, bool withRpcbind) {
    Close();
    std::string reason;
    if (!m_pImpl->pCore->listen(address, 0) || !m_pImpl->pAbort->listen(address, 0)) {
        reason = (m_pImpl->pCore->isListening() ? m_pImpl->pAbort : m_pImpl->pCore)
                     ->errorString()
                     .toStdString();
    } else if (!withRpcbind ||
               m_pImpl->registration.Register(CVxi11Request::kCoreProgram, CVxi11Request::kVersion,
                                              m_pImpl->pCore->serverPort(), reason)) {
        return true;
    }
    Close();
    if (error)
        *error = QString::fromStdString(reason);
    return false;
}

void CVxi11Server::Close() {
    m_pImpl->registration.Withdraw();
    m_pImpl->pCore->close();
    m_pImpl->pAbort->close();
    m_pImpl->CloseAll();
}

bool CVxi11Server::IsListening() const {
    return m_pImpl->pCore->isListening();
}

quint16 CVxi11Server::CorePort() const {
    return m_pImpl->pCore->serverPort();
}

quint16 CVxi11Server::AbortPort() const {
    return m_pImpl->pAbort->serverPort();
}

QStringList CVxi11Server::Links() const {
    QStringList peers;
    for (const auto& [lid, entry] : m_pImpl->links)
        peers << entry.strPeer;
    return peers;
}

std::vector<QHostAddress> CVxi11Server::LinkAddresses() const {
    std::vector<QHostAddress> peers;
    for (const auto& [lid, entry] : m_pImpl->links)
        peers.push_back(entry.peer);
    return peers;
}

int CVxi11Server::LinkCount() const {
    return int(m_pImpl->links.size());
}
