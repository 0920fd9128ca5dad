#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

/// One node of a received header: mnemonic in capitals and its numeric suffix.
struct CScpiHeaderNode {
    std::string m_strName;
    /// -1 when none was given; 0 when the digits were 0 or too many.
    int m_nSuffix = -1;
};

/// A received header: ":SOUR2:FREQ?" or "*IDN?".
struct CScpiHeader {
    std::vector<CScpiHeaderNode> m_vNodes;
    bool m_bRoot = false;
    bool m_bCommon = false;
    bool m_bQuery = false;
};

/// A parameter as written, before the command says what it should be.
struct CScpiToken {
    enum Kind { NUMBER, CHARS, STRING, BLOCK };
    Kind m_eKind = NUMBER;
    double m_dValue = 0.0;
    /// Number: its suffix in capitals; Chars: the word in capitals; String/Block: contents.
    std::string m_strText;
};

/// Reads the program message units of one message (a line without its terminator).
class CScpiLexer {
public:
    explicit CScpiLexer(std::string_view message, std::size_t position = 0)
        : m_message(message), m_nPos(position) {}

    bool AtEnd();
    std::size_t Position() const { return m_nPos; }

    /// Reads one unit up to and past its ';'. Returns 0 or the error code; an empty unit
    /// leaves header without nodes.
    int ReadUnit(CScpiHeader& header, std::vector<CScpiToken>& params);

private:
    int ReadHeader(CScpiHeader& header);
    int ReadParameter(CScpiToken& token);
    int ReadNumber(CScpiToken& token);
    int ReadNonDecimal(CScpiToken& token);
    int ReadString(CScpiToken& token);
    int ReadBlock(CScpiToken& token);
    std::string ReadWord();
    void SkipSpace();
    bool AtUnitEnd() const;
    char Peek(std::size_t ahead = 0) const;

    std::string_view m_message;
    std::size_t m_nPos;
};
