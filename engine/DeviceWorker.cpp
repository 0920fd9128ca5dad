#include "engine/DeviceWorker.h"
#include "engine/DDSDevice.h"

#include <chrono>

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
} // namespace

CDeviceWorker::~CDeviceWorker() {
    Stop();
}

void CDeviceWorker::Start(CDDSDevice* device) {
    Stop();
    if (device == nullptr)
        return;
    m_pDevice = device;
    m_bStop.store(false, std::memory_order_relaxed);
    m_thread = std::thread([this, device] {
        int inARow = 0;
        while (!m_bStop.load(std::memory_order_acquire)) {
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
    });
}

void CDeviceWorker::Stop() {
    if (!m_thread.joinable())
        return;
    m_bStop.store(true, std::memory_order_release);
    m_pDevice->WakeWorker();
    m_thread.join();
}

bool CDeviceWorker::IsRunning() const {
    return m_thread.joinable();
}
