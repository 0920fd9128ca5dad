// The SCPI server over loopback, serving a small command table of its own: who is admitted
// (allow-list, limits, idle connections making room), HTTP refused, bounded input and output
// with back pressure, clients leaving mid-message, and sessions kept apart.
#include "remote/ScpiServer.h"
#include "scpi/ScpiSession.h"

#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <vector>

namespace {

/// One client socket of the test, asking in lines.
struct CClient {
    QTcpSocket socket;

    /// Connects from `from` (any loopback address works on Linux); a deaf client takes few
    /// bytes from the system and none from then on, as one that never reads.
    bool Open(quint16 port, const char* from = "127.0.0.1", bool deaf = false) {
        socket.bind(QHostAddress(QString::fromLatin1(from)));
        if (deaf) {
            // Before connecting: a window that shrinks later stalls TCP.
            socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
            socket.setReadBufferSize(4096);
        }
        socket.connectToHost(QHostAddress::LocalHost, port);
        return QTest::qWaitFor(
            [this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }
    /// The next answer line, or "none" when none comes.
    QByteArray Answer(int ms = 5000) {
        if (!QTest::qWaitFor(
                [this] {
                    return socket.canReadLine() ||
                           socket.state() == QAbstractSocket::UnconnectedState;
                },
                ms) ||
            !socket.canReadLine())
            return "none";
        return socket.readLine().trimmed();
    }
    QByteArray Ask(const QByteArray& bytes) {
        socket.write(bytes);
        return Answer();
    }
    /// Closed by the server (or never connected) within a short while.
    bool Closed() {
        return QTest::qWaitFor(
            [this] { return socket.state() == QAbstractSocket::UnconnectedState; }, 3000);
    }
    /// Reads everything until the server has been quiet for a while.
    QByteArray Drain() {
        socket.setReadBufferSize(0);
        QByteArray all;
        for (int quiet = 0; quiet < 6; ++quiet) {
            QTest::qWait(50);
            if (socket.bytesAvailable() > 0)
                quiet = -1;
            all += socket.readAll();
        }
        return all;
    }
};

/// The size of BIG?'s answer: a query that answers far more than it asks.
constexpr int kBigAnswer = 20000;

} // namespace

class RemoteServer : public QObject {
    Q_OBJECT

    int m_nValue = 0;
    bool m_bDone = true;
    CScpiCommandTable m_table;
    std::unique_ptr<CScpiServer> m_pServer;

private slots:
    void init() {
        m_nValue = 0;
        m_bDone = true;
        m_table = CScpiCommandTable();
        m_table.Add("VALue", {CScpiParamDef::Numeric()},
                    [this](CScpiContext& c) { m_nValue = int(c.Param(0).m_dValue); });
        m_table.Add("VALue?", {}, [this](CScpiContext& c) { c.WriteInt(m_nValue); });
        m_table.Add("DATA", {CScpiParamDef::Block()},
                    [this](CScpiContext& c) { m_nValue = int(c.Param(0).m_str.size()); });
        m_table.Add("BIG?", {}, [](CScpiContext& c) { c.Write(std::string(kBigAnswer, 'b')); });
        CScpiInstrumentHooks hooks;
        hooks.m_identify = [] { return std::string("TEST,SERVER,0,1"); };
        hooks.m_operationsComplete = [this] { return m_bDone; };
        m_pServer = std::make_unique<CScpiServer>(CScpiServer::CBackend{
            [this, hooks] { return std::make_unique<CScpiSession>(m_table, hooks); }, {}, {}});
        QVERIFY(m_pServer->Listen(QHostAddress::LocalHost, 0));
    }
    void cleanup() { m_pServer.reset(); }

    void httpFirstLineIsClosedBeforeAnythingRuns() {
        for (const auto& [bytes, refused] :
             {std::pair("POST /x HTTP/1.1\r\nHost: a\r\nContent-Length: 6\r\n\r\nVAL 5\n", true),
              {"GET / HTTP/1.0\nVAL 5\n", true},
              {"Host: 127.0.0.1:5025\r\nVAL 5\n", true},
              {"VAL 5\nGET / HTTP/1.1\n", false},
              {"SYST:ERR?;:VAL 5\n", false}}) {
            m_nValue = 0;
            CClient client;
            QVERIFY(client.Open(m_pServer->Port()));
            client.socket.write(bytes);
            client.socket.flush();
            const bool closed = client.Closed();
            QTest::qWait(50);
            QCOMPARE(std::tuple(QByteArray(bytes), closed, m_nValue),
                     std::tuple(QByteArray(bytes), refused, refused ? 0 : 5));
        }
    }

    // Listening stays on loopback unless an allow-list says who may connect; a client outside
    // it is closed before a byte of it is read.
    void allowListDecidesWhoConnects() {
        QString error;
        QVERIFY(!m_pServer->Listen(QHostAddress::Any, 0, &error));
        QVERIFY2(error.contains(QLatin1String("allow")), qPrintable(error));
        QVERIFY(!m_pServer->Admission().SetAllowList(QStringLiteral("10.0.0.0/40"), &error));
        for (const auto& [allow, from, admitted] : {std::tuple("", "127.0.0.2", true),
                                                    {"10.0.0.0/8, 192.168.1.7", "127.0.0.1", false},
                                                    {"127.0.0.1", "127.0.0.2", false},
                                                    {"127.0.0.0/30", "127.0.0.2", true}}) {
            QVERIFY(m_pServer->Admission().SetAllowList(QString::fromLatin1(allow), &error));
            QVERIFY(m_pServer->Listen(QHostAddress::LocalHost, 0));
            m_nValue = 0;
            CClient client;
            client.Open(m_pServer->Port(), from);
            client.socket.write("VAL 5\n");
            const QByteArray answer = client.Ask("*IDN?\n");
            QCOMPARE(std::tuple(QByteArray(allow), QByteArray(from), answer == "TEST,SERVER,0,1",
                                m_nValue),
                     std::tuple(QByteArray(allow), QByteArray(from), admitted, admitted ? 5 : 0));
        }
    }

    // At most 16 clients and 8 per address; a client that would be refused is admitted in
    // place of the connection idle the longest, once that has been idle long enough.
    void idleConnectionsMakeRoomForANewClient() {
        m_pServer->Admission().SetIdleMs(400);
        std::vector<std::unique_ptr<CClient>> clients;
        const auto open = [&](const char* from) {
            clients.push_back(std::make_unique<CClient>());
            return clients.back()->Open(m_pServer->Port(), from) &&
                   clients.back()->Ask("*IDN?\n") == "TEST,SERVER,0,1";
        };
        for (int i = 0; i < CClientAdmission::kMaxPerAddress; ++i)
            QVERIFY(open("127.0.0.1"));
        // Its address is full and no one is idle yet; another address is served.
        QVERIFY(!open("127.0.0.1"));
        clients.pop_back();
        for (int i = 0; i < CClientAdmission::kMaxPerAddress; ++i)
            QVERIFY(open("127.0.0.2"));
        QCOMPARE(m_pServer->Clients().size(), CScpiServer::kMaxClients);
        QVERIFY(!open("127.0.0.3"));
        clients.pop_back();
        // All idle now but one: the oldest idle makes room, the busy one stays.
        QTest::qWait(500);
        QVERIFY(clients[1]->Ask("*IDN?\n") == "TEST,SERVER,0,1");
        QVERIFY(open("127.0.0.3"));
        QVERIFY(clients[0]->Closed());
        QCOMPARE(clients[1]->Ask("*IDN?\n"), QByteArray("TEST,SERVER,0,1"));
        QCOMPARE(m_pServer->Clients().size(), CScpiServer::kMaxClients);
    }

    // Answers are sent as they come; a query that finds a full output queue while the client
    // also fills the input (sends and never reads) is a deadlock: -430, the queue cleared, the
    // message's other answers dropped. The lines after it wait until the client reads.
    void fullOutputQueueIsADeadlock() {
        CClient client;
        QVERIFY(client.Open(m_pServer->Port(), "127.0.0.1", true));
        QByteArray queries = "BIG?";
        for (int i = 0; i < 400; ++i)
            queries += ";BIG?";
        client.socket.write(queries + "\n");
        for (int i = 0; i < 40000; ++i)
            client.socket.write("VAL 1\n");
        client.socket.write("VAL 2\n");
        QTest::qWait(1000);
        const QByteArray got = client.Drain();
        QTRY_COMPARE(m_nValue, 2);
        QVERIFY2(got.size() < 401 * kBigAnswer / 4, QByteArray::number(got.size()));
        QVERIFY(got.endsWith("\n"));
        QVERIFY(client.Ask("SYST:ERR?\n").startsWith("-430,\"Query DEADLOCKED\""));
        QCOMPARE(client.Ask("BIG?\n").size(), kBigAnswer);
    }

    // A client that asks and never reads costs a bounded amount of memory, whatever it sends,
    // and loses nothing once it does read; others are served meanwhile.
    void clientThatDoesNotReadIsHeldBack() {
        CClient deaf, other;
        QVERIFY(deaf.Open(m_pServer->Port(), "127.0.0.1", true) && other.Open(m_pServer->Port()));
        for (int i = 0; i < 20000; ++i)
            deaf.socket.write("BIG?\n");
        QTest::qWait(1000);
        QVERIFY2(m_pServer->HeldBytes() < 512 * 1024, QByteArray::number(m_pServer->HeldBytes()));
        QCOMPARE(other.Ask("*IDN?\n"), QByteArray("TEST,SERVER,0,1"));
        deaf.socket.abort();

        CClient slow;
        QVERIFY(slow.Open(m_pServer->Port(), "127.0.0.1", true));
        for (int i = 0; i < 300; ++i)
            slow.socket.write("BIG?\n");
        QTest::qWait(300);
        QCOMPARE(slow.Drain().count('\n'), 300);
        QCOMPARE(slow.Ask("SYST:ERR?\n"), QByteArray("0,\"No error\""));
    }

    void overlongInputIsRefusedAndTheConnectionSurvives() {
        CClient client;
        QVERIFY(client.Open(m_pServer->Port()));
        client.socket.write(QByteArray((1 << 20) + 100, 'x') + "\nVAL 5\n");
        QCOMPARE(client.Ask("*IDN?;VAL?\n"), QByteArray("TEST,SERVER,0,1;5"));
        QVERIFY(client.Ask("SYST:ERR?\n").startsWith("-363,"));
        QVERIFY(client.Ask("SYST:ERR?\n").startsWith("0,"));
    }

    // Mid-line, mid-unit list, mid-block, and a whole block on a line left open.
    void clientLeavingMidMessageAppliesOnlyWhatItCompleted() {
        for (const auto& [bytes, value] : {std::pair("VAL 3\nVAL 7", 3),
                                           {"VAL 4;VAL 8", 0},
                                           {"DATA #210abc\ndef", 0},
                                           {"DATA #13a\nc", 0}}) {
            m_nValue = 0;
            CClient client;
            QVERIFY(client.Open(m_pServer->Port()));
            QTRY_COMPARE(m_pServer->Clients().size(), 1);
            client.socket.write(bytes);
            client.socket.disconnectFromHost();
            QTRY_COMPARE(m_pServer->Clients().size(), 0);
            QCOMPARE(std::pair(QByteArray(bytes), m_nValue), std::pair(QByteArray(bytes), value));
        }
    }

    void interleavedClientsGetTheirOwnAnswers() {
        CClient a, b;
        QVERIFY(a.Open(m_pServer->Port()) && b.Open(m_pServer->Port()));
        a.socket.write("NOPE\n");
        QVERIFY(b.Ask("SYST:ERR?\n").startsWith("0,"));
        QVERIFY(a.Ask("SYST:ERR?\n").startsWith("-113,"));
        // A client waiting for *OPC? holds no one else up, and is answered once done.
        m_bDone = false;
        a.socket.write("VAL 9;*OPC?;VAL?\n");
        QCOMPARE(b.Ask("*IDN?\n"), QByteArray("TEST,SERVER,0,1"));
        QCOMPARE(a.Answer(100), QByteArray("none"));
        m_bDone = true;
        QCOMPARE(a.Answer(), QByteArray("1;9"));
    }
};

QTEST_GUILESS_MAIN(RemoteServer)
#include "RemoteServer.moc"
