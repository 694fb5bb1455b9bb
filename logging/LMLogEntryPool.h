#pragma once
// The process-wide list of idle log entries, oldest first, under its own
// lock. Never held together with a log's lock.
//
// Bounded: beyond kMaxIdle idle entries, returned ones are destroyed, so a
// burst that queued a million lines before the view drained does not keep a
// million idle entries for the rest of the run.
#include "logging/LMLogEntry.h"
#include "logging/LMLogEntryQueue.h"

#include <cstddef>
#include <mutex>

class LMLogEntryPool {
public:
    static constexpr size_t kMaxIdle = 16384;

    // The one pool. Never destroyed: entries may come back during static
    // destruction, and everything idle stays reachable (no leak report).
    static LMLogEntryPool& Instance();

    // Oldest idle entry, or a new one; nullptr when memory is exhausted.
    LMLogEntry* Take();
    // The entry must be cleared already (LMLogEntry::Release does it).
    void Give(LMLogEntry* entry);
    // A cleared chain in one locked step.
    void GiveChain(LMLogEntry* first);

    size_t IdleCount();
    // Destroys every idle entry (tests; low-memory handling).
    void Trim();

private:
    LMLogEntryPool() = default;

    std::mutex m_lock;
    LMLogEntryQueue m_idle;  // guarded by m_lock
};
