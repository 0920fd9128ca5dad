#pragma once
// Waiting on the device workers without a timed test: poll until a condition holds, with a
// generous limit that only guards against a hang.
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
