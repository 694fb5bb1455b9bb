#include "foundation/NLock.h"

void NLock::Init(uint32_t spinCount)
{
    uint8_t expected = 0;
    if (m_initialized.load(std::memory_order_acquire) != 0)
        return;
    m_spinCount.store(spinCount, std::memory_order_relaxed);
    m_initialized.compare_exchange_strong(expected, 1, std::memory_order_acq_rel);
}

void NLock::Lock()
{
    if (!IsInitialized())
        return;
    const auto me = std::this_thread::get_id();
    if (m_owner.load(std::memory_order_acquire) == me) {
        ++m_depth;
        return;
    }
    // Spin briefly first: most holds are a few instructions long, and a
    // sleeping wait costs far more than that.
    bool taken = false;
    for (uint32_t i = SpinCount(); i > 0 && !taken; --i)
        taken = m_mutex.try_lock();
    if (!taken)
        m_mutex.lock();
    m_owner.store(me, std::memory_order_release);
    m_depth = 1;
}

bool NLock::TryLock()
{
    if (!IsInitialized())
        return true;
    const auto me = std::this_thread::get_id();
    if (m_owner.load(std::memory_order_acquire) == me) {
        ++m_depth;
        return true;
    }
    if (!m_mutex.try_lock())
        return false;
    m_owner.store(me, std::memory_order_release);
    m_depth = 1;
    return true;
}

void NLock::Unlock()
{
    if (!IsInitialized() || !IsHeldByCaller())
        return;
    if (--m_depth == 0) {
        m_owner.store(std::thread::id{}, std::memory_order_release);
        m_mutex.unlock();
    }
}

bool NLock::IsHeldByCaller() const
{
    return IsInitialized() && m_owner.load(std::memory_order_acquire) == std::this_thread::get_id();
}
