#pragma once
// Single atomic fields of one or four bytes: settings that several threads
// read without a lock (a store into one is seen whole by every reader).
#include <atomic>
#include <cstdint>

template <class T, size_t kSize>
class TNAtomOf {
    static_assert(sizeof(T) == kSize, "wrong width for this atomic field");

public:
    TNAtomOf() noexcept : m_value(T{}) {}
    TNAtomOf(T value) noexcept : m_value(value) {}  // NOLINT: used like the plain value
    TNAtomOf(const TNAtomOf& other) noexcept : m_value(other.Get()) {}
    TNAtomOf& operator=(const TNAtomOf& other) noexcept
    {
        Set(other.Get());
        return *this;
    }
    TNAtomOf& operator=(T value) noexcept
    {
        Set(value);
        return *this;
    }
    operator T() const noexcept { return Get(); }  // NOLINT

    T Get() const noexcept { return m_value.load(std::memory_order_acquire); }
    void Set(T value) noexcept { m_value.store(value, std::memory_order_release); }
    T Exchange(T value) noexcept { return m_value.exchange(value, std::memory_order_acq_rel); }

private:
    std::atomic<T> m_value;
};

template <class T> using TNAtom8 = TNAtomOf<T, 1>;
template <class T> using TNAtom32 = TNAtomOf<T, 4>;
