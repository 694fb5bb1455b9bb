#pragma once
// One log entry: UTF-8 text, a one-byte kind (the row of the console's shade
// set) and a local time stamp. Entries are recycled through LMLogEntryPool:
// make them with Create and hand consumed ones back with Release, never with
// delete, so that the steady stream of received lines allocates nothing.
#include "foundation/NClassInfo.h"
#include "foundation/NTimeStamp.h"

#include <cstdint>
#include <string>
#include <string_view>

class LMLogEntry : public NClassInfo {
    N_DECLARE_CLASS_INFO(LMLogEntry)
public:
    static constexpr uint8_t kNoKind = 255;  // idle in the pool

    // Takes the oldest idle entry from the pool, or allocates one; nullptr
    // when memory is exhausted. A fresh entry: empty text, kind 255, stamp 0.
    static LMLogEntry* Create();
    // Clears the entry and returns it to the pool. Null is ignored.
    static void Release(LMLogEntry* entry);
    // Releases a whole chain linked through Next().
    static void ReleaseChain(LMLogEntry* first);

    LMLogEntry() = default;
    ~LMLogEntry() override;
    LMLogEntry(const LMLogEntry&) = delete;
    LMLogEntry& operator=(const LMLogEntry&) = delete;

    const std::string& Text() const { return m_text; }  // UTF-8
    std::wstring WideText() const;                       // UTF-16
    uint8_t Kind() const { return m_kind; }
    NTimeStamp Stamp() const { return m_stamp; }

    std::string& MutableText() { return m_text; }
    void SetKind(uint8_t kind) { m_kind = kind; }
    void SetStamp(NTimeStamp stamp) { m_stamp = stamp; }

    // Back to the fresh state. Keeps a small text buffer for reuse, frees a
    // large one so that one huge line does not pin its memory in the pool.
    void Clear();

    // Link of whichever list holds the entry (log queue, pool or a chain
    // handed to the consumer); an entry is in at most one list at a time.
    LMLogEntry* Next() const { return m_next; }
    void SetNext(LMLogEntry* next) { m_next = next; }

    // Texts up to this capacity keep their buffer across reuse.
    static constexpr size_t kKeptCapacity = 512;

private:
    std::string m_text;
    uint8_t m_kind = kNoKind;
    NTimeStamp m_stamp;
    LMLogEntry* m_next = nullptr;
};
