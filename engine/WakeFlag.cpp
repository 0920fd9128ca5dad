#include "engine/WakeFlag.h"

#include <cerrno>
#include <ctime>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

// The kernel sleeps on the state word itself: a condition variable would cost an idle worker
// a lock and its own bookkeeping on every pause.
static_assert(sizeof(std::atomic<std::uint32_t>) == sizeof(std::uint32_t) &&
              std::atomic<std::uint32_t>::is_always_lock_free);

namespace {
std::uint32_t* Word(std::atomic<std::uint32_t>& state) {
    return reinterpret_cast<std::uint32_t*>(&state);
}
} // namespace

void CWakeFlag::Raise() noexcept {
    if (m_nState.exchange(RAISED, std::memory_order_acq_rel) == SLEEPING)
        syscall(SYS_futex, Word(m_nState), FUTEX_WAKE_PRIVATE, 1, nullptr, nullptr, 0);
}

void CWakeFlag::Sleep(std::chrono::microseconds pause) noexcept {
    std::uint32_t expected = LOWERED;
    if (m_nState.compare_exchange_strong(expected, SLEEPING, std::memory_order_acq_rel)) {
        timespec until{};
        clock_gettime(CLOCK_MONOTONIC, &until);
        const long long ns = until.tv_nsec + pause.count() * 1000LL;
        until.tv_sec += static_cast<time_t>(ns / 1000000000LL);
        until.tv_nsec = static_cast<long>(ns % 1000000000LL);
        // A signal ends the kernel's wait early; only a raise or the deadline end ours.
        while (m_nState.load(std::memory_order_acquire) == SLEEPING &&
               syscall(SYS_futex, Word(m_nState), FUTEX_WAIT_BITSET_PRIVATE, SLEEPING, &until,
                       nullptr, FUTEX_BITSET_MATCH_ANY) != 0 &&
               errno != ETIMEDOUT) {
        }
    }
    m_nState.exchange(LOWERED, std::memory_order_acq_rel);
}
