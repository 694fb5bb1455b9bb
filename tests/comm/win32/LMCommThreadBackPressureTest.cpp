// The worker against a view that falls behind: it must stop reading rather
// than let the log grow, keep serving requests and Stop meanwhile, and lose
// nothing once the view catches up.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "comm/ILMCommConfig.h"
#include "comm/LMRequestCodes.h"
#include "comm/win32/ILMCommTransport.h"
#include "comm/win32/LMCommThread.h"
#include "foundation/win32/Handles.h"
#include "logging/LMLog.h"
#include "shades/LMShades.h"

namespace {

struct TcpConfig : ILMCommConfig {
    LMShades shades;
    uint32_t ConMode() const override { return 0; }
    std::wstring HostPort() const override { return L"board:23"; }
    std::wstring DevAddr() const override { return {}; }
    std::wstring ComPort() const override { return {}; }
    std::wstring SerMode() const override { return {}; }
    std::wstring AltMode() const override { return {}; }
    uint32_t RxTerm() const override { return 1; }  // LF
    uint32_t RxWrap() const override { return 80; }
    uint32_t RxTimeoutMs() const override { return 0; }
    uint32_t TxTerm() const override { return 0; }
    bool IgnoreNDE() const override { return false; }
    const LMShades* Shades() const override { return &shades; }
    std::wstring DevAddrOfComPort(std::wstring_view) const override { return {}; }
    std::wstring ComPortOfDevAddr(std::wstring_view) const override { return {}; }
};

// A peer that sends numbered lines "00000000\n" ... as fast as they are read,
// up to a total, then has nothing more. Its event stays set while it has more.
struct NumberedPeer {
    NEventHandle event = NEventHandle::Make(true, true);
    std::atomic<uint64_t> nextLine{0};
    uint64_t total = 0;
    std::atomic<long> reads{0};
    std::mutex lock;
    std::string sent;  // guarded by lock
};

class NumberedTransport : public ILMCommTransport {
public:
    explicit NumberedTransport(NumberedPeer& peer) : m_peer(peer) {}
    HANDLE Event() const override { return m_peer.event.Get(); }
    int Receive(void* buffer, int length) override
    {
        ++m_peer.reads;
        char* out = static_cast<char*>(buffer);
        int used = 0;
        while (used + 9 <= length && m_peer.nextLine.load() < m_peer.total) {
            char line[16];
            std::snprintf(line, sizeof line, "%08llu\n", static_cast<unsigned long long>(m_peer.nextLine.load()));
            std::memcpy(out + used, line, 9);
            used += 9;
            ++m_peer.nextLine;
        }
        if (used > 0)
            return used;
        m_peer.event.Reset();
        m_error = kWouldBlock;
        return -1;
    }
    bool SendAll(const void* data, size_t size) override
    {
        std::lock_guard<std::mutex> g(m_peer.lock);
        m_peer.sent.append(static_cast<const char*>(data), size);
        return true;
    }
    int LastError() const override { return m_error; }
    std::wstring PeerName() const override { return L"10.0.0.9:23"; }

private:
    NumberedPeer& m_peer;
    int m_error = 0;
};

class NumberedWorker : public LMCommThread {
public:
    NumberedWorker(ILMCommConfig* config, LMLog* log, NumberedPeer& peer) : LMCommThread(config, log), m_peer(peer) {}
    ~NumberedWorker() override { Stop(INFINITE); }

protected:
    bool OpenTransport(DWORD& exitCode) override
    {
        exitCode = 0;
        AdoptTransport(std::make_unique<NumberedTransport>(m_peer));
        return true;
    }

private:
    NumberedPeer& m_peer;
};

// Lines one 64 KiB read can add at most past the high-water mark.
constexpr size_t kOneRead = 65536 / 9 + 1;

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST(LMCommThreadBackPressure, ViewThatStopsDrainingStopsTheReadingButNotRequestsOrStop)
{
    TcpConfig config;
    LMLog log;
    NumberedPeer peer;
    peer.total = 10'000'000;  // more than ever fits
    NumberedWorker worker(&config, &log, peer);
    ASSERT_TRUE(worker.Connect(false));
    // Nobody drains: the worker must give up reading after about the mark.
    ASSERT_TRUE(WaitUntil([&] { return worker.ThrottleCount() > 0; })) << log.QueuedCount();
    const long readsWhenStopped = peer.reads.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LE(peer.reads.load(), readsWhenStopped + 1);
    EXPECT_LE(log.QueuedCount(), LMLog::kHighWaterEntries + kOneRead + 8);
    EXPECT_LE(log.QueuedBytes(), LMLog::kHighWaterBytes + kOneRead * (9 + LMLog::kEntryOverhead));

    // Requests are still served while the reading waits.
    worker.PostRequest(lmreq::kUserCommand, L"status");
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard<std::mutex> g(peer.lock);
        return peer.sent == "status\r";
    }));
    EXPECT_EQ(worker.m_state.load(), LMCommThread::kConnected);

    // And Stop is prompt (a hang guard: the waits are bounded by a second).
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(worker.Disconnect());
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(3));
    EXPECT_EQ(worker.m_state.load(), LMCommThread::kIdle);
}

TEST(LMCommThreadBackPressure, SlowViewGetsEveryLineInOrderWithTheQueueBounded)
{
    TcpConfig config;
    LMLog log;
    NumberedPeer peer;
    peer.total = 300'000;
    NumberedWorker worker(&config, &log, peer);
    ASSERT_TRUE(worker.Connect(false));

    uint64_t expected = 0;
    size_t maxQueued = 0;
    bool inOrder = true;
    std::string firstBad;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (expected < peer.total && std::chrono::steady_clock::now() < until) {
        maxQueued = std::max(maxQueued, log.QueuedCount());
        // A view that takes a few hundred lines and then paints for a while.
        for (int i = 0; i < 500; ++i) {
            LMLogEntry* e = log.PopEntry();
            if (e == nullptr)
                break;
            if (e->Kind() == LMShades::kReceived) {
                char want[16];
                std::snprintf(want, sizeof want, "%08llu", static_cast<unsigned long long>(expected));
                if (inOrder && e->Text() != want) {
                    inOrder = false;
                    firstBad = e->Text() + " for " + want;
                }
                ++expected;
            }
            LMLogEntry::Release(e);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(expected, peer.total);
    EXPECT_TRUE(inOrder) << firstBad;
    EXPECT_GT(worker.ThrottleCount(), 0u);  // the view really was too slow
    EXPECT_LE(maxQueued, LMLog::kHighWaterEntries + kOneRead + 8);
    ASSERT_TRUE(worker.Disconnect());
}

}  // namespace
