#include "engine/StepGuard.h"
#include "engine/TryFlag.h"

#include <atomic>

namespace {
CTryFlag g_stepFlag;
std::atomic<int> g_stepCount{0};
} // namespace

bool CStepGuard::TryEnter() noexcept {
    if (!g_stepFlag.TryTake())
        return false;
    g_stepCount.fetch_add(1, std::memory_order_relaxed);
    return true;
}

void CStepGuard::Leave() noexcept {
    g_stepFlag.Release();
}

int CStepGuard::Count() noexcept {
    return g_stepCount.load(std::memory_order_relaxed);
}

void CStepGuard::ResetCount() noexcept {
    g_stepCount.store(0, std::memory_order_relaxed);
}
