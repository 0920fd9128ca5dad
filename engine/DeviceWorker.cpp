#include "engine/DeviceWorker.h"
#include "engine/DDSDevice.h"

#include <chrono>

namespace {
constexpr std::chrono::milliseconds kPause{1};
} // namespace

CDeviceWorker::~CDeviceWorker() {
    Stop();
}

void CDeviceWorker::Start(CDDSDevice* device) {
    Stop();
    if (device == nullptr)
        return;
    m_bStop.store(false, std::memory_order_relaxed);
    m_thread = std::thread([this, device] {
        while (!m_bStop.load(std::memory_order_acquire)) {
            device->DeviceStep();
            std::this_thread::sleep_for(kPause);
        }
    });
}

void CDeviceWorker::Stop() {
    if (!m_thread.joinable())
        return;
    m_bStop.store(true, std::memory_order_release);
    m_thread.join();
}

bool CDeviceWorker::IsRunning() const {
    return m_thread.joinable();
}
