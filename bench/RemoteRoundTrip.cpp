// SCPI round trips over loopback from a blocking client: *IDN? through the server against the
// same bytes through a bare Qt echo server in the same run, and SOUR:FREQ <f>;*OPC? with a
// simulated unit, which answers only once the unit plays the new frequency. The same two over
// VXI-11 (a device_write and a device_read per round trip, as a VISA query makes them).
#include "bench/LatencyCounters.h"
#include "remote/HeadlessHost.h"
#include "remote/ScpiServer.h"
#include "remote/Vxi11Server.h"
#include "scpi/ScpiSession.h"
#ifdef DDSTARN_BENCH_INSTRUMENT
#include "instrument/ScpiInstrument.h"
#endif

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdlib>
#include <future>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

/// The servers, on a thread of their own with its own event loop.
class CServers : public QThread {
public:
    quint16 m_nEchoPort = 0;
    quint16 m_nScpiPort = 0;
    quint16 m_nVxi11Port = 0;
    std::promise<void> m_ready;

protected:
    void run() override {
        QTcpServer echo;
        QObject::connect(&echo, &QTcpServer::newConnection, &echo, [&echo] {
            QTcpSocket* socket = echo.nextPendingConnection();
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            QObject::connect(socket, &QTcpSocket::readyRead, socket,
                             [socket] { socket->write(socket->readAll()); });
        });
        CHeadlessHost host;
#ifdef DDSTARN_BENCH_INSTRUMENT
        CScpiInstrument instrument(host, "bench");
        CScpiServer scpi(instrument);
        CVxi11Server vxi11(CVxi11Server::CBackend{[&] { return instrument.NewSession(); },
                                                  [&] { instrument.Tick(); },
                                                  [&] { return instrument.SweepRunning(); },
                                                  {},
                                                  {}});
#else
        const CScpiCommandTable none;
        CScpiInstrumentHooks hooks;
        hooks.m_identify = [] { return std::string("DDS-Tarn,DDS-Tarn USB,0,bench"); };
        CScpiServer scpi(CScpiServer::CBackend{
            [&] { return std::make_unique<CScpiSession>(none, hooks); }, {}, {}});
        CVxi11Server vxi11(CVxi11Server::CBackend{
            [&] { return std::make_unique<CScpiSession>(none, hooks); }, {}, {}, {}, {}});
#endif
        echo.listen(QHostAddress::LocalHost, 0);
        scpi.Listen(QHostAddress::LocalHost, 0);
        m_nEchoPort = echo.serverPort();
        m_nScpiPort = scpi.Port();
        // Not registered with rpcbind: the client connects to the core channel's port.
        vxi11.Listen(QHostAddress::LocalHost, nullptr, false);
        m_nVxi11Port = vxi11.CorePort();
        m_ready.set_value();
        exec();
        vxi11.Close();
        scpi.Close();
        host.Stop();
    }
};

CServers* s_pServers = nullptr;

int Connect(quint16 port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

/// Sends one line and reads up to the answer's newline; false on a broken connection.
bool RoundTrip(int fd, const std::string& line, std::string& answer) {
    if (::send(fd, line.data(), line.size(), 0) != ssize_t(line.size()))
        return false;
    answer.clear();
    char buffer[4096];
    while (answer.empty() || answer.back() != '\n') {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0)
            return false;
        answer.append(buffer, std::size_t(got));
    }
    return true;
}

/// Times lines[i % n] round trips on a new connection to port; p50, p99 and max in µs.
void Measure(benchmark::State& state, quint16 port, const std::vector<std::string>& lines,
             const std::string& expected) {
    const int fd = Connect(port);
    if (fd < 0) {
        state.SkipWithError("cannot connect");
        return;
    }
    std::vector<double> latencies;
    std::string answer;
    std::size_t i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = RoundTrip(fd, lines[i++ % lines.size()], answer);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!ok || answer.rfind(expected, 0) != 0) {
            state.SkipWithError(("unexpected answer: " + answer).c_str());
            break;
        }
        state.SetIterationTime(elapsed.count());
        latencies.push_back(elapsed.count() * 1e6);
    }
    ::close(fd);
    ReportLatencies(state, std::move(latencies));
}

/// Big-endian words of an XDR stream.
void Put(std::string& bytes, std::uint32_t word) {
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(char(word >> shift));
}

std::uint32_t Get(const std::string& bytes, std::size_t at) {
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < 4; ++i)
        word = word << 8 | std::uint8_t(bytes[at + i]);
    return word;
}

bool ReceiveAll(int fd, char* to, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::recv(fd, to, size, 0);
        if (got <= 0)
            return false;
        to += got;
        size -= std::size_t(got);
    }
    return true;
}

/// One VXI-11 core call; the reply's results (after the 24-byte accepted reply header).
bool Call(int fd, std::uint32_t procedure, const std::string& args, std::string& results) {
    static std::uint32_t xid = 0;
    std::string body;
    for (const std::uint32_t word : {++xid, 0u, 2u, 0x0607AFu, 1u, procedure, 0u, 0u, 0u, 0u})
        Put(body, word);
    body += args;
    std::string record;
    Put(record, 0x80000000u | std::uint32_t(body.size()));
    record += body;
    if (::send(fd, record.data(), record.size(), 0) != ssize_t(record.size()))
        return false;
    char mark[4];
    if (!ReceiveAll(fd, mark, 4))
        return false;
    const std::uint32_t length = Get(std::string(mark, 4), 0) & 0x7FFFFFFFu;
    std::string reply(length, '\0');
    if (length < 24 || !ReceiveAll(fd, reply.data(), length) || Get(reply, 20) != 0)
        return false;
    results = reply.substr(24);
    return true;
}

/// device_write of the line with END, then device_read of the answer.
bool Vxi11RoundTrip(int fd, std::int32_t link, const std::string& line, std::string& answer) {
    std::string args, results;
    for (const std::uint32_t word :
         {std::uint32_t(link), 1000u, 0u, 8u, std::uint32_t(line.size())})
        Put(args, word);
    args += line + std::string((4 - line.size() % 4) % 4, '\0');
    if (!Call(fd, 11, args, results) || Get(results, 0) != 0)
        return false;
    args.clear();
    for (const std::uint32_t word : {std::uint32_t(link), 4096u, 1000u, 0u, 0u, 0u})
        Put(args, word);
    if (!Call(fd, 12, args, results) || Get(results, 0) != 0)
        return false;
    answer = results.substr(12, Get(results, 8));
    return true;
}

/// As Measure, over a VXI-11 link of its own.
void MeasureVxi11(benchmark::State& state, const std::vector<std::string>& lines,
                  const std::string& expected) {
    const int fd = Connect(s_pServers->m_nVxi11Port);
    std::string args, results;
    for (const std::uint32_t word : {0u, 0u, 0u, 5u})
        Put(args, word);
    args += std::string("inst0\0\0\0", 8);
    if (fd < 0 || !Call(fd, 10, args, results) || Get(results, 0) != 0) {
        state.SkipWithError("cannot link");
        if (fd >= 0)
            ::close(fd);
        return;
    }
    const std::int32_t link = std::int32_t(Get(results, 4));
    std::vector<double> latencies;
    std::string answer;
    std::size_t i = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = Vxi11RoundTrip(fd, link, lines[i++ % lines.size()], answer);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!ok || answer.rfind(expected, 0) != 0) {
            state.SkipWithError(("unexpected answer: " + answer).c_str());
            break;
        }
        state.SetIterationTime(elapsed.count());
        latencies.push_back(elapsed.count() * 1e6);
    }
    ::close(fd);
    ReportLatencies(state, std::move(latencies));
}

void BareEchoRoundTrip(benchmark::State& state) {
    Measure(state, s_pServers->m_nEchoPort, {"*IDN?\n"}, "*IDN?");
}
void IdnRoundTrip(benchmark::State& state) {
    Measure(state, s_pServers->m_nScpiPort, {"*IDN?\n"}, "DDS-Tarn,");
}
BENCHMARK(BareEchoRoundTrip)->UseManualTime()->Iterations(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(IdnRoundTrip)->UseManualTime()->Iterations(5000)->Unit(benchmark::kMicrosecond);
void Vxi11IdnRoundTrip(benchmark::State& state) {
    MeasureVxi11(state, {"*IDN?\n"}, "DDS-Tarn,");
}
BENCHMARK(Vxi11IdnRoundTrip)->UseManualTime()->Iterations(5000)->Unit(benchmark::kMicrosecond);

#ifdef DDSTARN_BENCH_INSTRUMENT
void FrequencyOpcRoundTrip(benchmark::State& state) {
    Measure(state, s_pServers->m_nScpiPort,
            {"SOUR1:FREQ 1000;*OPC?\n", "SOUR1:FREQ 1234.5;*OPC?\n"}, "1");
}
BENCHMARK(FrequencyOpcRoundTrip)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);
void Vxi11FrequencyOpcRoundTrip(benchmark::State& state) {
    MeasureVxi11(state, {"SOUR1:FREQ 1000;*OPC?\n", "SOUR1:FREQ 1234.5;*OPC?\n"}, "1");
}
BENCHMARK(Vxi11FrequencyOpcRoundTrip)
    ->UseManualTime()
    ->Iterations(2000)
    ->Unit(benchmark::kMicrosecond);
#endif

} // namespace

int main(int argc, char** argv) {
    ::setenv("DDSTARN_SIM_UNITS", "1", 0);
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    CServers servers;
    s_pServers = &servers;
    std::future<void> ready = servers.m_ready.get_future();
    servers.start();
    ready.wait();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    servers.quit();
    servers.wait();
    return 0;
}
