#include "scpi/ScpiSession.h"

#include "scpi/ScpiParamReader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>

using P = CScpiParamDef;

CScpiSession::CScpiSession(const CScpiCommandTable& table, CScpiInstrumentHooks hooks)
    : m_table(table), m_hooks(std::move(hooks)) {
    AddCommonCommands();
}

int CScpiSession::ReadRegister(const CScpiContext& context, int& value) {
    const CScpiParameter& param = context.Param(0);
    const double number = param.m_eSpecial == CScpiParameter::MAXIMUM ? 255.0
                          : param.m_eSpecial == CScpiParameter::VALUE ? std::round(param.m_dValue)
                                                                      : 0.0;
    if (!(number >= 0.0 && number <= 255.0))
        return -222;
    value = static_cast<int>(number);
    return 0;
}

void CScpiSession::AddCommonCommands() {
    const auto reg = [](int& target, int keepMask) {
        return [&target, keepMask](CScpiContext& c) {
            int value = 0;
            if (const int error = ReadRegister(c, value))
                c.Error(error);
            else
                target = value & keepMask;
        };
    };
    m_common.Add("*CLS", {}, [this](CScpiContext&) {
        m_errors.Clear();
        m_nEsr = 0;
        m_bOpcPending = false;
    });
    m_common.Add("*ESE", {P::Numeric()}, reg(m_nEse, 0xFF));
    m_common.Add("*ESE?", {}, [this](CScpiContext& c) { c.WriteInt(m_nEse); });
    m_common.Add("*SRE", {P::Numeric()}, reg(m_nSre, 0xFF & ~STB_MSS));
    m_common.Add("*SRE?", {}, [this](CScpiContext& c) { c.WriteInt(m_nSre); });
    m_common.Add("*ESR?", {}, [this](CScpiContext& c) {
        CheckOperationComplete();
        c.WriteInt(m_nEsr);
        m_nEsr = 0;
    });
    m_common.Add("*STB?", {}, [this](CScpiContext& c) { c.WriteInt(StatusByte()); });
    m_common.Add("*OPC", {}, [this](CScpiContext&) {
        m_bOpcPending = true;
        CheckOperationComplete();
    });
    m_common.Add("*OPC?", {}, [this](CScpiContext& c) {
        if (OperationsComplete())
            c.WriteInt(1);
        else
            m_bWaiting = m_bWaitingQuery = true;
    });
    m_common.Add("*WAI", {}, [this](CScpiContext&) { m_bWaiting = !OperationsComplete(); });
    m_common.Add("*RST", {}, [this](CScpiContext&) {
        m_bOpcPending = false;
        if (m_hooks.m_reset)
            m_hooks.m_reset();
    });
    m_common.Add("*TST?", {}, [this](CScpiContext& c) {
        c.WriteInt(m_hooks.m_selfTest ? m_hooks.m_selfTest() : 0);
    });
    m_common.Add("*IDN?", {}, [this](CScpiContext& c) {
        c.Write(m_hooks.m_identify ? m_hooks.m_identify() : "UNKNOWN,SCPI,0,0");
    });
    m_common.Add("SYSTem:ERRor[:NEXT]?", {}, [this](CScpiContext& c) { c.Write(m_errors.Pop()); });
    m_common.Add("SYSTem:ERRor:COUNt?", {},
                 [this](CScpiContext& c) { c.WriteInt(static_cast<long long>(m_errors.Count())); });
    m_common.Add("SYSTem:ERRor:ALL?", {}, [this](CScpiContext& c) {
        do
            c.Write(m_errors.Pop());
        while (m_errors.Count() > 0);
    });
    m_common.Add("SYSTem:VERSion?", {}, [](CScpiContext& c) { c.Write("1999.0"); });
}

bool CScpiSession::OperationsComplete() const {
    return !m_hooks.m_operationsComplete || m_hooks.m_operationsComplete();
}

void CScpiSession::CheckOperationComplete() {
    if (m_bOpcPending && OperationsComplete()) {
        m_bOpcPending = false;
        m_nEsr |= ESR_OPC;
    }
}

int CScpiSession::StatusByte() const {
    int status = 0;
    if (m_errors.Count() > 0)
        status |= STB_EAV;
    // Earlier messages' responses count as sent, however the transport is doing.
    if (m_nResponses > 0 && !m_bDropResponses)
        status |= STB_MAV;
    if (m_nEsr & m_nEse)
        status |= STB_ESB;
    if (status & m_nSre)
        status |= STB_MSS;
    return status;
}

void CScpiSession::PushError(int code, std::string_view info) {
    m_errors.Push(code, info);
    if (code <= -100 && code > -200)
        m_nEsr |= ESR_CME;
    else if (code <= -200 && code > -300)
        m_nEsr |= ESR_EXE;
    else if (code <= -400 && code > -500)
        m_nEsr |= ESR_QYE;
    else if (code != 0)
        m_nEsr |= ESR_DDE;
}

void CScpiSession::Queue(std::optional<std::string>& message) {
    // While waiting, later messages wait too, within the same bound as one message.
    if (!message || m_nPendingBytes + message->size() > m_input.Limit()) {
        PushError(-363);
        return;
    }
    m_nPendingBytes += message->size();
    m_pending.push_back(std::move(*message));
}

std::string CScpiSession::Feed(std::string_view bytes) {
    std::vector<std::optional<std::string>> messages;
    m_input.Append(bytes, messages);
    for (std::optional<std::string>& message : messages) {
        Queue(message);
        std::size_t units = SIZE_MAX;
        RunMessages(units);
    }
    return TakeOutput();
}

void CScpiSession::Take(std::string_view bytes) {
    std::vector<std::optional<std::string>> messages;
    m_input.Append(bytes, messages);
    for (std::optional<std::string>& message : messages)
        Queue(message);
}

bool CScpiSession::Run(std::size_t units) {
    RunMessages(units);
    return HasWork() && !m_bWaiting && !IsBlocked();
}

void CScpiSession::Resume() {
    CheckOperationComplete();
    if (m_pDeferred) {
        if (!m_pDeferred->PollDeferred())
            return;
        Finish(*m_pDeferred);
        m_pDeferred.reset();
        m_bWaiting = false;
        CheckOperationComplete();
    } else if (m_bWaiting && OperationsComplete()) {
        m_bWaiting = false;
        if (m_bWaitingQuery)
            Respond("1");
        m_bWaitingQuery = false;
    }
}

std::string CScpiSession::Poll() {
    Resume();
    std::size_t units = SIZE_MAX;
    RunMessages(units);
    return TakeOutput();
}

bool CScpiSession::IsBlocked() const {
    if (m_nOutputLimit == 0)
        return false;
    if (m_bQueryBlocked)
        return Output().size() >= m_nOutputLimit;
    return !m_bInMessage && !m_pending.empty() && !Output().empty();
}

bool CScpiSession::Deadlock() {
    if (!m_bQueryBlocked || !IsBlocked())
        return false;
    PushError(-430);
    m_bLineSent = m_bLineSent || (m_nLineStart != std::string::npos && m_nSent > m_nLineStart);
    m_strOutput.clear();
    m_nSent = 0;
    m_nLineStart = std::string::npos;
    m_bDropResponses = true;
    m_bQueryBlocked = false;
    return true;
}

void CScpiSession::Consume(std::size_t bytes) {
    m_nSent += std::min(bytes, m_strOutput.size() - m_nSent);
    // What was sent is dropped from the front now and then, not on every call.
    if (m_nSent < m_strOutput.size() && m_nSent < (1u << 16))
        return;
    if (m_nLineStart != std::string::npos) {
        if (m_nLineStart < m_nSent)
            m_bLineSent = true;
        m_nLineStart = m_nLineStart <= m_nSent ? 0 : m_nLineStart - m_nSent;
    }
    m_strOutput.erase(0, m_nSent);
    m_nSent = 0;
}

std::string CScpiSession::TakeOutput() {
    // Whole lines only: the current message's line goes once the message is done.
    const std::size_t end = m_nLineStart != std::string::npos ? m_nLineStart : m_strOutput.size();
    std::string output = m_strOutput.substr(m_nSent, end - m_nSent);
    m_strOutput.erase(0, end);
    m_nSent = 0;
    if (m_nLineStart != std::string::npos)
        m_nLineStart = 0;
    return output;
}

void CScpiSession::Clear() {
    if (m_bWaitingQuery || m_pDeferred)
        PushError(-410);
    m_pDeferred.reset();
    m_input.Clear();
    m_pending.clear();
    m_nPendingBytes = 0;
    m_bInMessage = m_bWaiting = m_bWaitingQuery = m_bQueryBlocked = false;
    m_nResponses = 0;
    m_bDropResponses = m_bLineSent = false;
    m_strOutput.clear();
    m_nSent = 0;
    m_nLineStart = std::string::npos;
}

void CScpiSession::Respond(const std::string& response) {
    if (m_bDropResponses)
        return;
    if (m_nResponses++ == 0)
        m_nLineStart = m_strOutput.size();
    else
        m_strOutput += ';';
    m_strOutput += response;
}

void CScpiSession::RunMessages(std::size_t& units) {
    while (!m_bWaiting && units > 0) {
        if (!m_bInMessage) {
            // Back pressure: the next message waits until the client has taken the answers.
            if (m_pending.empty() || IsBlocked())
                return;
            m_strMessage = std::move(m_pending.front());
            m_pending.pop_front();
            m_nPendingBytes -= m_strMessage.size();
            m_nPosition = 0;
            m_vPath.clear();
            m_nResponses = 0;
            m_bDropResponses = m_bLineSent = false;
            m_nLineStart = std::string::npos;
            m_bInMessage = true;
            --units;
        }
        if (!RunUnits(units))
            return;
        m_bInMessage = false;
        if (m_nResponses > 0 && (!m_bDropResponses || m_bLineSent))
            m_strOutput += '\n';
        m_nResponses = 0;
        m_bDropResponses = m_bLineSent = false;
        m_nLineStart = std::string::npos;
    }
}

bool CScpiSession::RunUnits(std::size_t& units) {
    CScpiLexer lexer(m_strMessage, m_nPosition);
    CScpiHeader header;
    std::vector<CScpiToken> tokens;
    while (!lexer.AtEnd()) {
        if (units == 0)
            return false;
        const std::size_t start = m_nPosition;
        const int error = lexer.ReadUnit(header, tokens);
        m_nPosition = lexer.Position();
        --units;
        // After a command error the rest of the message is not run: what follows may
        // depend on what failed.
        if (error) {
            PushError(error);
            return true;
        }
        if (header.m_vNodes.empty())
            continue;
        if (header.m_bQuery && !m_bDropResponses && m_nOutputLimit > 0 &&
            Output().size() >= m_nOutputLimit) {
            m_nPosition = start; // read again once the client has taken some
            m_bQueryBlocked = true;
            return false;
        }
        m_bQueryBlocked = false;
        if (!RunUnit(header, tokens))
            return true;
        if (m_bWaiting)
            return false;
    }
    return true;
}

bool CScpiSession::RunUnit(CScpiHeader& header, const std::vector<CScpiToken>& tokens) {
    if (!header.m_bCommon && !header.m_bRoot)
        header.m_vNodes.insert(header.m_vNodes.begin(), m_vPath.begin(), m_vPath.end());
    CScpiCommandTable::CMatch match;
    int error = m_common.Find(header, match);
    if (error == -113)
        error = m_table.Find(header, match);
    if (error) {
        std::string typed;
        for (const CScpiHeaderNode& node : header.m_vNodes)
            typed.append(typed.empty() ? "" : ":").append(node.m_strName);
        PushError(error, typed);
        return false;
    }
    if (!header.m_bCommon)
        m_vPath.assign(header.m_vNodes.begin(), header.m_vNodes.end() - 1);
    std::vector<CScpiParameter> params;
    if (const int paramError = CScpiParamReader::Convert(tokens, match.m_pRow->m_vParams, params)) {
        PushError(paramError);
        return false;
    }
    auto context = std::make_unique<CScpiContext>(std::move(match.m_vSuffixes),
                                                  std::move(match.m_vGiven), std::move(params));
    try {
        match.m_pRow->m_handler(*context);
    } catch (const std::exception& exception) {
        context->Error(-200, exception.what());
    }
    if (context->Deferred()) {
        // Errors raised so far keep their place; the answer comes when the poll finishes.
        for (const CScpiContext::CRaised& raised : context->TakeRaised())
            PushError(raised.m_nCode, raised.m_strInfo);
        m_pDeferred = std::move(context);
        m_bWaiting = true;
        return true;
    }
    Finish(*context);
    CheckOperationComplete();
    return true;
}

void CScpiSession::Finish(CScpiContext& context) {
    for (const CScpiContext::CRaised& raised : context.TakeRaised())
        PushError(raised.m_nCode, raised.m_strInfo);
    if (context.HasResponse())
        Respond(context.Response());
}
