#pragma once
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

/// `count` threads that do nothing but sleep 1 ms in a loop, for as long as the object lives.
class CSleepLoops {
public:
    explicit CSleepLoops(int count) {
        for (int i = 0; i < count; ++i)
            m_threads.emplace_back([this] {
                while (!m_bStop.load(std::memory_order_acquire))
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            });
    }
    ~CSleepLoops() {
        m_bStop.store(true, std::memory_order_release);
        for (std::thread& thread : m_threads)
            thread.join();
    }
    CSleepLoops(const CSleepLoops&) = delete;
    CSleepLoops& operator=(const CSleepLoops&) = delete;

private:
    std::atomic<bool> m_bStop{false};
    std::vector<std::thread> m_threads;
};
