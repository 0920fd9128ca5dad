#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>

/// A flag one thread raises and another sleeps on: a pause that a raise cuts short. Raising
/// never blocks, and costs a system call only while the other thread sleeps.
class CWakeFlag {
public:
    /// Ends the current or the next Sleep at once.
    void Raise() noexcept;
    /// Sleeps until raised or until the time is up, then lowers the flag.
    void Sleep(std::chrono::microseconds pause) noexcept;

private:
    enum : std::uint32_t { LOWERED, RAISED, SLEEPING };
    std::atomic<std::uint32_t> m_nState{LOWERED}; ///< Also the word the kernel sleeps on.
};
