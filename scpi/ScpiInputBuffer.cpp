#include "scpi/ScpiInputBuffer.h"

void CScpiInputBuffer::Clear() {
    m_strLine.clear();
    m_bDiscarding = false;
    m_eState = TEXT;
}

void CScpiInputBuffer::Overrun(std::vector<std::optional<std::string>>& messages) {
    if (m_bDiscarding)
        return;
    messages.emplace_back();
    m_bDiscarding = true;
    m_strLine.clear();
    m_strLine.shrink_to_fit();
}

void CScpiInputBuffer::Append(std::string_view bytes,
                              std::vector<std::optional<std::string>>& messages) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (m_eState == BLOCK_BYTES) {
            // Block bytes are taken in one piece; a newline among them is data.
            const std::size_t take = std::min(m_nBlockLeft, bytes.size() - i);
            if (!m_bDiscarding)
                m_strLine.append(bytes.substr(i, take));
            i += take;
            m_nBlockLeft -= take;
            if (m_nBlockLeft == 0)
                m_eState = TEXT;
            if (!m_bDiscarding && m_strLine.size() > m_nLimit)
                Overrun(messages);
            continue;
        }
        const char c = bytes[i++];
        if (c == '\n') {
            if (!m_bDiscarding) {
                if (!m_strLine.empty() && m_strLine.back() == '\r')
                    m_strLine.pop_back();
                messages.push_back(std::move(m_strLine));
            }
            m_strLine.clear();
            m_bDiscarding = false;
            m_eState = TEXT;
            continue;
        }
        if (!m_bDiscarding) {
            m_strLine += c;
            if (m_strLine.size() > m_nLimit)
                Overrun(messages);
        }
        switch (m_eState) {
        case TEXT:
            if (c == '"' || c == '\'') {
                m_cQuote = c;
                m_eState = QUOTED;
            } else if (c == '#') {
                m_eState = HASH;
            }
            break;
        case QUOTED:
            if (c == m_cQuote)
                m_eState = TEXT;
            break;
        case HASH:
            m_eState = c > '0' && c <= '9' ? BLOCK_LENGTH : TEXT;
            m_nDigitsLeft = static_cast<std::size_t>(c - '0');
            m_nBlockLeft = 0;
            break;
        case BLOCK_LENGTH:
            if (c < '0' || c > '9') {
                m_eState = TEXT; // not a block; the parser will say so
                break;
            }
            m_nBlockLeft = m_nBlockLeft * 10 + static_cast<std::size_t>(c - '0');
            if (--m_nDigitsLeft == 0) {
                m_eState = m_nBlockLeft > 0 ? BLOCK_BYTES : TEXT;
                if (m_nBlockLeft > m_nLimit)
                    Overrun(messages);
            }
            break;
        case BLOCK_BYTES:
            break;
        }
    }
}
