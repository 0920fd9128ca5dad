#include "remote/Vxi11Link.h"

#include "remote/rpc/Vxi11Request.h"
#include "scpi/ScpiSession.h"

#include <algorithm>

namespace {

/// Query deadlocked (responses nobody reads fill the output); query unterminated.
constexpr int kQueryDeadlocked = -430;
constexpr int kQueryUnterminated = -420;

} // namespace

CVxi11Link::CVxi11Link(std::unique_ptr<CScpiSession> session, std::size_t limit)
    : m_pSession(std::move(session)), m_nLimit(limit) {}

CVxi11Link::~CVxi11Link() = default;

void CVxi11Link::Write(std::string_view data, bool end) {
    if (!data.empty()) {
        AddOutput(m_pSession->Feed(data));
        m_bAtMessageEnd = data.back() == '\n';
    }
    // END on the last byte ends the message as a newline does.
    if (end && !m_bAtMessageEnd) {
        AddOutput(m_pSession->Feed("\n"));
        m_bAtMessageEnd = true;
    }
}

void CVxi11Link::AddOutput(std::string bytes) {
    if (bytes.empty())
        return;
    if (m_nOutputBytes + bytes.size() > m_nLimit) {
        m_pSession->PushError(kQueryDeadlocked);
        return;
    }
    m_nOutputBytes += bytes.size();
    m_output.push_back(std::move(bytes));
}

CVxi11Link::CReadResult CVxi11Link::Read(std::uint32_t requestSize, int termChar) {
    CReadResult result;
    if (m_output.empty())
        return result;
    std::string& front = m_output.front();
    std::size_t take = std::min<std::size_t>(requestSize, front.size());
    std::uint32_t reason = take < front.size() ? std::uint32_t(CVxi11Request::REASON_REQCNT) : 0u;
    if (termChar >= 0) {
        const std::size_t at = front.find(char(termChar));
        if (at != std::string::npos && at < take) {
            take = at + 1;
            reason = CVxi11Request::REASON_CHR;
        }
    }
    if (take == front.size())
        reason |= CVxi11Request::REASON_END;
    result.m_strData = front.substr(0, take);
    result.m_nReason = reason;
    m_nOutputBytes -= take;
    if (take == front.size())
        m_output.pop_front();
    else
        front.erase(0, take);
    return result;
}

bool CVxi11Link::IsWaiting() const {
    return m_pSession->IsWaiting();
}

bool CVxi11Link::Poll() {
    const std::size_t before = m_output.size();
    AddOutput(m_pSession->Poll());
    return m_output.size() != before;
}

void CVxi11Link::Clear() {
    m_bAtMessageEnd = true;
    m_output.clear();
    m_nOutputBytes = 0;
    m_pSession->Clear();
}

void CVxi11Link::Trigger() {
    AddOutput(m_pSession->Feed("*TRG\n"));
}

void CVxi11Link::ReadWithoutQuery() {
    m_pSession->PushError(kQueryUnterminated);
}

int CVxi11Link::StatusByte() const {
    return m_pSession->StatusByte() | (m_output.empty() ? 0 : CScpiSession::STB_MAV);
}
