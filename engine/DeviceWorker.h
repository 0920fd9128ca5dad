#pragma once
#include <atomic>
#include <chrono>
#include <memory>
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
    /// As Stop, but waits no longer than patience: a thread still inside its step then (a
    /// driver call that hangs) is abandoned, ends by itself after that step, and false is
    /// returned. Its device must then outlive the process or the step, whichever ends first.
    bool Stop(std::chrono::milliseconds patience);
    bool IsRunning() const;

    /// Abandoned threads still inside a step; the process must not run its exit handlers
    /// under them.
    static int Abandoned();
    /// Ends the process with result at once while an abandoned thread is still inside a step:
    /// the exit handlers would unload what it stands in, and the driver may never give it
    /// back. Returns when there is none.
    static void ExitIfAbandoned(int result);

private:
    /// What the thread and its owner share; the thread keeps it after being abandoned.
    struct CShared;

    std::thread m_thread;
    CDDSDevice* m_pDevice = nullptr;
    std::shared_ptr<CShared> m_pShared;
};
