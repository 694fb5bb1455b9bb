// The worker on a serial console, end to end over a simulated COM port:
// the port engine, its receive thread and the worker's packet handling run
// for real; only the system's communications calls are simulated.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "comm/ILMCommConfig.h"
#include "comm/LMRequestCodes.h"
#include "comm/win32/LMCommThread.h"
#include "foundation/Utf.h"
#include "logging/LMLog.h"
#include "shades/LMShades.h"
#include "tests/support/win32/SimSerialDriver.h"

namespace {

constexpr const wchar_t* kBase = L"BAUD=115200 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF";
constexpr const wchar_t* kAlt = L"BAUD=9600 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF";

// One board on COM3 (device A1) and one on COM7 (device B2).
struct SerialConfig : ILMCommConfig {
    uint32_t conMode = 2;
    std::wstring devAddr = L"USB\\A1", comPort = L"COM3";
    std::wstring serMode = kBase, altMode = kAlt;
    uint32_t rxTerm = 4, rxWrap = 80, txTerm = 2;
    bool ignoreNDE = false;
    LMShades shades;
    uint32_t ConMode() const override { return conMode; }
    std::wstring HostPort() const override { return {}; }
    std::wstring DevAddr() const override { return devAddr; }
    std::wstring ComPort() const override { return comPort; }
    std::wstring SerMode() const override { return serMode; }
    std::wstring AltMode() const override { return altMode; }
    uint32_t RxTerm() const override { return rxTerm; }
    uint32_t RxWrap() const override { return rxWrap; }
    uint32_t RxTimeoutMs() const override { return 0; }
    uint32_t TxTerm() const override { return txTerm; }
    bool IgnoreNDE() const override { return ignoreNDE; }
    const LMShades* Shades() const override { return &shades; }
    std::wstring DevAddrOfComPort(std::wstring_view port) const override
    {
        if (port == L"COM3") return L"USB\\A1";
        if (port == L"COM7") return L"USB\\B2";
        return {};
    }
    std::wstring ComPortOfDevAddr(std::wstring_view dev) const override
    {
        if (dev == L"USB\\A1") return L"COM3";
        if (dev == L"USB\\B2") return L"COM7";
        return {};
    }
};

struct Entry {
    uint8_t kind;
    std::wstring text;
};

class SerialWorker : public testing::Test {
protected:
    SimSerialDriver driver;
    SerialConfig config;
    LMLog log;
    LMCommThread worker{&config, &log, &driver};
    std::vector<Entry> seen;
    size_t mark = 0;  // WaitFor looks at entries from here on

    void SetUp() override { driver.SetModem(MS_CTS_ON | MS_DSR_ON); }
    void TearDown() override { worker.Disconnect(); }

    void Drain()
    {
        while (LMLogEntry* e = log.PopEntry()) {
            seen.push_back({e->Kind(), e->WideText()});
            LMLogEntry::Release(e);
        }
    }
    // Waits for an entry of kind whose text starts with prefix; later
    // waits look only at entries after it.
    bool WaitFor(const std::wstring& prefix, uint8_t kind, int timeoutMs = 10000)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            Drain();
            for (; mark < seen.size(); ++mark) {
                if (seen[mark].kind == kind && seen[mark].text.rfind(prefix, 0) == 0) {
                    ++mark;
                    return true;
                }
            }
            if (std::chrono::steady_clock::now() > until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    bool WaitIdle(int timeoutMs = 10000)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (worker.IsRunning() || worker.m_state.load() != LMCommThread::kIdle) {
            if (std::chrono::steady_clock::now() > until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        Drain();
        return true;
    }
    std::string Dump()
    {
        Drain();
        std::wstring all;
        for (const Entry& e : seen)
            all += std::to_wstring(e.kind) + L" " + e.text + L"\n";
        return NWideToUtf8(all);
    }
    bool Seen(const std::wstring& prefix, uint8_t kind)
    {
        Drain();
        for (const Entry& e : seen)
            if (e.kind == kind && e.text.rfind(prefix, 0) == 0)
                return true;
        return false;
    }
    size_t CountOpens() const
    {
        const std::vector<std::string> calls = driver.Calls();
        return std::count_if(calls.begin(), calls.end(),
                             [](const std::string& c) { return c.rfind("CreateFileW", 0) == 0; });
    }
    bool CalledCreate(const std::string& device)
    {
        for (const std::string& call : driver.Calls())
            if (call == "CreateFileW(" + device + ")")
                return true;
        return false;
    }
};

const std::wstring kAddress = L"serial://COM3/115200-8-N-1-NH";

TEST_F(SerialWorker, ComPortConsoleConnectsLogsLinesAndPortReportsSendsAndEndsOnBaudTest)
{
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo)) << Dump();
    EXPECT_EQ(seen.front().text, L"Connecting to " + worker.GetAddress());
    EXPECT_EQ(seen[mark - 1].text, L"Connected to " + worker.GetAddress());
    EXPECT_EQ(worker.GetAddress().rfind(L"serial://COM3/115200-8-N-1", 0), 0u) << NWideToUtf8(worker.GetAddress());
    EXPECT_EQ(worker.m_state.load(), LMCommThread::kConnected);
    EXPECT_TRUE(CalledCreate("\\\\.\\COM3"));
    EXPECT_EQ(driver.LastDcb().BaudRate, 115200u);

    // Lines split across two arrivals, classified by the shade prefixes.
    driver.Receive("=12345678\r\npla");
    driver.Receive("in\r\n!fail\r\n_async\r\n*note\r\n");
    ASSERT_TRUE(WaitFor(L"*note", LMShades::kNote)) << Dump();
    Drain();
    std::vector<Entry> lines;
    for (const Entry& e : seen)
        if (e.kind != LMShades::kInfo && e.kind != LMShades::kWarning && e.kind != LMShades::kRecdOpen)
            lines.push_back(e);
    ASSERT_GE(lines.size(), 5u) << Dump();
    EXPECT_EQ(lines[0].text, L"=12345678");
    EXPECT_EQ(lines[0].kind, LMShades::kAcknowledge);
    EXPECT_EQ(lines[1].text, L"plain");
    EXPECT_EQ(lines[1].kind, LMShades::kReceived);
    EXPECT_EQ(lines[2].kind, LMShades::kProblem);

    // Line reports: an overrun is a Warning, a break an Info entry.
    driver.RaiseErrors(CE_OVERRUN);
    ASSERT_TRUE(WaitFor(L"Serial port COM3 error 0x0002 CE_OVERRUN", LMShades::kWarning)) << Dump();
    driver.RaiseEvents(EV_BREAK);
    ASSERT_TRUE(WaitFor(L"Serial port COM3 event(s) 0x0040 EV_BREAK", LMShades::kInfo)) << Dump();

    worker.PostRequest(lmreq::kUserCommand, L"ver");
    ASSERT_TRUE(WaitFor(L"ver", LMShades::kTransmitted)) << Dump();
    for (int i = 0; i < 200 && driver.Transmitted() != "ver\r\n"; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(driver.Transmitted(), "ver\r\n");

    worker.PostRequest(lmreq::kBaudTest);
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(seen.back().text, L"Disconnected from " + worker.GetAddress()) << Dump();
    EXPECT_EQ(worker.ExitCode(), 0u);
    EXPECT_EQ(driver.OpenHandles(), 0);
}

TEST_F(SerialWorker, DeviceAddressConsoleOpensTheMappedPort)
{
    config.conMode = 1;
    config.devAddr = L"USB\\B2";
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to serial://USB\\B2/115200-8-N-1", LMShades::kInfo)) << Dump();
    EXPECT_TRUE(CalledCreate("\\\\.\\COM7"));
    driver.Receive("hello\r\n");
    ASSERT_TRUE(WaitFor(L"hello", LMShades::kReceived)) << Dump();
}

TEST_F(SerialWorker, UnlistedPortOrDeviceIsNotOpened)
{
    config.comPort = L"COM9";
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(seen.size(), 3u) << Dump();
    EXPECT_EQ(seen[0].text, L"Connecting to serial://COM9/115200-8-N-1-NH") << Dump();
    EXPECT_EQ(seen[1].text, L"Cannot map COM port to serial device address.");
    EXPECT_EQ(seen[1].kind, LMShades::kError);
    EXPECT_EQ(seen[2].text, L"Not connected to serial://COM9/115200-8-N-1-NH");
    EXPECT_EQ(worker.ExitCode(), 2u);

    config.conMode = 1;
    config.devAddr = L"USB\\nothing";
    seen.clear();
    mark = 0;
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitIdle());
    ASSERT_EQ(seen.size(), 3u) << Dump();
    EXPECT_EQ(seen[1].text, L"Cannot map serial device address to COM port.");
    EXPECT_EQ(worker.ExitCode(), 2u);
    EXPECT_FALSE(CalledCreate("\\\\.\\COM9"));
    for (const std::string& call : driver.Calls())
        EXPECT_EQ(call.rfind("CreateFileW", 0), std::string::npos) << call;
}

TEST_F(SerialWorker, PortThatCannotBeOpenedIsReportedWithItsReason)
{
    driver.FailCall("CreateFileW", ERROR_ACCESS_DENIED);
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitIdle());
    EXPECT_TRUE(Seen(L"Error opening port COM3", LMShades::kError)) << Dump();
    EXPECT_FALSE(Seen(L"Connected to ", LMShades::kInfo)) << Dump();
    EXPECT_EQ(seen.back().text.rfind(L"Not connected to ", 0), 0u) << Dump();
    // The system text of the error follows the program's own message.
    for (size_t i = 0; i + 1 < seen.size(); ++i)
        if (seen[i].text == L"Error opening port COM3")
            EXPECT_FALSE(seen[i + 1].text.empty());
}

TEST_F(SerialWorker, VanishedDeviceEndsTheConnectionAndReconnectWorks)
{
    for (DWORD error : {static_cast<DWORD>(ERROR_ACCESS_DENIED), static_cast<DWORD>(ERROR_DEVICE_REMOVED)}) {
        SCOPED_TRACE(error);
        ASSERT_TRUE(worker.Connect(false));
        ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo)) << Dump();
        driver.Receive("before\r\n");
        ASSERT_TRUE(WaitFor(L"before", LMShades::kReceived)) << Dump();
        for (int i = 0; i < 200 && !driver.WaitPending(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        driver.Vanish(error);
        ASSERT_TRUE(WaitIdle()) << Dump();
        EXPECT_TRUE(WaitFor(L"Error getting overlapped comm events", LMShades::kError)) << Dump();
        EXPECT_EQ(seen.back().text, L"Disconnected from " + kAddress) << Dump();
        EXPECT_EQ(driver.OpenHandles(), 0);

        // Plugged in again: the same worker connects and receives.
        driver.Reappear();
        mark = seen.size();
    }
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo)) << Dump();
    driver.Receive("after\r\n");
    ASSERT_TRUE(WaitFor(L"after", LMShades::kReceived)) << Dump();
}

TEST_F(SerialWorker, ModeChangeOnTheOpenPort)
{
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo)) << Dump();
    const size_t opens = CountOpens();

    worker.PostRequest(lmreq::kPortMode);  // the flag still selects the base mode
    ASSERT_TRUE(WaitFor(L"No port/mode change.", LMShades::kWarning)) << Dump();

    worker.m_altMode = 1;
    worker.PostRequest(lmreq::kPortMode);
    ASSERT_TRUE(WaitFor(L"Changed to serial://COM3/9600-8-N-1", LMShades::kInfo)) << Dump();
    EXPECT_EQ(driver.LastDcb().BaudRate, 9600u);
    EXPECT_EQ(worker.GetAddress().rfind(L"serial://COM3/9600-", 0), 0u);

    // A refused change keeps the port open in its old mode.
    driver.FailCall("SetCommState", ERROR_INVALID_PARAMETER);
    worker.m_altMode = 0;
    worker.PostRequest(lmreq::kPortMode);
    ASSERT_TRUE(WaitFor(std::wstring(L"Unable to change port/mode to ") + kBase, LMShades::kError)) << Dump();
    EXPECT_TRUE(WaitFor(L"Error setting DCB", LMShades::kError)) << Dump();
    EXPECT_EQ(worker.GetAddress().rfind(L"serial://COM3/9600-", 0), 0u);
    driver.Receive("still here\r\n");
    ASSERT_TRUE(WaitFor(L"still here", LMShades::kReceived)) << Dump();
    EXPECT_EQ(worker.m_state.load(), LMCommThread::kConnected);
    EXPECT_EQ(CountOpens(), opens);  // never reopened
}

TEST_F(SerialWorker, FailedWriteIsReportedAndEndsTheConnection)
{
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo)) << Dump();
    driver.FailCall("WriteFile", ERROR_GEN_FAILURE);
    worker.PostRequest(lmreq::kUserCommand, L"reboot");
    ASSERT_TRUE(WaitIdle()) << Dump();
    EXPECT_TRUE(Seen(L"Error writing to COM3", LMShades::kError)) << Dump();
    EXPECT_TRUE(Seen(L"Error transmitting", LMShades::kError)) << Dump();
    EXPECT_EQ(seen.back().text.rfind(L"Disconnected from ", 0), 0u);
}

TEST_F(SerialWorker, StopWhileDataKeepsArrivingIsPromptAndClosesThePort)
{
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo)) << Dump();
    std::atomic<bool> feeding{true};
    std::thread board([&] {
        while (feeding) {
            driver.Receive("line of a busy board\r\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.Disconnect());
    const auto took = std::chrono::steady_clock::now() - before;
    feeding = false;
    board.join();
    // A hang guard, not a speed goal: the waits are bounded by a second.
    EXPECT_LT(took, std::chrono::seconds(3));
    ASSERT_TRUE(WaitIdle());
    EXPECT_EQ(driver.OpenHandles(), 0);
    EXPECT_EQ(seen.back().text.rfind(L"Disconnected from ", 0), 0u) << Dump();
}

// A view that stops draining: the worker leaves the packets to the port
// engine, which leaves the bytes in the driver; once the view drains, every
// line arrives in order.
TEST_F(SerialWorker, BehindViewHoldsTheBoardBackAndLosesNoLine)
{
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo)) << Dump();
    constexpr int kLines = 60000;  // 540 KB: past the log's mark and the engine's cap
    std::string burst;
    for (int i = 0; i < kLines; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "%06d\r\n", i);
        burst += line;
    }
    driver.Receive(burst);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (worker.ThrottleCount() == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_GT(worker.ThrottleCount(), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // One 512-byte packet at most past the mark.
    EXPECT_LE(log.QueuedCount(), LMLog::kHighWaterEntries + 512 / 8 + 1);

    int next = 0;
    bool inOrder = true;
    const auto until2 = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (next < kLines && std::chrono::steady_clock::now() < until2) {
        LMLogEntry* e = log.PopEntry();
        if (e == nullptr) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if (e->Kind() == LMShades::kReceived) {
            char want[16];
            std::snprintf(want, sizeof want, "%06d", next);
            inOrder = inOrder && e->Text() == want;
            ++next;
        }
        LMLogEntry::Release(e);
    }
    EXPECT_EQ(next, kLines);
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(worker.m_state.load(), LMCommThread::kConnected);
}

// The view may connect again as soon as it sees the state idle (or the
// "Disconnected from" entry), while the old thread is still on its way out.
TEST_F(SerialWorker, ConnectRightAfterTheEndOfTheLastRunSucceeds)
{
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(worker.Connect(false)) << GetLastError();
        ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo)) << Dump();
        worker.PostRequest(lmreq::kBaudTest);
        ASSERT_TRUE(WaitFor(L"Disconnected from ", LMShades::kInfo)) << Dump();
        while (worker.m_state.load() != LMCommThread::kIdle)
            std::this_thread::yield();
    }
    EXPECT_EQ(driver.OpenHandles(), 0);  // every round closed its port
}

TEST_F(SerialWorker, IgnoreNonDataEventsSilencesLineReportsButNotData)
{
    config.ignoreNDE = true;
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo)) << Dump();
    driver.RaiseErrors(CE_FRAME);
    driver.RaiseEvents(EV_BREAK);
    driver.SetModem(MS_RING_ON);
    driver.Receive("data\r\n");
    ASSERT_TRUE(WaitFor(L"data", LMShades::kReceived)) << Dump();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Drain();
    for (const Entry& e : seen)
        EXPECT_EQ(e.text.rfind(L"Serial port ", 0), std::wstring::npos) << NWideToUtf8(e.text);
}

}  // namespace
