#pragma once
#include <atomic>

/// A flag taken by test-and-set: whoever finds it held is skipped, not delayed.
class CTryFlag {
public:
    /// True when the caller now holds the flag; false when someone else does.
    bool TryTake() noexcept { return !m_flag.test_and_set(std::memory_order_acquire); }
    void Release() noexcept { m_flag.clear(std::memory_order_release); }

private:
    std::atomic_flag m_flag;
};
