// The SCPI server over loopback, serving a small command table of its own: client limit,
// bounded input, clients leaving mid-message, and sessions kept apart.
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

    bool Open(quint16 port) {
        socket.connectToHost(QHostAddress::LocalHost, port);
        return QTest::qWaitFor(
            [this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }
    /// The next answer line, or "none" when none comes.
    QByteArray Answer(int ms = 5000) {
        if (!QTest::qWaitFor([this] { return socket.canReadLine(); }, ms))
            return "none";
        return socket.readLine().trimmed();
    }
    QByteArray Ask(const QByteArray& bytes) {
        socket.write(bytes);
        return Answer();
    }
};

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
        CScpiInstrumentHooks hooks;
        hooks.m_identify = [] { return std::string("TEST,SERVER,0,1"); };
        hooks.m_operationsComplete = [this] { return m_bDone; };
        m_pServer = std::make_unique<CScpiServer>(CScpiServer::CBackend{
            [this, hooks] { return std::make_unique<CScpiSession>(m_table, hooks); }, {}, {}});
        QVERIFY(m_pServer->Listen(QHostAddress::LocalHost, 0));
    }
    void cleanup() { m_pServer.reset(); }

    void seventeenthClientIsClosedAtOnce() {
        std::vector<std::unique_ptr<CClient>> clients;
        for (int i = 0; i < CScpiServer::kMaxClients; ++i) {
            clients.push_back(std::make_unique<CClient>());
            QVERIFY(clients.back()->Open(m_pServer->Port()));
            QCOMPARE(clients.back()->Ask("*IDN?\n"), QByteArray("TEST,SERVER,0,1"));
        }
        CClient refused;
        refused.Open(m_pServer->Port());
        QTRY_COMPARE(refused.socket.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(m_pServer->Clients().size(), CScpiServer::kMaxClients);
        // A place that comes free is served again.
        clients.front()->socket.disconnectFromHost();
        QTRY_COMPARE(m_pServer->Clients().size(), CScpiServer::kMaxClients - 1);
        CClient next;
        QVERIFY(next.Open(m_pServer->Port()));
        QCOMPARE(next.Ask("*IDN?\n"), QByteArray("TEST,SERVER,0,1"));
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
