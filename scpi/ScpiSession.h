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
    void RunMessages();
    std::string TakeOutput();
    /// Runs the current message's units; false while waiting for the instrument.
    bool RunUnits();
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
    std::vector<std::string> m_vResponses;
    bool m_bWaiting = false;
    bool m_bWaitingQuery = false;
    /// A query whose answer the instrument is still waiting for (CScpiContext::Defer).
    std::unique_ptr<CScpiContext> m_pDeferred;
    std::string m_strOutput;
};
