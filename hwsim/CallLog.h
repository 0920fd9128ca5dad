#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

/// The bounded record of library calls. Calls are stored as numbers and only turned into
/// text when read, so logging costs an idle worker next to nothing.
class CCallLog {
public:
    static constexpr std::size_t kCapacity = 8192;

    /// One call: a name and up to three integer and one floating argument.
    struct Entry {
        const char* name = "";
        double real = 0.0;
        int ints[3] = {0, 0, 0};
        std::uint8_t intCount = 0;
        bool hasReal = false; ///< The real argument follows the first integer.
    };                        // 32 bytes: two to a cache line

    void Add(const Entry& entry);
    std::vector<std::string> Lines() const;
    void Clear();

private:
    std::array<Entry, kCapacity> m_entries;
    std::size_t m_nFirst = 0;
    std::size_t m_nSize = 0;
};
