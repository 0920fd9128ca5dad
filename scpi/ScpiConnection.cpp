#include "scpi/ScpiConnection.h"

namespace {

bool IsTokenChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '!' || c == '#' || c == '$' || c == '%' || c == '&' ||
           c == '\'' || c == '*' || c == '+' || c == '^' || c == '`' || c == '|' || c == '~';
}

/// Length of the token at the start of text.
std::size_t Token(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && IsTokenChar(text[n]))
        ++n;
    return n;
}

} // namespace

CScpiConnection::CScpiConnection(std::unique_ptr<CScpiSession> session, std::size_t inputLimit,
                                 std::size_t outputLimit)
    : m_pSession(std::move(session)), m_nInputLimit(inputLimit) {
    m_pSession->SetOutputLimit(outputLimit);
}

bool CScpiConnection::IsHttpLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    // "Host: x": a field name, a colon and a blank. A colon in SCPI is always followed by a
    // mnemonic, so no SCPI line looks like this.
    const std::size_t name = Token(line);
    if (name > 0 && name + 1 < line.size() && line[name] == ':' &&
        (line[name + 1] == ' ' || line[name + 1] == '\t'))
        return true;
    // "METHOD target HTTP/1.x"
    std::size_t method = 0;
    while (method < line.size() && line[method] >= 'A' && line[method] <= 'Z')
        ++method;
    if (method == 0 || method >= line.size() || line[method] != ' ')
        return false;
    const std::size_t version = line.rfind(" HTTP/");
    return version != std::string_view::npos && version > method &&
           line.find(' ', method + 1) == version;
}

std::size_t CScpiConnection::InputRoom() const {
    return m_bRefused || m_strInput.size() >= m_nInputLimit ? 0 : m_nInputLimit - m_strInput.size();
}

void CScpiConnection::Receive(std::string_view bytes) {
    if (m_bRefused)
        return;
    m_strInput.append(bytes.substr(0, InputRoom()));
    CheckFirstLine();
}

void CScpiConnection::CheckFirstLine() {
    if (!m_bFirstLine)
        return;
    const std::size_t end = m_strInput.find('\n');
    if (end == std::string::npos && m_strInput.size() < m_nInputLimit)
        return;
    m_bFirstLine = false;
    if (IsHttpLine(std::string_view(m_strInput).substr(0, end))) {
        m_bRefused = true;
        m_strInput.clear();
        m_strInput.shrink_to_fit();
    }
}

bool CScpiConnection::Run(std::size_t units) {
    if (m_bRefused || m_bFirstLine)
        return false;
    // The session takes the read-ahead only once it has run what it took before, so that
    // what waits is bounded by this buffer, not by the session's queue.
    if (!m_pSession->HasWork() && !m_strInput.empty()) {
        m_pSession->Take(m_strInput);
        m_strInput.clear();
    }
    bool more = m_pSession->Run(units);
    // The client neither reads nor stops sending: nothing else can move.
    if (m_strInput.size() >= m_nInputLimit && m_pSession->Deadlock())
        more = true;
    return more || (!m_pSession->HasWork() && !m_strInput.empty() && !m_pSession->IsWaiting());
}

bool CScpiConnection::IsIdle() const {
    return !m_bRefused && m_strInput.empty() && !m_pSession->HasWork() &&
           !m_pSession->IsWaiting() && m_pSession->Output().empty();
}
