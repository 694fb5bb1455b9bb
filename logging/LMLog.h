#pragma once
// The per-console log queue between producers (the communication worker,
// plug-ins, the view's own messages) and the console view that displays the
// entries. Producers call AddEntry from any thread; the view drains on its own
// thread after a notice. At most one notice is outstanding: after a notice,
// entries only queue until the view has drained the queue to empty.
//
// While onscreen logging is suppressed (a firmware update), only Info entries
// reach the screen; the five newest others are held and shown when a
// Warning, Error or Disaster (or Unsuppress) ends the suppression. The file
// log, when recording, gets every entry except Rec'd Open regardless.
//
// Back-pressure: the display queue is measured in entries and in bytes
// (text plus a fixed per-entry overhead). Once either passes its high-water
// mark the log reports itself backed up until the view has drained both below
// their low-water marks; then it tells its drain listener. Adding never
// blocks and never drops: it is the transport reader that waits (so TCP flow
// control slows the board), while the view's own messages and other
// producers carry on.
//
// Locks: one per log (both lists and the notice fields) and the pool's
// global one; never both at once.
#include "foundation/NClassInfo.h"
#include "foundation/NTimeStamp.h"
#include "logging/ILogDrainListener.h"
#include "logging/ILogFileSink.h"
#include "logging/ILogListener.h"
#include "logging/LMLogEntry.h"
#include "logging/LMLogEntryQueue.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>

class ILMLogOwner;

class LMLog : public NClassInfo {
    N_DECLARE_CLASS_INFO(LMLog)
public:
    static constexpr uint8_t kInfo = 1, kWarning = 2, kError = 3, kDisaster = 4, kRecdOpen = 7;
    static constexpr size_t kMaxSuppressed = 5;
    // The view takes the whole queue on every notice and keeps at most its
    // log depth (5000 lines by default): a queue of 16384 entries is three
    // full default depths behind, and 4 MiB per console keeps dozens of
    // flooding consoles well inside a 32-bit process. Low water at a quarter
    // lets the reader add a good batch before it checks again, so it does
    // not stop and start on every entry.
    static constexpr size_t kHighWaterEntries = 16384;
    static constexpr size_t kHighWaterBytes = 4u << 20;
    static constexpr size_t kLowWaterEntries = kHighWaterEntries / 4;
    static constexpr size_t kLowWaterBytes = kHighWaterBytes / 4;
    // What one queued entry costs besides its text, for the byte measure.
    static constexpr size_t kEntryOverhead = 64;

    // owner: the console configuration (shade marks for the file log); may be null.
    explicit LMLog(ILMLogOwner* owner = nullptr);
    ~LMLog() override;
    LMLog(const LMLog&) = delete;
    LMLog& operator=(const LMLog&) = delete;

    // Any thread. Never fails visibly: an entry that cannot be allocated is dropped.
    void AddEntry(std::wstring_view text, uint8_t kind, NTimeStamp stamp);
    // The same for text that is UTF-8 already (saves a conversion).
    void AddEntryUtf8(std::string_view text, uint8_t kind, NTimeStamp stamp);
    void AddInfo(std::wstring_view text, NTimeStamp stamp) { AddEntry(text, kInfo, stamp); }
    void AddWarning(std::wstring_view text, NTimeStamp stamp) { AddEntry(text, kWarning, stamp); }
    void AddError(std::wstring_view text, NTimeStamp stamp) { AddEntry(text, kError, stamp); }
    void AddDisaster(std::wstring_view text, NTimeStamp stamp) { AddEntry(text, kDisaster, stamp); }
    // For pointers handed back from outside (plug-ins): ignored silently
    // unless object really is a live LMLog. Never faults.
    static void AddEntryGuarded(const void* object, std::wstring_view text, uint8_t kind, NTimeStamp stamp);

    // The view, once its window exists (Win32: LMLogWindowListener::Attach
    // makes the listener for the window). Under the lock: window valid :=
    // the listener says it can deliver.
    // A listener that is null or not valid leaves the log without a notice
    // target; entries then wait in the queue.
    void SetNotifyWindow(std::unique_ptr<ILogListener> listener);

    // The view's thread. The oldest queued entry, or nullptr — which also
    // arms the next notice. Return consumed entries with LMLogEntry::Release.
    LMLogEntry* PopEntry();
    // Everything queued as one chain (oldest first, linked by Next()) in one
    // locked step; nullptr arms the next notice, as PopEntry. Return the chain
    // with LMLogEntry::ReleaseChain.
    LMLogEntry* PopAll();

    // Any thread, lock-free: the queue passed a high-water mark and has not
    // yet drained below the low-water marks.
    bool IsBackedUp() const { return m_backedUp.load(std::memory_order_acquire) != 0; }
    // The one listener told when a backed-up queue has drained; null to
    // remove. After the call returns the previous listener is not called again.
    void SetDrainListener(ILogDrainListener* listener);
    size_t QueuedBytes();

    void Suppress(std::wstring_view reason);
    void Unsuppress();
    bool IsSuppressed() const { return m_suppressed.load(std::memory_order_acquire) != 0; }

    // The file log worker's slot; null until recording is set up. Set it
    // before producers run: it is read without a lock, and the log owns it
    // (stopped and destroyed with the log).
    void SetFileLogWorker(std::unique_ptr<ILogFileSink> worker);
    ILogFileSink* FileLogWorker() const { return m_fileLog.load(std::memory_order_acquire); }

    // For tests and diagnostics.
    size_t QueuedCount();
    size_t SuppressedCount();
    bool IsNotifyArmed() const { return m_notifyArmed.load() != 0; }
    bool IsWindowValid() const { return m_windowValid.load() != 0; }

private:
    template <class Fill>
    void Add(uint8_t kind, NTimeStamp stamp, Fill fill);
    void Queue(LMLogEntry* entry);
    void RecordToFile(const LMLogEntry& entry);
    // Under m_lock: appends to the display queue and posts a notice if armed.
    void AppendDisplayLocked(LMLogEntry* entry);
    void NotifyLocked();
    // Under m_lock: after entries left the display queue.
    void DrainedLocked();
    static size_t Cost(const LMLogEntry& entry) { return entry.Text().size() + kEntryOverhead; }
    static void RemoveLineEnd(std::string& text);

    ILMLogOwner* const m_owner;
    std::mutex m_lock;
    LMLogEntryQueue m_display;     // guarded by m_lock; producers append, the view pops
    LMLogEntryQueue m_held;        // guarded by m_lock; held while suppressed, at most kMaxSuppressed
    std::unique_ptr<ILogListener> m_listener;  // guarded by m_lock; set by the view's thread
    std::atomic<uint8_t> m_windowValid{0};
    std::atomic<uint8_t> m_notifyArmed{0};
    // Written under m_lock; read without it by producers choosing a path.
    std::atomic<uint8_t> m_suppressed{0};
    std::atomic<ILogFileSink*> m_fileLog{nullptr};  // owned; set once before producers run
    size_t m_displayBytes = 0;                      // guarded by m_lock; Cost of m_display
    ILogDrainListener* m_drainListener = nullptr;   // guarded by m_lock; not owned
    std::atomic<uint8_t> m_backedUp{0};             // written under m_lock
};
