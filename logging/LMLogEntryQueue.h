#pragma once
// A first-in first-out list of entries linked through LMLogEntry::Next.
// Not locked: the owner guards it. Never allocates.
#include "logging/LMLogEntry.h"

#include <cstddef>

class LMLogEntryQueue {
public:
    bool IsEmpty() const { return m_head == nullptr; }
    size_t Count() const { return m_count; }
    LMLogEntry* Head() const { return m_head; }

    void PushBack(LMLogEntry* entry)
    {
        entry->SetNext(nullptr);
        if (m_tail != nullptr)
            m_tail->SetNext(entry);
        else
            m_head = entry;
        m_tail = entry;
        ++m_count;
    }

    LMLogEntry* PopFront()
    {
        LMLogEntry* entry = m_head;
        if (entry == nullptr)
            return nullptr;
        m_head = entry->Next();
        if (m_head == nullptr)
            m_tail = nullptr;
        entry->SetNext(nullptr);
        --m_count;
        return entry;
    }

    // Hands over the whole list as a chain (null-terminated), leaving this empty.
    LMLogEntry* TakeAll()
    {
        LMLogEntry* head = m_head;
        m_head = m_tail = nullptr;
        m_count = 0;
        return head;
    }

    // Appends all of other's entries in order, leaving other empty.
    void Splice(LMLogEntryQueue& other)
    {
        if (other.m_head == nullptr)
            return;
        if (m_tail != nullptr)
            m_tail->SetNext(other.m_head);
        else
            m_head = other.m_head;
        m_tail = other.m_tail;
        m_count += other.m_count;
        other.m_head = other.m_tail = nullptr;
        other.m_count = 0;
    }

    // Deletes every entry (for entries the log discards rather than pools).
    void DestroyAll()
    {
        while (LMLogEntry* entry = PopFront())
            delete entry;
    }

private:
    LMLogEntry* m_head = nullptr;
    LMLogEntry* m_tail = nullptr;
    size_t m_count = 0;
};
