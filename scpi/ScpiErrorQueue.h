#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

/// The error/event queue of one connection: oldest first, a fixed number of entries; when it
/// is full the last entry becomes -350 "Queue overflow" and later errors are lost.
class CScpiErrorQueue {
public:
    static constexpr std::size_t kCapacity = 16;

    /// The standard text of a code; an unknown code gets the text of its class.
    static const char* Text(int code);

    /// Queues code with its standard text; info, when given, follows the text after ';'.
    void Push(int code, std::string_view info = {});
    /// The oldest entry as `<code>,"<text>"`, removed; `0,"No error"` when empty.
    std::string Pop();
    std::size_t Count() const { return m_entries.size(); }
    void Clear() { m_entries.clear(); }

private:
    std::deque<std::string> m_entries;
};
