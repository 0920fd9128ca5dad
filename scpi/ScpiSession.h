#pragma once

#include "scpi/ScpiCommandTable.h"
#include "scpi/ScpiErrorQueue.h"
#include "scpi/ScpiInputBuffer.h"
#include "scpi/ScpiInstrumentHooks.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// One connection's side of the language: its partial input, its error queue and status
/// registers, the IEEE 488.2 common commands and SYSTem:ERRor/VERSion. Everything else is
/// looked up in the instrument's table, which many sessions may share.
class CScpiSession {
public:
    /// Standard event status register bits.
    enum EventBit { ESR_OPC = 1, ESR_QYE = 4, ESR_DDE = 8, ESR_EXE = 16, ESR_CME = 32 };
    /// Status byte bits.
    enum StatusBit { STB_EAV = 4, STB_MAV = 16, STB_ESB = 32, STB_MSS = 64 };

    explicit CScpiSession(const CScpiCommandTable& table, CScpiInstrumentHooks hooks = {});
    CScpiSession(const CScpiSession&) = delete;
    CScpiSession& operator=(const CScpiSession&) = delete;

    /// Takes bytes as they arrive and runs every complete message; returns the responses to
    /// send, one line per message that had queries.
    std::string Feed(std::string_view bytes);
    /// While *OPC? or *WAI waits for the instrument, the transport calls this again (e.g. on
    /// a timer); it goes on once all operations are complete.
    std::string Poll();
    bool IsWaiting() const { return m_bWaiting; }
    /// Device clear: drops partial and waiting input; a query that was waiting queues -410.
    void Clear();

    // The paced way, for a transport that bounds its output: Take queues messages without
    // running them, Run runs a few units at a time, and the responses wait in the output
    // queue (Output, Consume) until the transport has sent them.

    /// Cuts bytes into messages and queues them (the same bound and -363 as Feed).
    void Take(std::string_view bytes);
    /// Runs at most `units` message units; true when it could go on at once.
    bool Run(std::size_t units);
    /// Ends a wait for *OPC? or *WAI once all operations are complete (without running).
    void Resume();
    /// Whether queued messages or the rest of a message are still to run.
    bool HasWork() const { return m_bInMessage || !m_pending.empty(); }
    /// Waiting for the output queue: a new message does not start while it holds anything,
    /// and a query does not run while it holds the output limit or more.
    bool IsBlocked() const;
    /// Blocked on a query while the transport's input is full too (the client sends and does
    /// not read): -430, the output queue is cleared and the message's other responses dropped.
    /// False when no query is blocked.
    bool Deadlock();
    /// Bytes of the output queue; 0: unbounded, and messages run without waiting for it.
    void SetOutputLimit(std::size_t bytes) { m_nOutputLimit = bytes; }
    std::string_view Output() const { return std::string_view(m_strOutput).substr(m_nSent); }
    /// The transport has sent the first `bytes` of Output().
    void Consume(std::size_t bytes);
    /// Bytes held for the client: partial and queued input, the current message, the output.
    std::size_t HeldBytes() const {
        return m_input.Size() + m_nPendingBytes + (m_bInMessage ? m_strMessage.size() : 0) +
               m_strOutput.size();
    }

    void SetInputLimit(std::size_t bytes) { m_input.SetLimit(bytes); }
    /// Queues an error and sets its event status bit.
    void PushError(int code, std::string_view info = {});
    CScpiErrorQueue& ErrorQueue() { return m_errors; }
    int EventStatus() const { return m_nEsr; }
    int StatusByte() const;

private:
    void AddCommonCommands();
    void CheckOperationComplete();
    bool OperationsComplete() const;
    void Queue(std::optional<std::string>& message);
    void RunMessages(std::size_t& units);
    std::string TakeOutput();
    /// Runs the current message's units; false while waiting for the instrument or for the
    /// output queue, or when the units are spent.
    bool RunUnits(std::size_t& units);
    /// Adds a response to the current message's line (nothing after a deadlock).
    void Respond(const std::string& response);
    /// Resolves and runs one unit; false when the rest of the message must be dropped.
    bool RunUnit(CScpiHeader& header, const std::vector<CScpiToken>& tokens);
    /// Queues what a finished unit raised and answered.
    void Finish(CScpiContext& context);
    static int ReadRegister(const CScpiContext& context, int& value);

    const CScpiCommandTable& m_table;
    CScpiCommandTable m_common;
    CScpiInstrumentHooks m_hooks;
    CScpiInputBuffer m_input;
    CScpiErrorQueue m_errors;
    int m_nEsr = 0;
    int m_nEse = 0;
    int m_nSre = 0;
    bool m_bOpcPending = false;

    std::deque<std::string> m_pending;
    std::size_t m_nPendingBytes = 0;
    std::string m_strMessage;
    std::size_t m_nPosition = 0;
    bool m_bInMessage = false;
    /// Header nodes the next unit of this message continues from.
    std::vector<CScpiHeaderNode> m_vPath;
    /// Responses of the current message so far; its line is open while there are any.
    std::size_t m_nResponses = 0;
    /// After a deadlock, the rest of the message's responses go nowhere.
    bool m_bDropResponses = false;
    /// Some of the current message's line has been sent: after a deadlock its newline still
    /// goes out.
    bool m_bLineSent = false;
    bool m_bWaiting = false;
    bool m_bWaitingQuery = false;
    /// The query at m_nPosition waits for the output queue to fall below the limit.
    bool m_bQueryBlocked = false;
    std::size_t m_nOutputLimit = 0;
    /// The output queue is m_strOutput from m_nSent; m_nLineStart is where the current
    /// message's line began (or npos), so a deadlock knows whether some of it was sent.
    /// A query whose answer the instrument is still waiting for (CScpiContext::Defer).
    std::unique_ptr<CScpiContext> m_pDeferred;
    std::string m_strOutput;
    std::size_t m_nSent = 0;
    std::size_t m_nLineStart = std::string::npos;
};
