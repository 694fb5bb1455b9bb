#include "logging/LMLogEntryPool.h"

#include <new>

LMLogEntryPool& LMLogEntryPool::Instance()
{
    static LMLogEntryPool* pool = new LMLogEntryPool;
    return *pool;
}

LMLogEntry* LMLogEntryPool::Take()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (LMLogEntry* entry = m_idle.PopFront())
            return entry;
    }
    return new (std::nothrow) LMLogEntry;
}

void LMLogEntryPool::Give(LMLogEntry* entry)
{
    if (entry == nullptr)
        return;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_idle.Count() < kMaxIdle) {
            m_idle.PushBack(entry);
            return;
        }
    }
    delete entry;
}

void LMLogEntryPool::GiveChain(LMLogEntry* first)
{
    LMLogEntryQueue surplus;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        while (first != nullptr) {
            LMLogEntry* next = first->Next();
            if (m_idle.Count() < kMaxIdle)
                m_idle.PushBack(first);
            else
                surplus.PushBack(first);
            first = next;
        }
    }
    surplus.DestroyAll();
}

size_t LMLogEntryPool::IdleCount()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_idle.Count();
}

void LMLogEntryPool::Trim()
{
    LMLogEntryQueue all;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        all.Splice(m_idle);
    }
    all.DestroyAll();
}
