#pragma once
// The lock object: a recursive lock that must be initialised before use.
// Taking or releasing a lock that was never initialised does nothing, so
// objects whose lock is set up late (or failed to set up) stay usable on one
// thread. Releasing a lock that the calling thread does not hold is ignored
// rather than corrupting the lock.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

class NLock {
public:
    static constexpr uint32_t kDefaultSpinCount = 4000;

    NLock() = default;
    explicit NLock(uint32_t spinCount) { Init(spinCount); }
    NLock(const NLock&) = delete;
    NLock& operator=(const NLock&) = delete;

    // Makes the lock usable; a second call keeps the first spin count.
    void Init(uint32_t spinCount = kDefaultSpinCount);
    bool IsInitialized() const { return m_initialized.load(std::memory_order_acquire) != 0; }
    uint32_t SpinCount() const { return m_spinCount.load(std::memory_order_relaxed); }

    void Lock();
    // True when the lock was taken, or when it is not initialised (nothing to take).
    bool TryLock();
    void Unlock();
    // True when the calling thread holds the lock.
    bool IsHeldByCaller() const;

private:
    std::atomic<uint8_t> m_initialized{0};
    std::atomic<uint32_t> m_spinCount{0};
    std::mutex m_mutex;
    // Written only by the holder while it holds m_mutex; read by any thread to
    // learn whether it is the holder.
    std::atomic<std::thread::id> m_owner{};
    uint32_t m_depth = 0;  // holder's thread only
};

// Holds an NLock for a scope. A null lock is allowed and guards nothing.
class NLockGuard {
public:
    explicit NLockGuard(NLock& lock) : m_lock(&lock) { m_lock->Lock(); }
    explicit NLockGuard(NLock* lock) : m_lock(lock)
    {
        if (m_lock != nullptr)
            m_lock->Lock();
    }
    ~NLockGuard()
    {
        if (m_lock != nullptr)
            m_lock->Unlock();
    }
    NLockGuard(const NLockGuard&) = delete;
    NLockGuard& operator=(const NLockGuard&) = delete;

private:
    NLock* m_lock;
};
