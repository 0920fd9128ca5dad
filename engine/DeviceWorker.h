#pragma once
#include <atomic>
#include <thread>

class CDDSDevice;

/// The background thread of one device: DeviceStep, then a 1 ms pause, until asked to stop.
/// A queued command or a stop request ends the pause at once, and while commands wait two steps
/// run in a row. A stop takes effect between two steps, so a step never ends half done.
class CDeviceWorker {
public:
    CDeviceWorker() = default;
    CDeviceWorker(const CDeviceWorker&) = delete;
    CDeviceWorker& operator=(const CDeviceWorker&) = delete;
    ~CDeviceWorker(); ///< Stops.

    /// Starts stepping device; a worker that already runs is stopped first.
    void Start(CDDSDevice* device);
    /// Asks the loop to stop between two steps and waits for the thread to end.
    void Stop();
    bool IsRunning() const;

private:
    std::thread m_thread;
    CDDSDevice* m_pDevice = nullptr;
    std::atomic<bool> m_bStop{false};
};
