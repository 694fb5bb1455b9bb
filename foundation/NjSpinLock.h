#pragma once
// The lock byte of a JSON array or object: a spin lock taken by atomic exchange.
// Held only for the few instructions of one container operation, never across a
// call into another element, so it is never taken twice by one thread and never
// nested with another element's lock.
#include <atomic>
#include <cstdint>
#include <thread>

class NjSpinLock {
public:
    void Lock() noexcept
    {
        for (unsigned spins = 0; m_byte.exchange(1, std::memory_order_acquire) != 0; ++spins) {
            // A holder preempted mid-operation would otherwise burn our whole time slice.
            if (spins >= 64)
                std::this_thread::yield();
        }
    }
    void Unlock() noexcept { m_byte.store(0, std::memory_order_release); }

private:
    std::atomic<uint8_t> m_byte{0};
};

class NjSpinGuard {
public:
    explicit NjSpinGuard(NjSpinLock& lock) noexcept : m_lock(lock) { m_lock.Lock(); }
    ~NjSpinGuard() { m_lock.Unlock(); }
    NjSpinGuard(const NjSpinGuard&) = delete;
    NjSpinGuard& operator=(const NjSpinGuard&) = delete;

private:
    NjSpinLock& m_lock;
};
