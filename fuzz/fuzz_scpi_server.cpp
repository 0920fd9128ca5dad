// The server's side of several clients at once (CScpiConnection, what the TCP server runs for
// each socket): bytes arrive in pieces for three clients interleaved, units run a few at a
// time, and each client reads its answers in pieces, at once or not at all. The output queue
// never grows past its limit by more than one answer, whatever the clients do; a client that
// always reads gets exactly what a plain session answers for the same bytes; a client whose
// first line is HTTP has nothing run.
#include "scpi/ScpiConnection.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {
using P = CScpiParamDef;

constexpr std::size_t kBigAnswer = 5000;
/// Small queues, so that a few kilobytes of input reach every limit.
constexpr std::size_t kInput = 512;
constexpr std::size_t kOutput = 8192;

CScpiCommandTable MakeTable(std::string& calls) {
    CScpiCommandTable table;
    const auto log = [&calls](CScpiContext& c) {
        for (const CScpiParameter& p : c.Params())
            calls += std::to_string(p.m_dValue) + p.m_str;
        calls += ';';
    };
    table.Add("VALue", {P::Numeric()}, log);
    table.Add("VALue?", {}, [](CScpiContext& c) { c.WriteInt(7); });
    table.Add("DATA", {P::Block()}, log);
    table.Add("BIG?", {}, [](CScpiContext& c) { c.Write(std::string(kBigAnswer, 'b')); });
    return table;
}

struct CClient {
    std::string calls;
    CScpiCommandTable table = MakeTable(calls);
    CScpiConnection connection{std::make_unique<CScpiSession>(table), kInput, kOutput};
    std::string sent;     ///< Every byte the client sent.
    std::string received; ///< Every byte it read.

    void Read(std::size_t bytes) {
        const std::string_view out = connection.Output().substr(0, bytes);
        received.append(out);
        connection.Sent(out.size());
    }
    void Check() const {
        if (connection.Output().size() > kOutput + kBigAnswer + 2 ||
            connection.HeldBytes() >
                kInput + CScpiInputBuffer::kDefaultLimit + kOutput + kBigAnswer + 2)
            std::abort();
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 8192)
        return 0;
    // Clients that always read at once must see a plain session's answers.
    const bool keepUp = data[0] & 1;
    std::array<CClient, 3> clients;
    for (std::size_t at = 1; at < size;) {
        const std::uint8_t op = data[at++];
        CClient& client = clients[op % 3];
        const std::size_t amount = 1 + op / 12;
        switch (op / 3 % 4) {
        case 0: { // the client sends a piece
            // A transport reads no more than the connection has room for.
            const std::string_view piece(
                reinterpret_cast<const char*>(data + at),
                std::min({amount, size - at, client.connection.InputRoom()}));
            at += piece.size();
            client.connection.Receive(piece);
            client.sent.append(piece);
            break;
        }
        case 1: // a reader that keeps up is served one unit at a time, so never deadlocks
            for (std::size_t unit = 0; unit < (keepUp ? amount : 1); ++unit) {
                client.connection.Run(keepUp ? 1 : amount);
                client.Check();
                if (keepUp)
                    client.Read(SIZE_MAX);
            }
            break;
        case 2:
            client.Read(amount * 997);
            break;
        case 3:
            client.Read(0);
            break;
        }
        client.Check();
        if (keepUp)
            client.Read(SIZE_MAX);
    }
    for (CClient& client : clients) {
        // Read to the end: each read may let the connection go on.
        for (int pass = 0; pass < 1000000; ++pass) {
            const bool more = client.connection.Run(keepUp ? 1 : 64);
            client.Check();
            client.Read(SIZE_MAX);
            if (!more && !client.connection.Run(0))
                break;
        }
        client.Read(SIZE_MAX);
        if (client.connection.IsRefused()) {
            const std::size_t line = std::min(client.sent.find('\n'), kInput);
            if (!client.calls.empty() ||
                !CScpiConnection::IsHttpLine(std::string_view(client.sent).substr(0, line)))
                std::abort();
            continue;
        }
        if (!keepUp)
            continue;
        std::string calls;
        const CScpiCommandTable table = MakeTable(calls);
        CScpiSession plain(table);
        const std::string expected = plain.Feed(client.sent);
        // The plain session holds back an unfinished line; the connection may have sent it.
        if (client.calls != calls || client.received.compare(0, expected.size(), expected) != 0)
            std::abort();
    }
    return 0;
}
