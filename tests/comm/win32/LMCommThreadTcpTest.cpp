// The worker against a loopback TCP peer in the test process.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "comm/ILMCommConfig.h"
#include "comm/LMRequestCodes.h"
#include "comm/win32/LMCommThread.h"
#include "foundation/Utf.h"
#include "logging/LMLog.h"
#include "shades/LMShades.h"

namespace {

struct FakeConfig : ILMCommConfig {
    uint32_t conMode = 0;
    std::wstring hostPort, devAddr, comPort = L"COM3";
    std::wstring serMode = L"BAUD=115200 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF";
    uint32_t rxTerm = 4, rxWrap = 80, rxTO = 0, txTerm = 2;
    LMShades shades;
    uint32_t ConMode() const override { return conMode; }
    std::wstring HostPort() const override { return hostPort; }
    std::wstring DevAddr() const override { return devAddr; }
    std::wstring ComPort() const override { return comPort; }
    std::wstring SerMode() const override { return serMode; }
    std::wstring AltMode() const override { return serMode; }
    uint32_t RxTerm() const override { return rxTerm; }
    uint32_t RxWrap() const override { return rxWrap; }
    uint32_t RxTimeoutMs() const override { return rxTO; }
    uint32_t TxTerm() const override { return txTerm; }
    bool IgnoreNDE() const override { return false; }
    const LMShades* Shades() const override { return &shades; }
    std::wstring DevAddrOfComPort(std::wstring_view) const override { return {}; }
    std::wstring ComPortOfDevAddr(std::wstring_view) const override { return {}; }
};

struct Entry {
    uint8_t kind;
    std::wstring text;
};

class WinsockScope {
public:
    WinsockScope() { WSAStartup(MAKEWORD(2, 2), &m_data); }
    ~WinsockScope() { WSACleanup(); }

private:
    WSADATA m_data{};
};

// A listening socket on 127.0.0.1 with a free port.
struct Listener {
    SOCKET s = INVALID_SOCKET;
    uint16_t port = 0;
    explicit Listener(int backlog = 4)
    {
        s = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(s, backlog);
        int len = sizeof a;
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
    }
    ~Listener() { closesocket(s); }
    SOCKET Accept() { return accept(s, nullptr, nullptr); }
};

class Fixture : public testing::Test {
protected:
    WinsockScope winsock;
    FakeConfig config;
    LMLog log;
    std::vector<Entry> seen;

    // Collects entries until one of kind with text starting with prefix arrives.
    bool WaitFor(const std::wstring& prefix, uint8_t kind, int timeoutMs = 10000)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        size_t from = 0;
        for (;;) {
            while (LMLogEntry* e = log.PopEntry()) {
                seen.push_back({e->Kind(), e->WideText()});
                LMLogEntry::Release(e);
            }
            for (; from < seen.size(); ++from) {
                if (seen[from].kind == kind && seen[from].text.rfind(prefix, 0) == 0)
                    return true;
            }
            if (std::chrono::steady_clock::now() > until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    std::wstring Dump() const
    {
        std::wstring all;
        for (const Entry& e : seen)
            all += std::to_wstring(e.kind) + L" " + e.text + L"\n";
        return all;
    }
    static std::string ReadSome(SOCKET peer, size_t want)
    {
        std::string got;
        char buf[256];
        while (got.size() < want) {
            const int n = recv(peer, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            got.append(buf, static_cast<size_t>(n));
        }
        return got;
    }
};

TEST_F(Fixture, ConnectsReceivesClassifiesSendsAndSeesThePeerClose)
{
    Listener listener;
    config.hostPort = L"127.0.0.1:" + std::to_wstring(listener.port);
    const std::wstring address = L"telnet://" + config.hostPort;
    LMCommThread worker(&config, &log);
    ASSERT_TRUE(worker.Connect(false));
    SOCKET peer = listener.Accept();
    ASSERT_NE(peer, INVALID_SOCKET);
    ASSERT_TRUE(WaitFor(L"Connected to " + address, LMShades::kInfo)) << NWideToUtf8(Dump());
    EXPECT_EQ(seen.front().text, L"Connecting to " + address);
    EXPECT_EQ(worker.m_state.load(), LMCommThread::kConnected);

    const char lines[] = "=OK\r\n!bad\r\nplain\r\n_async\r\n*note\r\nopen";
    send(peer, lines, sizeof lines - 1, 0);
    ASSERT_TRUE(WaitFor(L"open", LMShades::kRecdOpen)) << NWideToUtf8(Dump());
    std::vector<std::pair<uint8_t, std::wstring>> received;
    for (const Entry& e : seen) {
        if (e.kind >= LMShades::kReceived)
            received.push_back({e.kind, e.text});
    }
    const std::vector<std::pair<uint8_t, std::wstring>> expected = {
        {LMShades::kAcknowledge, L"=OK"}, {LMShades::kProblem, L"!bad"}, {LMShades::kReceived, L"plain"},
        {LMShades::kUnsolicited, L"_async"}, {LMShades::kNote, L"*note"}, {LMShades::kRecdOpen, L"open"}};
    EXPECT_EQ(received, expected);

    worker.PostRequest(lmreq::kUserCommand, L"VERSION");
    // Sending first flushes the open rest as a line.
    EXPECT_EQ(ReadSome(peer, 9), "VERSION\r\n");
    ASSERT_TRUE(WaitFor(L"VERSION", LMShades::kTransmitted));

    closesocket(peer);
    ASSERT_TRUE(WaitFor(L"Warning: connection closed by host 127.0.0.1:" + std::to_wstring(listener.port),
                        LMShades::kWarning))
        << NWideToUtf8(Dump());
    ASSERT_TRUE(WaitFor(L"Disconnected from " + address, LMShades::kInfo)) << NWideToUtf8(Dump());
    ASSERT_TRUE(worker.Stop(5000));
    EXPECT_EQ(worker.ExitCode(), 0u);
    EXPECT_EQ(worker.m_state.load(), LMCommThread::kIdle);
}

TEST_F(Fixture, BaudrateTestEndsTheConnection)
{
    Listener listener;
    config.hostPort = L"127.0.0.1:" + std::to_wstring(listener.port);
    LMCommThread worker(&config, &log);
    ASSERT_TRUE(worker.Connect(false));
    SOCKET peer = listener.Accept();
    ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo));
    worker.PostRequest(lmreq::kBaudTest);
    ASSERT_TRUE(WaitFor(L"Disconnected from telnet://" + config.hostPort, LMShades::kInfo)) << NWideToUtf8(Dump());
    ASSERT_TRUE(worker.Stop(5000));
    EXPECT_EQ(worker.ExitCode(), 0u);
    closesocket(peer);
}

TEST_F(Fixture, StopWhileConnectedDisconnects)
{
    Listener listener;
    config.hostPort = L"127.0.0.1:" + std::to_wstring(listener.port);
    LMCommThread worker(&config, &log);
    ASSERT_TRUE(worker.Connect(false));
    SOCKET peer = listener.Accept();
    ASSERT_TRUE(WaitFor(L"Connected to ", LMShades::kInfo));
    ASSERT_TRUE(worker.Disconnect());
    EXPECT_EQ(worker.ExitCode(), 1223u);
    ASSERT_TRUE(WaitFor(L"Disconnected from ", LMShades::kInfo));
    closesocket(peer);
}

TEST_F(Fixture, RefusedConnectionIsReportedWithTheSystemText)
{
    uint16_t port;
    {
        Listener gone;
        port = gone.port;
    }
    config.hostPort = L"127.0.0.1:" + std::to_wstring(port);
    LMCommThread worker(&config, &log);
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Not connected to telnet://" + config.hostPort, LMShades::kInfo, 20000))
        << NWideToUtf8(Dump());
    ASSERT_TRUE(worker.Stop(5000));
    EXPECT_EQ(worker.ExitCode(), static_cast<DWORD>(WSAECONNREFUSED));
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[1].kind, LMShades::kError);
    EXPECT_FALSE(seen[1].text.empty());
}

TEST_F(Fixture, UnresolvableHostIsReportedWithTheSystemText)
{
    config.hostPort = L"no-such-host.invalid:23";
    LMCommThread worker(&config, &log);
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Not connected to telnet://no-such-host.invalid:23", LMShades::kInfo, 30000))
        << NWideToUtf8(Dump());
    ASSERT_TRUE(worker.Stop(5000));
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[1].kind, LMShades::kError);
    EXPECT_FALSE(seen[1].text.empty());
}

TEST_F(Fixture, RequestWhileConnectingAbortsAndTimeoutIsReported)
{
    // A listener whose backlog is full leaves further connects pending.
    Listener listener(1);
    std::vector<SOCKET> fillers;
    for (int i = 0; i < 8; ++i) {
        SOCKET f = socket(AF_INET, SOCK_STREAM, 0);
        u_long nb = 1;
        ioctlsocket(f, FIONBIO, &nb);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(listener.port);
        connect(f, reinterpret_cast<sockaddr*>(&a), sizeof a);
        fillers.push_back(f);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    config.hostPort = L"127.0.0.1:" + std::to_wstring(listener.port);
    LMCommThread worker(&config, &log);
    worker.SetConnectTimeout(1500);
    ASSERT_TRUE(worker.Connect(false));
    const bool timedOut = WaitFor(L"Timed out waiting for LM host to respond.", LMShades::kError, 8000);
    ASSERT_TRUE(worker.Stop(5000));
    for (SOCKET f : fillers)
        closesocket(f);
    if (!timedOut)
        GTEST_SKIP() << "this system completed the connect despite the full backlog";
    EXPECT_EQ(worker.ExitCode(), 1460u);
}

TEST_F(Fixture, MissingComPortIsNotOpened)
{
    config.conMode = 2;
    LMCommThread worker(&config, &log);
    ASSERT_TRUE(worker.Connect(false));
    ASSERT_TRUE(WaitFor(L"Not connected to serial://COM3/115200-8-N-1-NH", LMShades::kInfo));
    ASSERT_TRUE(worker.Stop(5000));
    EXPECT_EQ(worker.ExitCode(), 2u);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, L"Connecting to serial://COM3/115200-8-N-1-NH");
    EXPECT_EQ(seen[1].text, L"Cannot map COM port to serial device address.");
}

}  // namespace
