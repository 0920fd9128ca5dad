#pragma once
#include <cstdint>

/// The pseudo-random source of the two noise waves: uniform integers 0 to 32767 from the
/// classic linear congruential recurrence. Each thread draws from its own instance, so the
/// display and a worker never share state.
class CNoiseSource {
public:
    static constexpr int kMax = 32767;

    explicit CNoiseSource(std::uint32_t seed = 1) noexcept : m_state(seed) {}

    /// The calling thread's source (seeded with 1 when the thread first draws).
    static CNoiseSource& ThisThread() noexcept;

    int Next() noexcept {
        m_state = m_state * kMultiplier + kIncrement;
        return static_cast<int>((m_state >> 16) & 0x7FFFu);
    }
    void Seed(std::uint32_t seed) noexcept { m_state = seed; }

    /// The next n draws into out, the same sequence as n calls of Next, computed eight
    /// interleaved steps at a time so the loop vectorises.
    void Fill(int* out, int n) noexcept;

    static constexpr std::uint32_t kMultiplier = 1103515245u;
    static constexpr std::uint32_t kIncrement = 12345u;

private:
    std::uint32_t m_state;
};
