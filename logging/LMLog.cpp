#include "logging/LMLog.h"

#include "logging/ILMLogOwner.h"
#include "logging/Utf8Append.h"
#include "shades/LMShades.h"

#include <new>

N_DEFINE_CLASS_INFO(LMLog, NClassInfo)

LMLog::LMLog(ILMLogOwner* owner) : m_owner(owner) {}

LMLog::~LMLog()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_display.DestroyAll();
        m_displayBytes = 0;
        m_held.DestroyAll();
        m_notifyArmed.store(0);
        m_suppressed.store(0);
    }
    if (ILogFileSink* worker = m_fileLog.exchange(nullptr)) {
        worker->Stop();
        delete worker;
    }
}

template <class Fill>
void LMLog::Add(uint8_t kind, NTimeStamp stamp, Fill fill)
{
    LMLogEntry* entry = LMLogEntry::Create();
    if (entry == nullptr)
        return;
    try {
        fill(entry->MutableText());
    } catch (...) {
        // Out of memory for the text: the entry is dropped, the producer goes on.
        LMLogEntry::Release(entry);
        return;
    }
    if (kind != kRecdOpen)
        RemoveLineEnd(entry->MutableText());
    entry->SetKind(kind);
    entry->SetStamp(stamp);
    Queue(entry);
}

void LMLog::AddEntry(std::wstring_view text, uint8_t kind, NTimeStamp stamp)
{
    if (NIsBadObjectPtr(this))
        return;
    Add(kind, stamp, [text](std::string& out) { NAssignUtf8(out, text); });
}

void LMLog::AddEntryUtf8(std::string_view text, uint8_t kind, NTimeStamp stamp)
{
    if (NIsBadObjectPtr(this))
        return;
    Add(kind, stamp, [text](std::string& out) { out.assign(text.data(), text.size()); });
}

void LMLog::AddEntryGuarded(const void* object, std::wstring_view text, uint8_t kind, NTimeStamp stamp)
{
    // LMLog has NClassInfo as its only base, so the object and its class
    // header share one address.
    if (!NClassInfo::IsA(object, ms_classDesc))
        return;
    static_cast<LMLog*>(const_cast<void*>(object))->AddEntry(text, kind, stamp);
}

void LMLog::RemoveLineEnd(std::string& text)
{
    size_t n = text.size();
    if (n >= 4 && text.compare(n - 4, 4, "\\r\\n") == 0)
        text.resize(n - 4);
    else if (n >= 2 && text[n - 2] == '\r' && text[n - 1] == '\n')
        text.resize(n - 2);
}

void LMLog::RecordToFile(const LMLogEntry& entry)
{
    ILogFileSink* worker = m_fileLog.load(std::memory_order_acquire);
    if (worker == nullptr || entry.Kind() == kRecdOpen || !worker->IsRunning())
        return;
    std::string_view mark;
    const LMShades* shades = m_owner != nullptr ? m_owner->CurrentShades() : nullptr;
    if (shades != nullptr && entry.Kind() < shades->RowCount())
        mark = shades->Row(entry.Kind()).Mark();
    worker->WriteLine(mark, entry.Text(), entry.Stamp());
}

void LMLog::Queue(LMLogEntry* entry)
{
    RecordToFile(*entry);
    const uint8_t kind = entry->Kind();
    if (kind == kInfo) {
        std::lock_guard<std::mutex> guard(m_lock);
        AppendDisplayLocked(entry);
        return;
    }
    if (kind == kWarning || kind == kError || kind == kDisaster)
        Unsuppress();
    LMLogEntryQueue dropped;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        // Decided under the lock: a producer that saw "suppressed" just before
        // another thread unsuppressed would otherwise strand its entry in the
        // held list until the next suppression.
        if (m_suppressed.load(std::memory_order_relaxed) != 0) {
            m_held.PushBack(entry);
            while (m_held.Count() > kMaxSuppressed)
                dropped.PushBack(m_held.PopFront());
        } else {
            AppendDisplayLocked(entry);
        }
    }
    dropped.DestroyAll();
}

void LMLog::AppendDisplayLocked(LMLogEntry* entry)
{
    m_displayBytes += Cost(*entry);
    m_display.PushBack(entry);
    if (m_display.Count() > kHighWaterEntries || m_displayBytes > kHighWaterBytes)
        m_backedUp.store(1, std::memory_order_release);
    NotifyLocked();
}

void LMLog::DrainedLocked()
{
    if (m_backedUp.load(std::memory_order_relaxed) == 0)
        return;
    if (m_display.Count() > kLowWaterEntries || m_displayBytes > kLowWaterBytes)
        return;
    m_backedUp.store(0, std::memory_order_release);
    if (m_drainListener != nullptr)
        m_drainListener->OnLogDrained();
}

void LMLog::SetDrainListener(ILogDrainListener* listener)
{
    if (NIsBadObjectPtr(this))
        return;
    std::lock_guard<std::mutex> guard(m_lock);
    m_drainListener = listener;
}

size_t LMLog::QueuedBytes()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_displayBytes;
}

void LMLog::NotifyLocked()
{
    if (m_notifyArmed.exchange(0) != 0 && m_listener != nullptr && !m_listener->Notify(*this))
        m_notifyArmed.store(1);
}

void LMLog::SetNotifyWindow(std::unique_ptr<ILogListener> listener)
{
    // Both the replaced and a refused listener are destroyed after the lock.
    std::unique_ptr<ILogListener> old;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        bool valid = listener != nullptr && listener->IsValid();
        old = std::move(m_listener);
        if (valid)
            m_listener = std::move(listener);
        else
            m_notifyArmed.store(0);
        m_windowValid.store(valid ? 1 : 0);
    }
}

LMLogEntry* LMLog::PopEntry()
{
    if (NIsBadObjectPtr(this))
        return nullptr;
    std::lock_guard<std::mutex> guard(m_lock);
    LMLogEntry* entry = m_display.PopFront();
    if (entry == nullptr) {
        m_notifyArmed.store(m_windowValid.load());
        m_displayBytes = 0;
    } else {
        const size_t cost = Cost(*entry);
        m_displayBytes = cost < m_displayBytes ? m_displayBytes - cost : 0;
    }
    DrainedLocked();
    return entry;
}

LMLogEntry* LMLog::PopAll()
{
    if (NIsBadObjectPtr(this))
        return nullptr;
    std::lock_guard<std::mutex> guard(m_lock);
    LMLogEntry* chain = m_display.TakeAll();
    if (chain == nullptr)
        m_notifyArmed.store(m_windowValid.load());
    m_displayBytes = 0;
    DrainedLocked();
    return chain;
}

void LMLog::Suppress(std::wstring_view reason)
{
    if (NIsBadObjectPtr(this))
        return;
    if (!reason.empty())
        AddInfo(std::wstring(L"Suppressing onscreen logging for ").append(reason), NTimeStamp::LocalNow());
    std::lock_guard<std::mutex> guard(m_lock);
    m_suppressed.store(1);
}

void LMLog::Unsuppress()
{
    if (NIsBadObjectPtr(this) || m_suppressed.load(std::memory_order_acquire) == 0)
        return;
    // The notice is made and recorded first, then shown, with the held
    // entries after it, in one locked step so that nothing slips in between.
    LMLogEntry* note = LMLogEntry::Create();
    if (note != nullptr) {
        try {
            note->MutableText() = "Unsuppressing onscreen logging";
        } catch (...) {
            LMLogEntry::Release(note);
            note = nullptr;
        }
    }
    if (note != nullptr) {
        note->SetKind(kInfo);
        note->SetStamp(NTimeStamp::LocalNow());
        RecordToFile(*note);
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_suppressed.load(std::memory_order_relaxed) != 0) {
            m_suppressed.store(0);
            if (note != nullptr)
                AppendDisplayLocked(note);
            note = nullptr;
            for (LMLogEntry* e = m_held.Head(); e != nullptr; e = e->Next())
                m_displayBytes += Cost(*e);
            m_display.Splice(m_held);
            NotifyLocked();
        }
    }
    // Another thread unsuppressed first and showed its own notice.
    LMLogEntry::Release(note);
}

void LMLog::SetFileLogWorker(std::unique_ptr<ILogFileSink> worker)
{
    ILogFileSink* old = m_fileLog.exchange(worker.release());
    if (old != nullptr) {
        old->Stop();
        delete old;
    }
}

size_t LMLog::QueuedCount()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_display.Count();
}

size_t LMLog::SuppressedCount()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_held.Count();
}
