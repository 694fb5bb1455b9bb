// The log queue: line ends, coalesced notices, suppression, the file log slot,
// and guarded adds from untrusted pointers.
#include "logging/LMLog.h"

#include "LogTestDoubles.h"
#include "foundation/Utf.h"
#include "logging/LMLogEntryPool.h"
#include "logging/Utf8Append.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct SSeen {
    std::string text;
    uint8_t kind;
};

std::vector<SSeen> Drain(LMLog& log)
{
    std::vector<SSeen> seen;
    while (LMLogEntry* e = log.PopEntry()) {
        seen.push_back({e->Text(), e->Kind()});
        LMLogEntry::Release(e);
    }
    return seen;
}

// A log with a counting listener, drained once so the first notice is armed.
struct ArmedLog {
    ArmedLog()
    {
        log.SetNotifyWindow(std::make_unique<CountingListener>(notices));
        Drain(log);
    }
    std::atomic<int> notices{0};
    LMLog log;
};

const NTimeStamp kStamp(133000000000000000ull);

}  // namespace

TEST(LMLogLineEnd, RemovesOneLineEndUnlessRecdOpen)
{
    LMLog log;
    log.AddEntry(L"abc\r\n", 6, kStamp);
    log.AddEntry(L"abc\\r\\n", 6, kStamp);
    log.AddEntry(L"abc\r\n\r\n", 6, kStamp);
    log.AddEntry(L"abc\\r\\n\r\n", 6, kStamp);
    log.AddEntry(L"abc\r\n", LMLog::kRecdOpen, kStamp);
    log.AddEntry(L"abc\n", 6, kStamp);
    log.AddEntry(L"\r\n", 6, kStamp);
    log.AddEntry(L"\\r\\n", 1, kStamp);
    log.AddEntry(L"\r", 6, kStamp);
    log.AddEntry(L"", 6, kStamp);
    log.AddEntryUtf8("utf8\r\n", 6, kStamp);
    std::vector<SSeen> seen = Drain(log);
    std::vector<std::string> texts;
    for (auto& s : seen)
        texts.push_back(s.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"abc", "abc", "abc\r\n", "abc\\r\\n", "abc\r\n", "abc\n", "", "",
                                               "\r", "", "utf8"}));
}

TEST(LMLogEntryText, StoresUtf16AsUtf8LikeTheSharedConversion)
{
    for (std::wstring w : {std::wstring(L"plain"), std::wstring(L"Gr\u00fc\u00dfe \u20ac"),
                           std::wstring(L"\xD83D\xDE00 pair"), std::wstring(L"lone \xD800 high"),
                           std::wstring(L"lone \xDC00 low"), std::wstring(L"end \xD83D"), std::wstring()}) {
        std::string out = "previous content";
        NAssignUtf8(out, w);
        EXPECT_EQ(out, NWideToUtf8(w));
    }
    LMLog log;
    log.AddEntry(L"\u00e9t\u00e9", 6, kStamp);
    LMLogEntry* e = log.PopEntry();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Text(), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(e->WideText(), L"\u00e9t\u00e9");
    EXPECT_EQ(e->Stamp(), kStamp);
    LMLogEntry::Release(e);
}

TEST(LMLogNotice, OneNoticeUntilDrained)
{
    ArmedLog a;
    EXPECT_TRUE(a.log.IsNotifyArmed());
    for (int i = 0; i < 100; ++i)
        a.log.AddEntry(L"line", 6, kStamp);
    EXPECT_EQ(a.notices.load(), 1);
    // A partial drain does not re-arm.
    LMLogEntry::Release(a.log.PopEntry());
    a.log.AddEntry(L"more", 6, kStamp);
    EXPECT_EQ(a.notices.load(), 1);
    EXPECT_EQ(Drain(a.log).size(), 100u);
    a.log.AddEntry(L"after", 6, kStamp);
    EXPECT_EQ(a.notices.load(), 2);
    // PopAll: a non-empty chain does not arm, the empty answer does.
    LMLogEntry::ReleaseChain(a.log.PopAll());
    a.log.AddEntry(L"x", 6, kStamp);
    EXPECT_EQ(a.notices.load(), 2);
    LMLogEntry* chain = a.log.PopAll();
    ASSERT_NE(chain, nullptr);
    EXPECT_EQ(chain->Text(), "x");
    EXPECT_EQ(chain->Next(), nullptr);
    LMLogEntry::ReleaseChain(chain);
    EXPECT_EQ(a.log.PopAll(), nullptr);
    a.log.AddEntry(L"y", 6, kStamp);
    EXPECT_EQ(a.notices.load(), 3);
}

TEST(LMLogNotice, NoTargetMeansEntriesWait)
{
    LMLog log;
    std::atomic<int> notices{0};
    EXPECT_EQ(log.PopEntry(), nullptr);  // drained, but no window: not armed
    EXPECT_FALSE(log.IsNotifyArmed());
    log.SetNotifyWindow(std::make_unique<CountingListener>(notices, /*valid=*/false));
    EXPECT_FALSE(log.IsWindowValid());
    EXPECT_EQ(log.PopEntry(), nullptr);
    for (int i = 0; i < 10; ++i)
        log.AddEntry(L"x", 6, kStamp);
    EXPECT_EQ(notices.load(), 0);
    EXPECT_EQ(log.QueuedCount(), 10u);
    // A valid target later, then the view's first drain: the queue is shown
    // and the next entry notifies.
    log.SetNotifyWindow(std::make_unique<CountingListener>(notices));
    EXPECT_EQ(Drain(log).size(), 10u);
    log.AddEntry(L"x", 6, kStamp);
    EXPECT_EQ(notices.load(), 1);
    // Losing the target disarms.
    log.SetNotifyWindow(nullptr);
    EXPECT_FALSE(log.IsNotifyArmed());
}

TEST(LMLogNotice, FailedNoticeIsRetriedByTheNextEntry)
{
    LMLog log;
    std::atomic<int> tries{0};
    log.SetNotifyWindow(std::make_unique<CountingListener>(tries, true, /*deliver=*/false));
    Drain(log);
    log.AddEntry(L"a", 6, kStamp);
    log.AddEntry(L"b", 6, kStamp);
    EXPECT_EQ(tries.load(), 2);
    EXPECT_TRUE(log.IsNotifyArmed());
}

TEST(LMLogSuppression, HoldsTheFiveNewestUntilAWarning)
{
    ArmedLog a;
    a.log.Suppress(L"firmware update");
    std::vector<SSeen> seen = Drain(a.log);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Suppressing onscreen logging for firmware update");
    EXPECT_EQ(seen[0].kind, LMLog::kInfo);
    EXPECT_TRUE(a.log.IsSuppressed());
    int before = a.notices.load();
    for (int i = 0; i < 1000; ++i)
        a.log.AddEntry(L"rx " + std::to_wstring(i), 6, kStamp);
    EXPECT_EQ(a.notices.load(), before);
    EXPECT_EQ(a.log.QueuedCount(), 0u);
    EXPECT_EQ(a.log.SuppressedCount(), 5u);
    a.log.AddWarning(L"careful", kStamp);
    EXPECT_FALSE(a.log.IsSuppressed());
    EXPECT_EQ(a.notices.load(), before + 1);
    seen = Drain(a.log);
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen[0].text, "Unsuppressing onscreen logging");
    EXPECT_EQ(seen[0].kind, LMLog::kInfo);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(seen[1 + i].text, "rx " + std::to_string(995 + i));
    EXPECT_EQ(seen[6].text, "careful");
    EXPECT_EQ(seen[6].kind, LMLog::kWarning);
    EXPECT_EQ(a.log.SuppressedCount(), 0u);
}

TEST(LMLogSuppression, InfoPassesAndSuppressionStays)
{
    ArmedLog a;
    a.log.Suppress(L"");  // no reason: no notice entry
    EXPECT_EQ(a.log.QueuedCount(), 0u);
    a.log.AddEntry(L"rx", 6, kStamp);
    a.log.AddInfo(L"info", kStamp);
    EXPECT_TRUE(a.log.IsSuppressed());
    std::vector<SSeen> seen = Drain(a.log);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "info");
    for (uint8_t kind : {LMLog::kError, LMLog::kDisaster}) {
        a.log.Suppress(L"");
        a.log.AddEntry(L"end", kind, kStamp);
        EXPECT_FALSE(a.log.IsSuppressed());
    }
    // Unsuppress when not suppressed adds nothing.
    Drain(a.log);
    a.log.Unsuppress();
    EXPECT_EQ(a.log.QueuedCount(), 0u);
}

TEST(LMLogFile, RecordsEverythingButRecdOpenWithTheShadeMark)
{
    ShadesOwner owner;
    SLMShade row;
    LMGuid::Parse(L"0badf00d-0000-4000-8000-000000000001", row.guid);
    row.name = L"Hash";
    row.prefix = '#';
    row.SetMark("Hsh");
    row.fore = 0;
    row.back = 0xFFFFFF;
    ASSERT_EQ(owner.shades.AddOrUpdate(row), 12);
    bool stopped = false;
    {
        LMLog log(&owner);
        auto sink = std::make_unique<RecordingSink>();
        sink->stopped = &stopped;
        RecordingSink* s = sink.get();
        log.SetFileLogWorker(std::move(sink));
        log.Suppress(L"");
        log.AddEntry(L"=OK\r\n", 8, kStamp);
        log.AddEntry(L"partial", LMLog::kRecdOpen, kStamp);
        log.AddEntry(L"#user", 12, kStamp);
        log.AddEntry(L"odd", 200, kStamp);
        log.AddInfo(L"note", kStamp);
        s->running = false;
        log.AddEntry(L"not recorded", 6, kStamp);
        EXPECT_EQ(s->lines, (std::vector<std::string>{"Ack =OK", "Hsh #user", " odd", "Nfo note"}));
        EXPECT_EQ(s->stamps[0], kStamp);
        // Suppression affects only the screen.
        EXPECT_EQ(log.SuppressedCount(), 5u);
        EXPECT_EQ(log.QueuedCount(), 1u);  // only the Info entry
    }
    EXPECT_TRUE(stopped);
}

TEST(LMLogGuarded, IgnoresAnythingButALiveLog)
{
    ArmedLog a;
    LMLog::AddEntryGuarded(&a.log, L"real", 6, kStamp);
    EXPECT_EQ(a.log.QueuedCount(), 1u);

    LMLog::AddEntryGuarded(nullptr, L"x", 6, kStamp);
    LMLog::AddEntryGuarded(reinterpret_cast<void*>(1), L"x", 6, kStamp);
    LMLog::AddEntryGuarded(reinterpret_cast<void*>(511), L"x", 6, kStamp);
    LMShades notALog;
    LMLog::AddEntryGuarded(&notALog, L"x", 6, kStamp);
    std::vector<uint8_t> garbage(256, 0xC3);
    LMLog::AddEntryGuarded(garbage.data(), L"x", 6, kStamp);
    LMLog::AddEntryGuarded(garbage.data() + 3, L"x", 6, kStamp);  // misaligned
    int onStack = 0;
    LMLog::AddEntryGuarded(&onStack, L"x", 6, kStamp);
    LMLog::AddEntryGuarded(reinterpret_cast<void*>(uintptr_t{0x10000}), L"x", 6, kStamp);
    // A fake object: any vtable-like word followed by the marker.
    struct { const void* vtable; uint32_t marker; } fake{garbage.data(), NClassInfo::kMarker};
    LMLog::AddEntryGuarded(&fake, L"x", 6, kStamp);
    EXPECT_EQ(a.log.QueuedCount(), 1u);
    // A destroyed log no longer passes (its memory still holds the object).
    alignas(LMLog) unsigned char storage[sizeof(LMLog)];
    LMLog* gone = new (storage) LMLog;
    gone->~LMLog();
    LMLog::AddEntryGuarded(storage, L"x", 6, kStamp);
    EXPECT_EQ(a.log.QueuedCount(), 1u);
}

TEST(LMLogTeardown, DestroysQueuedAndHeldEntries)
{
    // Under ASan a leak or double free here fails the run.
    auto log = std::make_unique<LMLog>();
    for (int i = 0; i < 50; ++i)
        log->AddEntry(L"queued", 6, kStamp);
    log->Suppress(L"reason");
    for (int i = 0; i < 50; ++i)
        log->AddEntry(L"held", 6, kStamp);
    size_t idle = LMLogEntryPool::Instance().IdleCount();
    log.reset();
    // Discarded entries are destroyed, not pooled.
    EXPECT_EQ(LMLogEntryPool::Instance().IdleCount(), idle);
}
