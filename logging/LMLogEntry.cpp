#include "logging/LMLogEntry.h"

#include "foundation/Utf.h"
#include "logging/LMLogEntryPool.h"

N_DEFINE_CLASS_INFO(LMLogEntry, NClassInfo)

LMLogEntry::~LMLogEntry() = default;

LMLogEntry* LMLogEntry::Create() { return LMLogEntryPool::Instance().Take(); }

void LMLogEntry::Release(LMLogEntry* entry)
{
    if (entry == nullptr)
        return;
    entry->Clear();
    LMLogEntryPool::Instance().Give(entry);
}

void LMLogEntry::ReleaseChain(LMLogEntry* first)
{
    // Clearing outside the pool's lock keeps the locked step short.
    for (LMLogEntry* e = first; e != nullptr; e = e->Next()) {
        LMLogEntry* next = e->Next();
        e->Clear();
        e->SetNext(next);
    }
    LMLogEntryPool::Instance().GiveChain(first);
}

std::wstring LMLogEntry::WideText() const { return NUtf8ToWide(m_text); }

void LMLogEntry::Clear()
{
    if (m_text.capacity() > kKeptCapacity)
        std::string().swap(m_text);
    else
        m_text.clear();
    m_kind = kNoKind;
    m_stamp = NTimeStamp();
    m_next = nullptr;
}
