#include "engine/DeviceWorker.h"
#include "engine/DDSDevice.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace {
/// The pause after a step when nothing waits; a queued command cuts it short.
constexpr std::chrono::microseconds kPause{1000};
/// The wait before trying again when a command waits but another device's step holds the
/// guard: such a step lasts microseconds, and a whole pause would double the command's delay.
constexpr std::chrono::microseconds kRetry{50};
/// Steps in a row without a pause while commands wait: a frequency and its download go
/// together, yet a queued burst is worked off with a pause after every second step, so the
/// meter, presence check and digital lines run at most twice their idle rate meanwhile.
constexpr int kStepsInARow = 2;

std::atomic<int> g_nAbandoned{0};
} // namespace

struct CDeviceWorker::CShared {
    std::atomic<bool> bStop{false};
    std::mutex lock;
    std::condition_variable ended;
    bool bEnded = false;     ///< Under lock.
    bool bAbandoned = false; ///< Under lock.
};

CDeviceWorker::~CDeviceWorker() {
    Stop();
}

void CDeviceWorker::Start(CDDSDevice* device) {
    Stop();
    if (device == nullptr)
        return;
    m_pDevice = device;
    m_pShared = std::make_shared<CShared>();
    m_thread = std::thread([shared = m_pShared, device] {
        int inARow = 0;
        while (!shared->bStop.load(std::memory_order_acquire)) {
            const bool stepped = device->DeviceStep();
            if (device->CommandWaiting()) {
                if (!stepped) {
                    device->PauseWorker(kRetry);
                    continue;
                }
                if (++inARow < kStepsInARow)
                    continue;
            }
            inARow = 0;
            device->PauseWorker(kPause);
        }
        std::lock_guard<std::mutex> lock(shared->lock);
        shared->bEnded = true;
        if (shared->bAbandoned)
            g_nAbandoned.fetch_sub(1);
        shared->ended.notify_all();
    });
}

void CDeviceWorker::Stop() {
    if (!m_thread.joinable())
        return;
    m_pShared->bStop.store(true, std::memory_order_release);
    m_pDevice->WakeWorker();
    m_thread.join();
}

bool CDeviceWorker::Stop(std::chrono::milliseconds patience) {
    if (!m_thread.joinable())
        return true;
    m_pShared->bStop.store(true, std::memory_order_release);
    m_pDevice->WakeWorker();
    {
        std::unique_lock<std::mutex> lock(m_pShared->lock);
        if (!m_pShared->ended.wait_for(lock, patience, [this] { return m_pShared->bEnded; })) {
            m_pShared->bAbandoned = true;
            g_nAbandoned.fetch_add(1);
            m_thread.detach();
            return false;
        }
    }
    m_thread.join();
    return true;
}

bool CDeviceWorker::IsRunning() const {
    return m_thread.joinable();
}

int CDeviceWorker::Abandoned() {
    return g_nAbandoned.load();
}

void CDeviceWorker::ExitIfAbandoned(int result) {
    if (Abandoned() > 0) {
        std::fflush(nullptr);
        std::_Exit(result);
    }
}
