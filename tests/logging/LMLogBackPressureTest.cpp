#include "logging/LMLog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "shades/LMShades.h"

namespace {

struct CountingDrain : ILogDrainListener {
    std::atomic<int> calls{0};
    void OnLogDrained() override { ++calls; }
};

void AddLines(LMLog& log, size_t count, const std::string& text = "x")
{
    for (size_t i = 0; i < count; ++i)
        log.AddEntryUtf8(text, LMShades::kReceived, NTimeStamp(1));
}

void PopAndRelease(LMLog& log, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        LMLogEntry::Release(log.PopEntry());
}

TEST(LMLogBackPressure, EntryCountBacksUpPastHighWaterAndClearsOnlyBelowLowWater)
{
    LMLog log;
    CountingDrain drain;
    log.SetDrainListener(&drain);
    AddLines(log, LMLog::kHighWaterEntries);
    EXPECT_FALSE(log.IsBackedUp());  // at the mark is not past it
    AddLines(log, 1);
    EXPECT_TRUE(log.IsBackedUp());

    // Draining to just above low water keeps it backed up and silent.
    PopAndRelease(log, LMLog::kHighWaterEntries + 1 - LMLog::kLowWaterEntries - 1);
    EXPECT_EQ(log.QueuedCount(), LMLog::kLowWaterEntries + 1);
    EXPECT_TRUE(log.IsBackedUp());
    EXPECT_EQ(drain.calls.load(), 0);
    PopAndRelease(log, 1);
    EXPECT_FALSE(log.IsBackedUp());
    EXPECT_EQ(drain.calls.load(), 1);
    // Further pops and refills below high water do not signal again.
    PopAndRelease(log, 100);
    AddLines(log, 1000);
    EXPECT_EQ(drain.calls.load(), 1);
    LMLogEntry::ReleaseChain(log.PopAll());
    EXPECT_EQ(log.QueuedBytes(), 0u);
    log.SetDrainListener(nullptr);
}

TEST(LMLogBackPressure, LongLinesBackUpByBytesAndPopAllDrainsAtOnce)
{
    LMLog log;
    CountingDrain drain;
    log.SetDrainListener(&drain);
    const std::string big(64 * 1024, 'b');
    const size_t perEntry = big.size() + LMLog::kEntryOverhead;
    size_t added = 0;
    while (!log.IsBackedUp() && added < 1000) {
        AddLines(log, 1, big);
        ++added;
    }
    EXPECT_EQ(added, LMLog::kHighWaterBytes / perEntry + 1);
    EXPECT_EQ(log.QueuedBytes(), added * perEntry);
    LMLogEntry* chain = log.PopAll();
    ASSERT_NE(chain, nullptr);
    EXPECT_FALSE(log.IsBackedUp());
    EXPECT_EQ(drain.calls.load(), 1);
    EXPECT_EQ(log.QueuedBytes(), 0u);
    LMLogEntry::ReleaseChain(chain);
    log.SetDrainListener(nullptr);
}

TEST(LMLogBackPressure, RemovedListenerIsNotCalledAndNothingIsDropped)
{
    LMLog log;
    CountingDrain drain;
    log.SetDrainListener(&drain);
    AddLines(log, LMLog::kHighWaterEntries * 2);  // adding never refuses
    EXPECT_EQ(log.QueuedCount(), LMLog::kHighWaterEntries * 2);
    log.SetDrainListener(nullptr);
    LMLogEntry::ReleaseChain(log.PopAll());
    EXPECT_FALSE(log.IsBackedUp());
    EXPECT_EQ(drain.calls.load(), 0);
}

TEST(LMLogBackPressure, HeldEntriesShownOnUnsuppressCountTowardsTheBytes)
{
    LMLog log;
    log.Suppress(L"");
    log.AddEntryUtf8("held", LMShades::kReceived, NTimeStamp(1));
    EXPECT_EQ(log.QueuedBytes(), 0u);
    log.Unsuppress();
    // The notice and the held line.
    EXPECT_EQ(log.QueuedCount(), 2u);
    EXPECT_EQ(log.QueuedBytes(), std::string("Unsuppressing onscreen logging").size() + 4 + 2 * LMLog::kEntryOverhead);
    PopAndRelease(log, 2);
    EXPECT_EQ(log.QueuedBytes(), 0u);
}

// A reader that honours the back-pressure (waits for the drain signal while
// backed up) against a slow consumer: memory stays bounded and every line
// arrives, in order.
TEST(LMLogBackPressure, ReaderWaitingForDrainKeepsTheQueueBoundedAndLosesNothing)
{
    struct Gate : ILogDrainListener {
        std::mutex lock;
        std::condition_variable cv;
        bool drained = false;
        void OnLogDrained() override
        {
            std::lock_guard<std::mutex> g(lock);
            drained = true;
            cv.notify_one();
        }
    } gate;
    LMLog log;
    log.SetDrainListener(&gate);
    constexpr int kLines = 60000;
    std::atomic<size_t> maxQueued{0};
    std::thread reader([&] {
        for (int i = 0; i < kLines; ++i) {
            if (log.IsBackedUp()) {
                std::unique_lock<std::mutex> g(gate.lock);
                // The bounded wait only guards the test against a lost signal.
                gate.cv.wait_for(g, std::chrono::seconds(5), [&] { return gate.drained || !log.IsBackedUp(); });
                gate.drained = false;
            }
            log.AddEntryUtf8(std::to_string(i), LMShades::kReceived, NTimeStamp(1));
        }
    });
    int expected = 0;
    bool inOrder = true;
    while (expected < kLines) {
        const size_t queued = log.QueuedCount();
        if (queued > maxQueued.load())
            maxQueued = queued;
        LMLogEntry* e = log.PopEntry();
        if (e == nullptr) {
            std::this_thread::yield();
            continue;
        }
        inOrder = inOrder && e->Text() == std::to_string(expected);
        ++expected;
        LMLogEntry::Release(e);
        if (expected % 64 == 0)  // slow consumer
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    reader.join();
    log.SetDrainListener(nullptr);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(expected, kLines);
    EXPECT_LE(maxQueued.load(), LMLog::kHighWaterEntries + 1);
    EXPECT_GT(maxQueued.load(), LMLog::kLowWaterEntries);  // it really backed up
}

}  // namespace
