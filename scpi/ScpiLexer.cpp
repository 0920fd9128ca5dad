#include "scpi/ScpiLexer.h"

#include "scpi/ScpiText.h"

#include <charconv>
#include <cmath>

namespace {
bool IsAlpha(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || (c >= 0 && c < ' ' && c != '\n');
}
// Longest mnemonic IEEE 488.2 allows.
constexpr std::size_t kMaxMnemonic = 12;
} // namespace

bool CScpiLexer::AtUnitEnd() const {
    return m_nPos >= m_message.size() || m_message[m_nPos] == ';';
}

char CScpiLexer::Peek(std::size_t ahead) const {
    return m_nPos + ahead < m_message.size() ? m_message[m_nPos + ahead] : '\0';
}

void CScpiLexer::SkipSpace() {
    while (m_nPos < m_message.size() && IsSpace(m_message[m_nPos]))
        ++m_nPos;
}

bool CScpiLexer::AtEnd() {
    SkipSpace();
    return m_nPos >= m_message.size();
}

std::string CScpiLexer::ReadWord() {
    const std::size_t start = m_nPos;
    while (IsAlpha(Peek()) || IsDigit(Peek()) || Peek() == '_')
        ++m_nPos;
    return ScpiUpper(m_message.substr(start, m_nPos - start));
}

int CScpiLexer::ReadUnit(CScpiHeader& header, std::vector<CScpiToken>& params) {
    header = {};
    params.clear();
    SkipSpace();
    if (Peek() == ';') {
        ++m_nPos;
        return 0;
    }
    if (m_nPos >= m_message.size())
        return 0;
    if (const int error = ReadHeader(header))
        return error;
    if (!IsSpace(Peek()) && !AtUnitEnd())
        return -102;
    SkipSpace();
    while (!AtUnitEnd()) {
        CScpiToken token;
        if (const int error = ReadParameter(token))
            return error;
        params.push_back(std::move(token));
        SkipSpace();
        if (Peek() == ',') {
            ++m_nPos;
            SkipSpace();
            if (AtUnitEnd())
                return -102;
        } else if (!AtUnitEnd()) {
            return -103; // two parameters without a comma between them
        }
    }
    if (Peek() == ';')
        ++m_nPos;
    return 0;
}

int CScpiLexer::ReadHeader(CScpiHeader& header) {
    if (Peek() == '*') {
        ++m_nPos;
        header.m_bCommon = true;
        if (!IsAlpha(Peek()))
            return -102;
        header.m_vNodes.push_back({"*" + ReadWord(), -1});
    } else {
        if (Peek() == ':') {
            header.m_bRoot = true;
            ++m_nPos;
        }
        for (;;) {
            if (!IsAlpha(Peek()))
                return -102;
            std::string word = ReadWord();
            std::size_t digits = word.size();
            while (digits > 0 && IsDigit(word[digits - 1]))
                --digits;
            CScpiHeaderNode node{word.substr(0, digits), -1};
            if (node.m_strName.size() > kMaxMnemonic)
                return -112;
            if (digits < word.size()) {
                const std::string suffix = word.substr(digits);
                node.m_nSuffix = suffix.size() > 9 ? 0 : std::stoi(suffix);
            }
            header.m_vNodes.push_back(std::move(node));
            if (Peek() != ':')
                break;
            ++m_nPos;
        }
    }
    if (Peek() == '?') {
        header.m_bQuery = true;
        ++m_nPos;
    }
    return 0;
}

int CScpiLexer::ReadParameter(CScpiToken& token) {
    const char c = Peek();
    if (IsDigit(c) || c == '+' || c == '-' || c == '.')
        return ReadNumber(token);
    if (IsAlpha(c)) {
        token.m_eKind = CScpiToken::CHARS;
        token.m_strText = ReadWord();
        return 0;
    }
    if (c == '"' || c == '\'')
        return ReadString(token);
    if (c == '#') {
        const char base = static_cast<char>(Peek(1) & ~0x20);
        return base == 'H' || base == 'Q' || base == 'B' ? ReadNonDecimal(token) : ReadBlock(token);
    }
    return -102;
}

int CScpiLexer::ReadNumber(CScpiToken& token) {
    token.m_eKind = CScpiToken::NUMBER;
    const std::size_t start = m_nPos;
    if (Peek() == '+' || Peek() == '-')
        ++m_nPos;
    std::size_t digits = 0;
    for (; IsDigit(Peek()); ++m_nPos)
        ++digits;
    if (Peek() == '.')
        for (++m_nPos; IsDigit(Peek()); ++m_nPos)
            ++digits;
    if (digits == 0)
        return -121;
    bool negativeExponent = false;
    // An E followed by letters starts a suffix (EX is exa), not an exponent.
    const std::size_t signSkip = Peek(1) == '+' || Peek(1) == '-' ? 1 : 0;
    if ((Peek() == 'E' || Peek() == 'e') && IsDigit(Peek(1 + signSkip))) {
        negativeExponent = Peek(1) == '-';
        for (m_nPos += 1 + signSkip; IsDigit(Peek());)
            ++m_nPos;
    }
    std::string_view text = m_message.substr(start, m_nPos - start);
    if (text.front() == '+')
        text.remove_prefix(1);
    const auto result = std::from_chars(text.data(), text.data() + text.size(), token.m_dValue);
    if (result.ec == std::errc::result_out_of_range) {
        if (!negativeExponent)
            return -123;
        token.m_dValue = 0.0;
    } else if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
        return -121;
    }
    SkipSpace();
    const std::size_t unitStart = m_nPos;
    while (IsAlpha(Peek()) || Peek() == '/')
        ++m_nPos;
    token.m_strText = ScpiUpper(m_message.substr(unitStart, m_nPos - unitStart));
    return IsDigit(Peek()) || Peek() == '.' ? -121 : 0;
}

int CScpiLexer::ReadNonDecimal(CScpiToken& token) {
    token.m_eKind = CScpiToken::NUMBER;
    const char base = static_cast<char>(Peek(1) & ~0x20);
    const int radix = base == 'H' ? 16 : base == 'Q' ? 8 : 2;
    m_nPos += 2;
    const std::size_t start = m_nPos;
    while (IsDigit(Peek()) || IsAlpha(Peek()))
        ++m_nPos;
    unsigned long long value = 0;
    const char* first = m_message.data() + start;
    const char* last = m_message.data() + m_nPos;
    const auto result = std::from_chars(first, last, value, radix);
    if (first == last || result.ptr != last)
        return -121;
    if (result.ec != std::errc())
        return -123;
    token.m_dValue = static_cast<double>(value);
    return 0;
}

int CScpiLexer::ReadString(CScpiToken& token) {
    token.m_eKind = CScpiToken::STRING;
    const char quote = Peek();
    for (++m_nPos; m_nPos < m_message.size(); ++m_nPos) {
        if (m_message[m_nPos] == quote) {
            if (Peek(1) != quote) {
                ++m_nPos;
                return 0;
            }
            ++m_nPos;
        }
        token.m_strText += m_message[m_nPos];
    }
    return -150;
}

int CScpiLexer::ReadBlock(CScpiToken& token) {
    token.m_eKind = CScpiToken::BLOCK;
    ++m_nPos;
    if (!IsDigit(Peek()))
        return -160;
    const std::size_t lengthDigits = static_cast<std::size_t>(Peek() - '0');
    ++m_nPos;
    if (lengthDigits == 0) {
        // Indefinite length: the bytes run to the end of the message.
        token.m_strText = m_message.substr(m_nPos);
        m_nPos = m_message.size();
        return 0;
    }
    std::size_t length = 0;
    for (std::size_t i = 0; i < lengthDigits; ++i, ++m_nPos) {
        if (!IsDigit(Peek()))
            return -160;
        length = length * 10 + static_cast<std::size_t>(Peek() - '0');
    }
    if (length > m_message.size() - m_nPos)
        return -160;
    token.m_strText = m_message.substr(m_nPos, length);
    m_nPos += length;
    return 0;
}
