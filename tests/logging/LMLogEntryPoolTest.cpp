// The spare-entry pool: reuse, the fresh state, and its bounds.
#include "logging/LMLogEntryPool.h"

#include "logging/LMLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(LMLogEntryPool, ReusesTheOldestIdleEntry)
{
    LMLogEntryPool& pool = LMLogEntryPool::Instance();
    pool.Trim();
    ASSERT_EQ(pool.IdleCount(), 0u);
    LMLogEntry* a = LMLogEntry::Create();
    LMLogEntry* b = LMLogEntry::Create();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(NClassInfo::IsA(a, LMLogEntry::ms_classDesc));
    a->MutableText() = "some text that is longer than the small-string buffer";
    a->SetKind(6);
    a->SetStamp(NTimeStamp(42));
    LMLogEntry::Release(a);
    LMLogEntry::Release(b);
    EXPECT_EQ(pool.IdleCount(), 2u);
    LMLogEntry* c = LMLogEntry::Create();
    EXPECT_EQ(c, a);  // oldest first
    EXPECT_TRUE(c->Text().empty());
    EXPECT_EQ(c->Kind(), LMLogEntry::kNoKind);
    EXPECT_EQ(c->Stamp(), NTimeStamp());
    EXPECT_GE(c->Text().capacity(), 50u);  // the buffer is kept for the next line
    LMLogEntry::Release(c);
    LMLogEntry::Release(nullptr);
    pool.Trim();
}

TEST(LMLogEntryPool, FreesHugeTextBuffers)
{
    LMLogEntry* e = LMLogEntry::Create();
    e->MutableText().assign(100000, 'x');
    LMLogEntry::Release(e);
    LMLogEntryPool::Instance().Trim();
    e = LMLogEntry::Create();
    e->MutableText().assign(100000, 'x');
    e->Clear();
    EXPECT_LE(e->Text().capacity(), LMLogEntry::kKeptCapacity);
    LMLogEntry::Release(e);
}

TEST(LMLogEntryPool, SteadyStreamUsesTheSameEntries)
{
    LMLogEntryPool& pool = LMLogEntryPool::Instance();
    pool.Trim();
    LMLog log;
    for (int i = 0; i < 64; ++i)
        log.AddEntry(L"warm-up line of eighty characters or so, to size the text buffers.........", 6, NTimeStamp(1));
    LMLogEntry::ReleaseChain(log.PopAll());
    EXPECT_EQ(pool.IdleCount(), 64u);
    std::vector<LMLogEntry*> seen;
    for (int round = 0; round < 100; ++round) {
        for (int i = 0; i < 64; ++i)
            log.AddEntry(L"a line of eighty characters or so, to check that buffers are reused.........", 6, NTimeStamp(1));
        LMLogEntry* chain = log.PopAll();
        if (round == 0)
            for (LMLogEntry* e = chain; e != nullptr; e = e->Next())
                seen.push_back(e);
        LMLogEntry::ReleaseChain(chain);
    }
    // No entry was created beyond the 64 of the warm-up.
    EXPECT_EQ(pool.IdleCount(), 64u);
    std::vector<LMLogEntry*> now;
    for (int i = 0; i < 64; ++i)
        now.push_back(LMLogEntry::Create());
    std::sort(seen.begin(), seen.end());
    std::vector<LMLogEntry*> sorted = now;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, seen);
    for (LMLogEntry* e : now)
        LMLogEntry::Release(e);
    pool.Trim();
}

TEST(LMLogEntryPool, IdleEntriesAreBounded)
{
    LMLogEntryPool& pool = LMLogEntryPool::Instance();
    pool.Trim();
    LMLog log;
    const size_t burst = LMLogEntryPool::kMaxIdle + 1000;
    for (size_t i = 0; i < burst; ++i)
        log.AddEntry(L"burst", 6, NTimeStamp(1));
    EXPECT_EQ(log.QueuedCount(), burst);
    LMLogEntry::ReleaseChain(log.PopAll());
    EXPECT_EQ(pool.IdleCount(), LMLogEntryPool::kMaxIdle);
    LMLogEntry* extra = new LMLogEntry;
    LMLogEntry::Release(extra);  // beyond the bound: destroyed
    EXPECT_EQ(pool.IdleCount(), LMLogEntryPool::kMaxIdle);
    pool.Trim();
}
