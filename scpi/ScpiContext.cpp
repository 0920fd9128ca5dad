#include "scpi/ScpiContext.h"

#include "scpi/ScpiText.h"

void CScpiContext::Write(std::string_view text) {
    if (m_bWritten)
        m_strResponse += ',';
    m_strResponse += text;
    m_bWritten = true;
}

void CScpiContext::WriteNumber(double value) {
    Write(ScpiFormatNumber(value));
}

void CScpiContext::WriteString(std::string_view text) {
    Write(ScpiQuote(text));
}

void CScpiContext::WriteBlock(std::string_view bytes) {
    const std::string length = std::to_string(bytes.size());
    Write("#" + std::to_string(length.size()) + length + std::string(bytes));
}

void CScpiContext::Error(int code, std::string_view info) {
    m_vRaised.push_back({code, std::string(info)});
}
