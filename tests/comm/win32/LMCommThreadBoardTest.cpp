// The worker against the simulated board running as a process of its own,
// over real loopback TCP: connect, commands and their reply lines, line
// classification, the board closing, the baud-rate test ending the
// connection, and a flood read by a slow view.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "comm/ILMCommConfig.h"
#include "comm/LMRequestCodes.h"
#include "comm/win32/LMCommThread.h"
#include "foundation/Utf.h"
#include "foundation/win32/Handles.h"
#include "logging/LMLog.h"
#include "shades/LMShades.h"
#include "tools/simboard/SimBoardProtocol.h"

namespace {

struct BoardConfig : ILMCommConfig {
    std::wstring hostPort;
    LMShades shades;
    uint32_t ConMode() const override { return 0; }
    std::wstring HostPort() const override { return hostPort; }
    std::wstring DevAddr() const override { return {}; }
    std::wstring ComPort() const override { return {}; }
    std::wstring SerMode() const override { return {}; }
    std::wstring AltMode() const override { return {}; }
    uint32_t RxTerm() const override { return 4; }
    uint32_t RxWrap() const override { return 0; }
    uint32_t RxTimeoutMs() const override { return 0; }
    uint32_t TxTerm() const override { return 0; }  // CR
    bool IgnoreNDE() const override { return false; }
    const LMShades* Shades() const override { return &shades; }
    std::wstring DevAddrOfComPort(std::wstring_view) const override { return {}; }
    std::wstring ComPortOfDevAddr(std::wstring_view) const override { return {}; }
};

// The board process on a free port; killed when the test ends.
class BoardProcess {
public:
    bool Start()
    {
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
            return false;
        m_out.Reset(readEnd);
        NHandle childOut(writeEnd);
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = writeEnd;
        si.hStdError = writeEnd;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        std::wstring command = L"\"" + NUtf8ToWide(LUMBRA_SIMBOARD_EXE) + L"\" --port 0 --quiet";
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                            &pi))
            return false;
        m_process.Reset(pi.hProcess);
        CloseHandle(pi.hThread);
        childOut.Reset();
        // "listening on 127.0.0.1:<port>\n"
        std::string line;
        char c = 0;
        DWORD got = 0;
        while (line.size() < 200 && ReadFile(m_out.Get(), &c, 1, &got, nullptr) && got == 1 && c != '\n')
            line.push_back(c);
        unsigned port = 0;
        if (std::sscanf(line.c_str(), "listening on 127.0.0.1:%u", &port) != 1)
            return false;
        m_port = static_cast<uint16_t>(port);
        return true;
    }
    ~BoardProcess()
    {
        if (m_process.IsValid()) {
            TerminateProcess(m_process.Get(), 0);
            WaitForSingleObject(m_process.Get(), 5000);
        }
    }
    uint16_t Port() const { return m_port; }

private:
    NHandle m_process;
    NHandle m_out;
    uint16_t m_port = 0;
};

// The program starts Winsock once for all its consoles; so does this test.
class WinsockScope {
public:
    WinsockScope() { WSAStartup(MAKEWORD(2, 2), &m_data); }
    ~WinsockScope() { WSACleanup(); }

private:
    WSADATA m_data{};
};

struct Entry {
    uint8_t kind;
    std::wstring text;
};

class Board : public testing::Test {
protected:
    WinsockScope winsock;
    BoardProcess board;
    BoardConfig config;
    LMLog log;
    LMCommThread worker{&config, &log};
    std::vector<Entry> seen;
    size_t mark = 0;
    std::wstring peer;

    void SetUp() override
    {
        ASSERT_TRUE(board.Start()) << "cannot start " << LUMBRA_SIMBOARD_EXE;
        peer = L"127.0.0.1:" + std::to_wstring(board.Port());
        config.hostPort = peer;
    }
    void TearDown() override { worker.Disconnect(); }

    bool WaitFor(const std::wstring& text, uint8_t kind, int timeoutMs = 10000)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            while (LMLogEntry* e = log.PopEntry()) {
                seen.push_back({e->Kind(), e->WideText()});
                LMLogEntry::Release(e);
            }
            for (; mark < seen.size(); ++mark) {
                if (seen[mark].kind == kind && seen[mark].text == text) {
                    ++mark;
                    return true;
                }
            }
            if (std::chrono::steady_clock::now() > until)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    std::string Dump() const
    {
        std::wstring all;
        for (const Entry& e : seen)
            all += std::to_wstring(e.kind) + L" " + e.text + L"\n";
        return NWideToUtf8(all);
    }
    static std::wstring Reply(const char* command)
    {
        std::string line = SimBoardProtocol::ReplyLine(command);
        line.resize(line.size() - 2);  // CR LF
        return NUtf8ToWide(line);
    }
    void Connect()
    {
        ASSERT_TRUE(worker.Connect(false));
        ASSERT_TRUE(WaitFor(L"Connecting to telnet://" + peer, LMShades::kInfo)) << Dump();
        ASSERT_TRUE(WaitFor(L"Connected to telnet://" + peer, LMShades::kInfo)) << Dump();
        ASSERT_TRUE(WaitFor(L"*Simulated target board ready", LMShades::kNote)) << Dump();
    }
};

TEST_F(Board, CommandsAreAnsweredAndTheirLinesClassified)
{
    Connect();
    worker.PostRequest(lmreq::kUserCommand, L"echo plain text");
    ASSERT_TRUE(WaitFor(L"echo plain text", LMShades::kTransmitted)) << Dump();
    ASSERT_TRUE(WaitFor(L"plain text", LMShades::kReceived)) << Dump();
    ASSERT_TRUE(WaitFor(Reply("echo plain text"), LMShades::kAcknowledge)) << Dump();

    worker.PostRequest(lmreq::kUserCommand, L"unsol boot done");
    ASSERT_TRUE(WaitFor(L"_boot done", LMShades::kUnsolicited)) << Dump();
    worker.PostRequest(lmreq::kUserCommand, L"note temperature 41C");
    ASSERT_TRUE(WaitFor(L"*temperature 41C", LMShades::kNote)) << Dump();
    worker.PostRequest(lmreq::kUserCommand, L"problem flash write failed");
    ASSERT_TRUE(WaitFor(L"!flash write failed", LMShades::kProblem)) << Dump();
    ASSERT_TRUE(WaitFor(Reply("problem flash write failed"), LMShades::kAcknowledge)) << Dump();
    worker.PostRequest(lmreq::kUserCommand, L"");
    ASSERT_TRUE(WaitFor(L"=0", LMShades::kAcknowledge)) << Dump();
    // Non-ASCII text goes out and comes back as UTF-8.
    worker.PostRequest(lmreq::kUserCommand, L"echo Gr\u00FC\u00DFe \u2713");
    ASSERT_TRUE(WaitFor(L"Gr\u00FC\u00DFe \u2713", LMShades::kReceived)) << Dump();
}

TEST_F(Board, BoardClosingEndsTheConnectionAndAReconnectWorks)
{
    Connect();
    worker.PostRequest(lmreq::kUserCommand, L"close");
    ASSERT_TRUE(WaitFor(Reply("close"), LMShades::kAcknowledge)) << Dump();
    ASSERT_TRUE(WaitFor(L"Warning: connection closed by host " + peer, LMShades::kWarning)) << Dump();
    ASSERT_TRUE(WaitFor(L"Disconnected from telnet://" + peer, LMShades::kInfo)) << Dump();
    for (int i = 0; i < 500 && worker.m_state.load() != LMCommThread::kIdle; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_EQ(worker.ExitCode(), 0u);

    Connect();
    worker.PostRequest(lmreq::kUserCommand, L"echo again");
    ASSERT_TRUE(WaitFor(L"again", LMShades::kReceived)) << Dump();
}

TEST_F(Board, BaudRateTestEndsTheConnection)
{
    Connect();
    worker.PostRequest(lmreq::kBaudTest);
    ASSERT_TRUE(WaitFor(L"Disconnected from telnet://" + peer, LMShades::kInfo)) << Dump();
    EXPECT_EQ(seen.back().text, L"Disconnected from telnet://" + peer);
    EXPECT_EQ(worker.ExitCode(), 0u);
}

TEST_F(Board, FloodReadBySlowViewArrivesWholeAndInOrder)
{
    Connect();
    constexpr uint32_t kLines = 100000;  // 8 MB, twice the log's byte mark
    worker.PostRequest(lmreq::kUserCommand, L"flood " + std::to_wstring(kLines));
    uint32_t next = 0;
    bool inOrder = true, replied = false;
    size_t maxQueued = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!replied && std::chrono::steady_clock::now() < until) {
        maxQueued = std::max(maxQueued, log.QueuedCount());
        for (int i = 0; i < 2000; ++i) {
            LMLogEntry* e = log.PopEntry();
            if (e == nullptr)
                break;
            if (e->Kind() == LMShades::kReceived) {
                std::string want = SimBoardProtocol::FloodLine(next);
                want.resize(want.size() - 2);
                inOrder = inOrder && e->Text() == want;
                ++next;
            } else if (e->Kind() == LMShades::kAcknowledge) {
                replied = true;
            }
            LMLogEntry::Release(e);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    EXPECT_TRUE(replied);
    EXPECT_EQ(next, kLines);
    EXPECT_TRUE(inOrder);
    EXPECT_GT(worker.ThrottleCount(), 0u);
    EXPECT_LE(maxQueued, LMLog::kHighWaterEntries + 65536 / 82 + 16);
}

}  // namespace
