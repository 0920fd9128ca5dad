#pragma once
// Records on the simulated bank: opened as a device view opens them, and waited on without a
// timed test (poll until a condition holds, with a limit that only guards against a hang).
#include "engine/DDSDevice.h"

#include <chrono>
#include <functional>
#include <thread>

/// Polls until done() holds or the time is up.
inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds patience = std::chrono::milliseconds(3000)) {
    const auto until = std::chrono::steady_clock::now() + patience;
    for (; !done(); std::this_thread::sleep_for(std::chrono::milliseconds(1)))
        if (std::chrono::steady_clock::now() > until)
            return false;
    return true;
}

/// Binds devices[i] to unit i of `count` simulated units and programs it once, as a view does.
inline void OpenOnSimulatedUnits(CDDSDevice* devices, int count) {
    for (int i = 0; i < count; ++i) {
        CDDSDevice::BindContext context;
        context.foundDevices = count;
        for (int other = 0; other < count; ++other)
            if (other != i)
                context.usedIndices.push_back(other);
        devices[i].BindHardware(context);
        devices[i].ApplyFrequency();
    }
}
