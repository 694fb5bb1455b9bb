// The console view on a real configuration, connected to a loopback TCP
// peer in the test process.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "comm/win32/LMCommThread.h"
#include "config/LMConsConfig.h"
#include "config/win32/LMRegisteredMessages.h"
#include "console/win32/LMConsView.h"
#include "shades/LMShades.h"
#include "foundation/win32/Handles.h"

namespace {

std::vector<WPARAM> g_connectReports;  // what the view told its frame, in order

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == LMMessage(lmmsg::kOnConnect)) {
        g_connectReports.push_back(wParam);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeFrame()
{
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &FrameProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"LMConsViewTestFrame";
        return ::RegisterClassExW(&wc);
    }();
    if (atom == 0)
        return nullptr;
    return ::CreateWindowExW(0, L"LMConsViewTestFrame", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 500, 300,
                             nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Runs the message loop until done() or the time is up.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return true;
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!::OpenClipboard(nullptr))
        return L"<no clipboard>";
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

COLORREF PixelAt(HWND window, int x, int y)
{
    NWindowDC dc(window);
    return ::GetPixel(dc.Get(), x, y);
}

class WinsockScope {
public:
    WinsockScope() { ::WSAStartup(MAKEWORD(2, 2), &m_data); }
    ~WinsockScope() { ::WSACleanup(); }

private:
    WSADATA m_data{};
};

// A board on 127.0.0.1: accepts one connection and sends what it is given.
class Board {
public:
    Board()
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(m_listen, 2);
        int len = sizeof a;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        m_thread = std::thread([this] {
            const SOCKET peer = ::accept(m_listen, nullptr, nullptr);
            m_peer.store(peer);
            accepted = peer != INVALID_SOCKET;
        });
    }
    ~Board()
    {
        HangUp();
        ::closesocket(m_listen);
        if (m_thread.joinable())
            m_thread.join();
    }
    void Send(const std::string& bytes) { ::send(m_peer.load(), bytes.data(), static_cast<int>(bytes.size()), 0); }
    void HangUp()
    {
        const SOCKET peer = m_peer.exchange(INVALID_SOCKET);
        if (peer != INVALID_SOCKET) {
            ::shutdown(peer, SD_BOTH);
            ::closesocket(peer);
        }
    }
    // Stops listening, so a second connection attempt is refused.
    void StopListening()
    {
        ::closesocket(m_listen);
        m_listen = INVALID_SOCKET;
        if (m_thread.joinable())
            m_thread.join();
    }

    uint16_t port = 0;
    std::atomic<bool> accepted{false};

private:
    SOCKET m_listen = INVALID_SOCKET;
    std::atomic<SOCKET> m_peer{INVALID_SOCKET};
    std::thread m_thread;
};

class LMConsViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_connectReports.clear();
        LMConsSettings& s = config.Settings();
        s.Name = L"Board 7";
        s.ConMode = LMConsSettings::kTcpIp;
        s.HostPort = L"127.0.0.1:" + std::to_wstring(board.port);
        s.LogDepth = 200;
        s.AutoConnect = true;
        frame = MakeFrame();
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override
    {
        view.reset();
        if (frame != nullptr)
            ::DestroyWindow(frame);
        Pump();
    }

    bool Open()
    {
        view = std::make_unique<LMConsView>(&config);
        return view->Create(frame, 1);
    }
    uint8_t State() const { return view->Worker()->m_state.load(); }
    // Logical index of the first line with this text, or -1.
    int32_t Find(const std::wstring& text) const
    {
        const ConsoleLineRing& ring = view->Model().Ring();
        for (int32_t i = 0; i <= ring.Last(); ++i)
            if (ring.Line(i).text == text)
                return i;
        return -1;
    }
    bool FindPrefix(const std::wstring& prefix) const
    {
        const ConsoleLineRing& ring = view->Model().Ring();
        for (int32_t i = 0; i <= ring.Last(); ++i)
            if (ring.Line(i).text.rfind(prefix, 0) == 0)
                return true;
        return false;
    }
    NCmdUI Update(UINT id)
    {
        NCmdUI cmd(id);
        EXPECT_TRUE(view->OnUpdateCmdUI(cmd)) << id;
        return cmd;
    }
    void Command(UINT id) { ::SendMessageW(view->Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    WinsockScope winsock;
    Board board;
    LMConsConfig config;
    HWND frame = nullptr;
    std::unique_ptr<LMConsView> view;
};
}  // namespace

TEST_F(LMConsViewTest, ConnectsShowsReceivedLinesInTheirShadeAndReportsTheState)
{
    ASSERT_TRUE(Open());
    EXPECT_TRUE(view->IsReady());
    EXPECT_EQ(view->Capacity(), 200);
    EXPECT_TRUE(view->IsFollowing());
    EXPECT_EQ(config.CommThread(), view->Worker());

    wchar_t title[256] = {};
    ::GetWindowTextW(frame, title, 256);
    EXPECT_EQ(std::wstring(title), L"Board 7 @ 127.0.0.1:" + std::to_wstring(board.port) + L" - Lumbra");

    const ConsoleLineRing& ring = view->Model().Ring();
    ASSERT_GE(ring.Last(), 2);
    EXPECT_NE(ring.Line(0).text.find(L" @ "), std::wstring::npos);
    EXPECT_NE(ring.Line(0).text.find(L" on "), std::wstring::npos);
    EXPECT_EQ(ring.Line(1).text.rfind(L"Started console \"Board 7\" in ", 0), 0u) << ring.Line(1).text;
    EXPECT_EQ(ring.Line(2).text, L"Loaded setup 127.0.0.1:" + std::to_wstring(board.port) + L" @ ");
    EXPECT_EQ(ring.Line(1).scheme, 1u);  // Info

    // AutoConnect posted Connect to the view.
    ASSERT_TRUE(PumpUntil([&] { return board.accepted.load() && State() == LMCommThread::kConnected; }));
    board.Send("=OK\r\nhello board\r\n!bad thing\r\n");
    ASSERT_TRUE(PumpUntil([&] { return Find(L"!bad thing") >= 0; }));
    const int32_t ack = Find(L"=OK");
    ASSERT_GE(ack, 0);
    EXPECT_EQ(ring.Line(ack).scheme, 8u);
    EXPECT_EQ(ring.Line(Find(L"hello board")).scheme, 6u);
    EXPECT_EQ(ring.Line(Find(L"!bad thing")).scheme, 11u);

    // The frame heard of the connection within a refresh tick or two.
    ASSERT_TRUE(PumpUntil([&] { return !g_connectReports.empty() && g_connectReports.back() == 2; }, 2000));

    // Painted in the Acknowledge row's colours (background 0xCCFFCC).
    ASSERT_TRUE(view->IsRowVisible(ack));
    ::UpdateWindow(view->Handle());
    RECT client{};
    ::GetClientRect(view->Handle(), &client);
    const int y = (ack - view->Top()) * view->LineHeight() + view->LineHeight() / 2;
    EXPECT_EQ(PixelAt(view->Handle(), client.right - 4, y), static_cast<COLORREF>(0xCCFFCC));

    // Commands a connected TCP console offers.
    EXPECT_TRUE(Update(LMConsView::kCmdConnect).checked);
    EXPECT_TRUE(Update(LMConsView::kCmdSend).enabled);
    EXPECT_TRUE(Update(LMConsView::kCmdReset).enabled);
    EXPECT_TRUE(Update(LMConsView::kCmdDebugTest).enabled);
    EXPECT_FALSE(Update(LMConsView::kCmdAltMode).enabled);  // TCP/IP has no serial mode
    EXPECT_FALSE(Update(LMConsView::kCmdRecording).enabled);
    EXPECT_FALSE(Update(LMConsView::kCmdCommandWindow).enabled);

    Command(LMConsView::kCmdCopyWhole);
    const std::wstring copied = ClipboardText();
    EXPECT_NE(copied.find(L"\r\n=OK\r\nhello board\r\n!bad thing\r\n"), std::wstring::npos) << copied;
    EXPECT_EQ(copied.rfind(L"\r\n"), copied.size() - 2);

    // The board hangs up: the worker ends and the frame hears state 0.
    board.HangUp();
    ASSERT_TRUE(PumpUntil([&] { return State() == LMCommThread::kIdle; }));
    ASSERT_TRUE(PumpUntil([&] { return FindPrefix(L"Disconnected from"); }));
    ASSERT_TRUE(PumpUntil([&] { return !g_connectReports.empty() && g_connectReports.back() == 0; }, 2000));
    EXPECT_FALSE(Update(LMConsView::kCmdConnect).checked);
    EXPECT_FALSE(Update(LMConsView::kCmdSend).enabled);
    EXPECT_FALSE(Update(LMConsView::kCmdAbort).enabled);
}

TEST_F(LMConsViewTest, ScrollingStopsFollowAndTheCommandsTurnItBackOn)
{
    config.Settings().AutoConnect = false;
    ASSERT_TRUE(Open());
    Pump();
    EXPECT_EQ(State(), LMCommThread::kIdle);  // no auto-connect
    for (int i = 0; i < 60; ++i)
        view->Log().AddInfo(L"note " + std::to_wstring(i), NTimeStamp::LocalNow());
    ASSERT_TRUE(PumpUntil([&] { return Find(L"note 59") >= 0; }));
    ASSERT_TRUE(view->IsRowVisible(Find(L"note 59")));
    EXPECT_TRUE(Update(LMConsView::kCmdFollow).checked);

    ::SendMessageW(view->Handle(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_FALSE(Update(LMConsView::kCmdFollow).checked);
    EXPECT_FALSE(Update(LMConsView::kCmdPin).checked);

    // New entries no longer move the view.
    const int32_t top = view->Top();
    view->Log().AddInfo(L"later", NTimeStamp::LocalNow());
    ASSERT_TRUE(PumpUntil([&] { return Find(L"later") >= 0; }));
    EXPECT_EQ(view->Top(), top);

    Command(LMConsView::kCmdFollow);
    EXPECT_TRUE(Update(LMConsView::kCmdFollow).checked);
    EXPECT_TRUE(view->IsRowVisible(Find(L"later")));

    Command(LMConsView::kCmdPin);
    EXPECT_TRUE(Update(LMConsView::kCmdPin).checked);
    EXPECT_FALSE(Update(LMConsView::kCmdFollow).checked);
    Command(LMConsView::kCmdPin);
    EXPECT_FALSE(Update(LMConsView::kCmdPin).checked);

    Command(LMConsView::kCmdErase);
    EXPECT_EQ(view->Model().Ring().Last(), -1);
    EXPECT_EQ(view->Capacity(), 200);
    EXPECT_TRUE(Update(LMConsView::kCmdFollow).checked);

    Command(LMConsView::kCmdSuppress);
    EXPECT_TRUE(config.Settings().SuppressFWUpd.Get());
    EXPECT_TRUE(Update(LMConsView::kCmdSuppress).checked);
    Command(LMConsView::kCmdSuppress);
    EXPECT_FALSE(config.Settings().SuppressFWUpd.Get());

    // Commands that need a connection do nothing while idle.
    EXPECT_FALSE(Update(LMConsView::kCmdSend).enabled);
    Command(LMConsView::kCmdDebugTest);
    Command(LMConsView::kCmdAbort);
    Pump();
    EXPECT_EQ(State(), LMCommThread::kIdle);
}

TEST_F(LMConsViewTest, ARefusedConnectionReturnsToIdleWithItsErrorShown)
{
    config.Settings().AutoConnect = false;
    board.StopListening();  // nothing listens on the port any more
    ASSERT_TRUE(Open());
    Command(LMConsView::kCmdConnect);
    ASSERT_TRUE(PumpUntil([&] { return FindPrefix(L"Not connected to"); }, 20000));
    ASSERT_TRUE(PumpUntil([&] { return State() == LMCommThread::kIdle; }));
    bool sawError = false;
    const ConsoleLineRing& ring = view->Model().Ring();
    for (int32_t i = 0; i <= ring.Last(); ++i)
        sawError = sawError || ring.Line(i).scheme == 3;
    EXPECT_TRUE(sawError);
}

TEST_F(LMConsViewTest, ShutdownAndDestructionStopAConnectedWorker)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(PumpUntil([&] { return State() == LMCommThread::kConnected; }));
    ::SendMessageW(view->Handle(), LMMessage(lmmsg::kShutdown), 0, 0);
    EXPECT_EQ(State(), LMCommThread::kIdle);
    EXPECT_FALSE(view->Worker()->IsRunning());
    EXPECT_TRUE(FindPrefix(L"Disconnected from"));

    // Connect again, then destroy the view while connected: it must not hang
    // and must leave the configuration without a dangling worker.
    // (The listener's backlog takes the second connection.)
    Command(LMConsView::kCmdConnect);
    PumpUntil([&] { return State() == LMCommThread::kConnected; }, 3000);
    view.reset();
    EXPECT_EQ(config.CommThread(), nullptr);
}

TEST_F(LMConsViewTest, ResetBoardOnAnIdleWorkerAndUnknownCommands)
{
    config.Settings().AutoConnect = false;
    ASSERT_TRUE(Open());
    // A reset request the worker accepts logs nothing; a second one while
    // the first is pending is refused and says so.
    ::SendMessageW(view->Handle(), LMMessage(lmmsg::kResetBoard), 0, 0);
    ::SendMessageW(view->Handle(), LMMessage(lmmsg::kResetBoard), 0, 0);
    EXPECT_TRUE(FindPrefix(L"Worker rejected a reset request"));

    NCmdUI other(12345);
    EXPECT_FALSE(view->OnUpdateCmdUI(other));
    EXPECT_FALSE(view->OnCmdMsg(12345, 0, nullptr));

    Command(LMConsView::kCmdFwCheck);
    EXPECT_TRUE(FindPrefix(L"Firmware Check is not available yet."));
}

TEST(LMConsView, RefusesToCreateWithoutAConfiguration)
{
    LMConsView view(nullptr);
    EXPECT_FALSE(view.Create(nullptr, 1));
    EXPECT_EQ(view.Worker(), nullptr);
}

TEST_F(LMConsViewTest, AGrowingReceivedLineStaysOnOneRowAndEntriesKeepTheirOrder)
{
    config.Settings().AutoConnect = false;
    ASSERT_TRUE(Open());
    const int32_t before = view->Model().Ring().Last();
    view->Log().AddEntry(L"ab", 7, NTimeStamp::LocalNow());
    view->Log().AddEntry(L"abc", 6, NTimeStamp::LocalNow());
    view->Log().AddEntry(L"next", 6, NTimeStamp::LocalNow());
    ASSERT_TRUE(PumpUntil([&] { return Find(L"next") >= 0; }));
    EXPECT_EQ(view->Model().Ring().Last(), before + 2);
    EXPECT_EQ(view->Model().Ring().Line(before + 1).text, L"abc");
    EXPECT_EQ(Find(L"ab"), -1);
    // Text that is not ASCII arrives intact.
    view->Log().AddEntry(L"gr\u00FC\u00DFe \u65E5\u672C", 6, NTimeStamp::LocalNow());
    ASSERT_TRUE(PumpUntil([&] { return Find(L"gr\u00FC\u00DFe \u65E5\u672C") >= 0; }));
}

TEST_F(LMConsViewTest, ADrainThatRunsOutOfTimeShowsTheRestLaterWithoutLosingAny)
{
    config.Settings().AutoConnect = false;
    config.Settings().LogDepth = 1000;
    ASSERT_TRUE(Open());
    // More than one drain can take in its time: the view must come back for
    // the rest by itself, in order, and keep repainting meanwhile.
    constexpr int kEntries = 300000;
    for (int i = 0; i < kEntries; ++i)
        view->Log().AddEntry(L"entry " + std::to_wstring(i), 6, NTimeStamp::LocalNow());
    const uint64_t stored = view->LinesMeasured();
    const size_t first = view->DrainLog();
    EXPECT_GT(first, 0u);
    ASSERT_TRUE(PumpUntil([&] { return view->LinesMeasured() - stored >= static_cast<uint64_t>(kEntries); }, 60000));
    Pump();
    EXPECT_EQ(view->LinesMeasured() - stored, static_cast<uint64_t>(kEntries));
    const ConsoleLineRing& ring = view->Model().Ring();
    EXPECT_EQ(ring.Line(ring.Last()).text, L"entry " + std::to_wstring(kEntries - 1));
    EXPECT_EQ(ring.Line(ring.Last() - 1).text, L"entry " + std::to_wstring(kEntries - 2));
    EXPECT_TRUE(view->IsRowVisible(ring.Last()));
    EXPECT_EQ(view->Log().QueuedCount(), 0u);
}

TEST_F(LMConsViewTest, ADepthTooLargeToHoldFallsBackAndSaysSo)
{
    config.Settings().AutoConnect = false;
    config.Settings().LogDepth = 0x7FFFFFFF;
    config.Settings().LogFontEnc = L"not a font code";
    ASSERT_TRUE(Open());
    EXPECT_EQ(view->Capacity(), 5000);
    EXPECT_TRUE(FindPrefix(L"Cannot keep 2147483647 log lines; keeping 5000"));
    EXPECT_GT(view->LineHeight(), 1);  // the default font replaced the bad code
}

TEST_F(LMConsViewTest, AlternativeModeNeedsASerialConsoleWithAnAlternativeMode)
{
    config.Settings().AutoConnect = false;
    config.Settings().ConMode = LMConsSettings::kComSerial;
    config.Settings().COMPort = L"COM250";
    ASSERT_TRUE(Open());
    EXPECT_TRUE(Update(LMConsView::kCmdAltMode).enabled);
    EXPECT_FALSE(Update(LMConsView::kCmdAltMode).checked);
    Command(LMConsView::kCmdAltMode);
    EXPECT_TRUE(view->IsAltMode());
    EXPECT_TRUE(Update(LMConsView::kCmdAltMode).checked);
    config.Settings().AltMode.clear();
    EXPECT_FALSE(Update(LMConsView::kCmdAltMode).enabled);

    wchar_t title[256] = {};
    ::GetWindowTextW(frame, title, 256);
    EXPECT_EQ(std::wstring(title), L"Board 7 @ COM250 - Lumbra");
    EXPECT_TRUE(FindPrefix(L"Loaded setup COM250 @ 115200"));
}

TEST_F(LMConsViewTest, UpdateSetupRepaintsInTheNewShade)
{
    config.Settings().AutoConnect = false;
    ASSERT_TRUE(Open());
    view->Log().AddEntry(L"received", 6, NTimeStamp::LocalNow());
    ASSERT_TRUE(PumpUntil([&] { return Find(L"received") >= 0; }));
    auto shades = std::make_unique<LMShades>(*config.CurrentShades());
    SLMShade row = shades->Row(6);
    row.back = 0x00336699;
    ASSERT_EQ(shades->AddOrUpdate(row), 6);
    ASSERT_TRUE(config.SetShades(std::move(shades)));
    ::SendMessageW(view->Handle(), LMMessage(lmmsg::kUpdateSetup), 0, 0);
    ::UpdateWindow(view->Handle());
    RECT client{};
    ::GetClientRect(view->Handle(), &client);
    const int32_t at = Find(L"received");
    ASSERT_TRUE(view->IsRowVisible(at));
    const int y = (at - view->Top()) * view->LineHeight() + view->LineHeight() / 2;
    EXPECT_EQ(PixelAt(view->Handle(), client.right - 4, y), static_cast<COLORREF>(0x00336699));
}
