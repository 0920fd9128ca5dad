#pragma once
#include <atomic>

/// A field shared by the user-interface thread and a device worker: each read and write is
/// atomic, with no ordering beyond that, so it reads and assigns like the plain value.
template <typename T> class CRelaxed {
public:
    CRelaxed(T value = T()) noexcept : m_value(value) {}
    CRelaxed(const CRelaxed& other) noexcept : m_value(other.Get()) {}
    CRelaxed& operator=(const CRelaxed& other) noexcept {
        Set(other.Get());
        return *this;
    }
    CRelaxed& operator=(T value) noexcept {
        Set(value);
        return *this;
    }
    operator T() const noexcept { return Get(); }
    T Get() const noexcept { return m_value.load(std::memory_order_relaxed); }
    void Set(T value) noexcept { m_value.store(value, std::memory_order_relaxed); }

private:
    std::atomic<T> m_value;
};
