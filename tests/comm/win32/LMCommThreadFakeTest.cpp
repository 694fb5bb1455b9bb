// The worker driven by a test double of its transport.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "comm/ILMCommConfig.h"
#include "comm/LMRequestCodes.h"
#include "comm/win32/ILMCommTransport.h"
#include "comm/win32/LMCommThread.h"
#include "foundation/Utf.h"
#include "foundation/win32/Handles.h"
#include "logging/LMLog.h"
#include "shades/LMShades.h"

namespace {

struct FakeConfig : ILMCommConfig {
    uint32_t rxTerm = 4, rxWrap = 80, rxTO = 0, txTerm = 0;
    LMShades shades;
    uint32_t ConMode() const override { return 0; }
    std::wstring HostPort() const override { return L"fake:23"; }
    std::wstring DevAddr() const override { return {}; }
    std::wstring ComPort() const override { return {}; }
    std::wstring SerMode() const override { return {}; }
    std::wstring AltMode() const override { return {}; }
    uint32_t RxTerm() const override { return rxTerm; }
    uint32_t RxWrap() const override { return rxWrap; }
    uint32_t RxTimeoutMs() const override { return rxTO; }
    uint32_t TxTerm() const override { return txTerm; }
    bool IgnoreNDE() const override { return false; }
    const LMShades* Shades() const override { return &shades; }
    std::wstring DevAddrOfComPort(std::wstring_view) const override { return {}; }
    std::wstring ComPortOfDevAddr(std::wstring_view) const override { return {}; }
};

// Shared with the test thread; the worker owns the transport object itself.
struct FakeWire {
    NEventHandle event = NEventHandle::Make(true, false);
    std::mutex lock;
    std::deque<std::string> chunks;  // guarded by lock
    std::string sent;                // guarded by lock
    std::atomic<bool> endless{false};  // a peer that never stops sending
    std::atomic<bool> closed{false};
    std::atomic<long> reads{0};

    void Push(std::string chunk)
    {
        std::lock_guard<std::mutex> g(lock);
        chunks.push_back(std::move(chunk));
        event.Set();
    }
    std::string Sent()
    {
        std::lock_guard<std::mutex> g(lock);
        return sent;
    }
};

class FakeTransport : public ILMCommTransport {
public:
    explicit FakeTransport(FakeWire& wire) : m_wire(wire) {}
    HANDLE Event() const override { return m_wire.event.Get(); }
    int Receive(void* buffer, int length) override
    {
        ++m_wire.reads;
        if (m_wire.endless.load()) {
            std::memset(buffer, 'f', static_cast<size_t>(length));
            static_cast<char*>(buffer)[length - 1] = '\n';
            return length;
        }
        std::lock_guard<std::mutex> g(m_wire.lock);
        if (m_wire.chunks.empty()) {
            if (m_wire.closed.load())
                return 0;
            m_wire.event.Reset();
            m_error = kWouldBlock;
            return -1;
        }
        std::string chunk = std::move(m_wire.chunks.front());
        m_wire.chunks.pop_front();
        std::memcpy(buffer, chunk.data(), chunk.size());
        return static_cast<int>(chunk.size());
    }
    bool SendAll(const void* data, size_t size) override
    {
        std::lock_guard<std::mutex> g(m_wire.lock);
        m_wire.sent.append(static_cast<const char*>(data), size);
        return true;
    }
    int LastError() const override { return m_error; }
    std::wstring PeerName() const override { return L"10.1.2.3:23"; }

private:
    FakeWire& m_wire;
    int m_error = 0;
};

class FakeWorker : public LMCommThread {
public:
    FakeWorker(ILMCommConfig* config, LMLog* log, FakeWire& wire) : LMCommThread(config, log), m_wire(wire) {}
    ~FakeWorker() override { Stop(INFINITE); }

protected:
    bool OpenTransport(DWORD& exitCode) override
    {
        exitCode = 0;
        AdoptTransport(std::make_unique<FakeTransport>(m_wire));
        return true;
    }

private:
    FakeWire& m_wire;
};

class FakeFixture : public testing::Test {
protected:
    FakeConfig config;
    LMLog log;
    FakeWire wire;
    std::vector<std::pair<uint8_t, std::wstring>> seen;

    bool WaitFor(const std::wstring& text, uint8_t kind, int timeoutMs = 10000)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        size_t from = 0;
        // One entry at a time, checked as it arrives: a flooding worker can
        // queue faster than we drain, so "drain to empty, then look" never
        // ends and keeps every flood line until memory runs out.
        for (;;) {
            for (; from < seen.size(); ++from) {
                if (seen[from].first == kind && seen[from].second == text)
                    return true;
            }
            if (std::chrono::steady_clock::now() > until)
                return false;
            if (LMLogEntry* e = log.PopEntry()) {
                seen.push_back({e->Kind(), e->WideText()});
                LMLogEntry::Release(e);
                continue;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
};

TEST_F(FakeFixture, AFloodingPeerStillLetsRequestsThrough)
{
    FakeWorker worker(&config, &log, wire);
    wire.endless = true;
    wire.event.Set();
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to telnet://fake:23", LMShades::kInfo));
    // The view keeps draining, as it does (a log left full would only stop
    // the reading, see the back-pressure tests).
    while (wire.reads.load() < 3 * LMCommThread::kReadsPerPass) {
        LMLogEntry::ReleaseChain(log.PopAll());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    worker.PostRequest(lmreq::kUserCommand, L"hello");
    worker.PostRequest(lmreq::kBaudTest);
    const auto t0 = std::chrono::steady_clock::now();
    while (worker.m_state.load() != LMCommThread::kIdle &&
           std::chrono::steady_clock::now() - t0 < std::chrono::seconds(20)) {
        LMLogEntry::ReleaseChain(log.PopAll());
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(worker.m_state.load(), LMCommThread::kIdle) << "the request never got a turn";
    EXPECT_EQ(wire.Sent(), "hello\r");
    ASSERT_TRUE(worker.Stop(5000));
}

TEST_F(FakeFixture, CommandFlushesTheOpenRestAndUsesTheTxTermination)
{
    config.txTerm = 3;  // None
    FakeWorker worker(&config, &log, wire);
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to telnet://fake:23", LMShades::kInfo));
    wire.Push("login: ");
    ASSERT_TRUE(WaitFor(L"login: ", LMShades::kRecdOpen));
    worker.PostRequest(lmreq::kUserCommand, L"root");
    ASSERT_TRUE(WaitFor(L"root", LMShades::kTransmitted));
    EXPECT_EQ(wire.Sent(), "root");
    // The prompt became a complete line just before the command.
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[seen.size() - 2], (std::pair<uint8_t, std::wstring>{LMShades::kReceived, L"login: "}));
    ASSERT_TRUE(worker.Disconnect());
}

TEST_F(FakeFixture, ReceiveTimeoutFlushesAPrompt)
{
    config.rxTO = 200;
    FakeWorker worker(&config, &log, wire);
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to telnet://fake:23", LMShades::kInfo));
    const auto t0 = std::chrono::steady_clock::now();
    wire.Push("> ");
    ASSERT_TRUE(WaitFor(L"> ", LMShades::kReceived, 5000));
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(150));
    ASSERT_TRUE(worker.Disconnect());
}

TEST_F(FakeFixture, HexModeLinesAndPeerClose)
{
    config.rxTerm = 5;
    config.rxWrap = 4;
    FakeWorker worker(&config, &log, wire);
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to telnet://fake:23", LMShades::kInfo));
    wire.Push("ABCDE");
    ASSERT_TRUE(WaitFor(L"41 42 43 44 :ABCD", LMShades::kReceived));
    ASSERT_TRUE(WaitFor(L"45          :E", LMShades::kRecdOpen));
    wire.closed = true;
    wire.event.Set();
    ASSERT_TRUE(WaitFor(L"Warning: connection closed by host 10.1.2.3:23", LMShades::kWarning));
    ASSERT_TRUE(WaitFor(L"Disconnected from telnet://fake:23", LMShades::kInfo));
}

TEST_F(FakeFixture, DebuggingTestTogglesTheFlood)
{
    FakeWorker worker(&config, &log, wire);
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to telnet://fake:23", LMShades::kInfo));
    worker.PostRequest(lmreq::kFlood);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(worker.IsFlooding());
    worker.PostRequest(lmreq::kFlood);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(worker.IsFlooding());
    while (LMLogEntry* e = log.PopEntry()) {
        seen.push_back({e->Kind(), e->WideText()});
        LMLogEntry::Release(e);
    }
    size_t flood = 0;
    for (const auto& [kind, text] : seen) {
        if (text.size() >= 32 && text.size() <= 63 && kind <= 11)
            ++flood;
    }
    EXPECT_GT(flood, 5u);
    ASSERT_TRUE(worker.Disconnect());
}

TEST_F(FakeFixture, PortModeOnATcpConsoleChangesNothing)
{
    FakeWorker worker(&config, &log, wire);
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to telnet://fake:23", LMShades::kInfo));
    worker.PostRequest(lmreq::kPortMode);
    ASSERT_TRUE(WaitFor(L"No port/mode change.", LMShades::kWarning));
    worker.PostRequest(0x12345678u);  // unknown codes are ignored
    worker.PostRequest(lmreq::kSettings);
    EXPECT_EQ(worker.m_state.load(), LMCommThread::kConnected);
    ASSERT_TRUE(worker.Disconnect());
}

}  // namespace
