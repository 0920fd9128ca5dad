#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Cuts the bytes of a connection into program messages at each newline, however the bytes
/// arrive. A newline inside a definite-length block's bytes belongs to the block. A message
/// or block longer than the limit is dropped whole: the buffer skips to the newline after it
/// (past a too-long block's declared bytes) and reports one overrun.
class CScpiInputBuffer {
public:
    static constexpr std::size_t kDefaultLimit = 1 << 20;

    void SetLimit(std::size_t limit) { m_nLimit = limit; }
    std::size_t Limit() const { return m_nLimit; }

    /// Appends bytes; each complete message (without its newline and a CR before it) goes to
    /// messages, and an empty entry in its place for each one dropped as too long.
    void Append(std::string_view bytes, std::vector<std::optional<std::string>>& messages);
    /// Forgets a partial message.
    void Clear();
    /// Bytes of the partial message held.
    std::size_t Size() const { return m_strLine.size(); }

private:
    enum State { TEXT, QUOTED, HASH, BLOCK_LENGTH, BLOCK_BYTES };

    void Overrun(std::vector<std::optional<std::string>>& messages);

    std::size_t m_nLimit = kDefaultLimit;
    std::string m_strLine;
    bool m_bDiscarding = false;
    State m_eState = TEXT;
    char m_cQuote = 0;
    std::size_t m_nDigitsLeft = 0;
    std::size_t m_nBlockLeft = 0;
};
