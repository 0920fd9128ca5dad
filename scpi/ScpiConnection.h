#pragma once

#include "scpi/ScpiSession.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

/// One client of a byte-stream transport (a TCP socket) around its session, with every queue
/// bounded: the transport reads only as much as InputRoom() allows, runs the session a few
/// units at a time (Run) and sends Output() as it is produced. While answers wait to be sent,
/// no new message starts and the read-ahead stops growing (back pressure); a query blocked on
/// a full output queue while the read-ahead is full too is a deadlock (-430). A first line
/// that is an HTTP request or header refuses the connection before anything runs.
class CScpiConnection {
public:
    /// Bytes read ahead of the session, and the output queue's limit (a query that finds this
    /// much waiting does not run until the client has taken some).
    static constexpr std::size_t kInputLimit = 64 * 1024;
    static constexpr std::size_t kOutputLimit = 64 * 1024;

    explicit CScpiConnection(std::unique_ptr<CScpiSession> session,
                             std::size_t inputLimit = kInputLimit,
                             std::size_t outputLimit = kOutputLimit);

    /// How many more bytes Receive takes now.
    std::size_t InputRoom() const;
    /// Bytes from the client, at most InputRoom() of them.
    void Receive(std::string_view bytes);
    /// Runs at most `units` message units; true when it could go on at once.
    bool Run(std::size_t units);
    /// The answers not yet sent, and how many of them the transport has sent.
    std::string_view Output() const { return m_pSession->Output(); }
    void Sent(std::size_t bytes) { m_pSession->Consume(bytes); }
    /// Nothing to run, nothing read ahead, nothing to send, no *OPC? waiting.
    bool IsIdle() const;
    /// The first line looked like HTTP: the transport closes the connection.
    bool IsRefused() const { return m_bRefused; }
    /// Whether bytes the client sent still wait to be run (complete or not).
    bool HasInput() const { return !m_strInput.empty() || m_pSession->HasWork(); }
    CScpiSession& Session() { return *m_pSession; }
    /// Bytes held for the client, read ahead or in the session.
    std::size_t HeldBytes() const { return m_strInput.size() + m_pSession->HeldBytes(); }

    /// A request line ("GET /path HTTP/1.1") or a header line ("Host: x").
    static bool IsHttpLine(std::string_view line);

private:
    /// Decides on the first line once it is complete (or the read-ahead is full).
    void CheckFirstLine();

    std::unique_ptr<CScpiSession> m_pSession;
    std::size_t m_nInputLimit;
    std::string m_strInput; ///< Read ahead, not yet given to the session.
    bool m_bFirstLine = true;
    bool m_bRefused = false;
};
