// A board floods 80-character lines over loopback into a real console view
// in a window; prints what the view took in (MB/s, lines/s), the peak working
// set, whether the window kept repainting, and how fast closing the window
// ended the flood.
//
// bench_view_flood [megabytes]   (default 1024)
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "comm/LMRequestCodes.h"
#include "comm/win32/LMCommThread.h"
#include "config/LMConsConfig.h"
#include "console/win32/LMConsView.h"

namespace {

constexpr size_t kLineBytes = 82;  // 80 characters, CR, LF
constexpr size_t kLinesPerChunk = 800;

std::string MakeChunk()
{
    std::string chunk;
    chunk.reserve(kLineBytes * kLinesPerChunk);
    for (size_t i = 0; i < kLinesPerChunk; ++i) {
        char head[16];
        std::snprintf(head, sizeof head, "L%06u ", static_cast<unsigned>(i));
        std::string line = head;
        while (line.size() < 80)
            line += static_cast<char>('a' + (line.size() + i) % 26);
        chunk += line;
        chunk += "\r\n";
    }
    return chunk;
}

// The board: accepts one connection, sends until `limit` bytes went out or
// the connection fails (the console closed it).
class Board {
public:
    explicit Board(uint64_t limit) : m_limit(limit)
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(m_listen, 1);
        int len = sizeof a;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        m_thread = std::thread([this] { Run(); });
    }
    ~Board()
    {
        m_quit = true;
        ::closesocket(m_listen);
        if (m_thread.joinable())
            m_thread.join();
    }

    uint16_t port = 0;
    std::atomic<uint64_t> sent{0};
    std::atomic<bool> go{false};        // the console is connected: start sending
    std::atomic<bool> finished{false};  // all sent, or the peer went away
    std::atomic<bool> failed{false};    // the peer went away
    std::atomic<DWORD> endTick{0};

private:
    void Run()
    {
        const SOCKET peer = ::accept(m_listen, nullptr, nullptr);
        if (peer == INVALID_SOCKET) {
            failed = true;
            finished = true;
            return;
        }
        while (!go.load() && !m_quit)
            ::Sleep(1);
        const std::string chunk = MakeChunk();
        size_t offset = 0;  // a send may take only part of the chunk
        while (!m_quit && (sent.load() < m_limit || offset != 0)) {
            const int n = ::send(peer, chunk.data() + offset, static_cast<int>(chunk.size() - offset), 0);
            if (n <= 0) {
                failed = true;
                break;
            }
            sent += static_cast<uint64_t>(n);
            offset = (offset + static_cast<size_t>(n)) % chunk.size();
        }
        endTick = ::GetTickCount();
        finished = true;
        // Keep the connection until told, so the console does not see a
        // hang-up before it has read everything.
        while (!m_quit) {
            char b;
            if (::recv(peer, &b, 1, 0) <= 0)
                break;
        }
        ::closesocket(peer);
    }

    const uint64_t m_limit;
    SOCKET m_listen = INVALID_SOCKET;
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

LMConsView* g_view = nullptr;
DWORD g_viewDestroyMs = 0;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (g_view != nullptr && g_view->Handle() != nullptr)
            ::MoveWindow(g_view->Handle(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_CLOSE: {
        // What the console frame does: the view (and its worker) go first.
        const DWORD start = ::GetTickCount();
        if (g_view != nullptr)
            g_view->DestroyWindow();
        g_viewDestroyMs = ::GetTickCount() - start;
        ::DestroyWindow(window);
        return 0;
    }
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND MakeFrame()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &FrameProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ViewFloodFrame";
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassExW(&wc);
    return ::CreateWindowExW(0, L"ViewFloodFrame", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 800, 600, nullptr,
                             nullptr, wc.hInstance, nullptr);
}

bool PumpFor(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    MSG msg;
    do {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        // Under a flood the view keeps posting itself work: look at the
        // clock between messages, not only when the queue is empty.
        while (::GetTickCount() - start < ms && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                return false;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    } while (::GetTickCount() - start < ms);
    return true;
}

size_t PeakWorkingSet()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

size_t WorkingSet()
{
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.WorkingSetSize;
}

void Configure(LMConsConfig& config, uint16_t port)
{
    LMConsSettings& s = config.Settings();
    s.Name = L"Flood";
    s.ConMode = LMConsSettings::kTcpIp;
    s.HostPort = L"127.0.0.1:" + std::to_wstring(port);
    s.AutoConnect = true;
    s.LogDepth = 5000;
    s.RxWrap = 200;  // an 80-character line is never cut
}

// Phase 1: the flood of `bytes` into the view; returns false when it failed.
bool Flood(uint64_t bytes)
{
    Board board(bytes);
    LMConsConfig config;
    Configure(config, board.port);
    HWND frame = MakeFrame();
    LMConsView view(&config);
    g_view = &view;
    if (frame == nullptr || !view.Create(frame, 1)) {
        std::printf("cannot create the console window (error %lu)\n", ::GetLastError());
        return false;
    }
    const DWORD connectStart = ::GetTickCount();
    while (view.Worker()->m_state.load() != LMCommThread::kConnected) {
        if (!PumpFor(20) || ::GetTickCount() - connectStart > 15000) {
            std::printf("the console did not connect (state %u); its log:\n",
                        static_cast<unsigned>(view.Worker()->m_state.load()));
            const ConsoleLineRing& ring = view.Model().Ring();
            for (int32_t i = 0; i <= ring.Last(); ++i)
                std::printf("  %ls\n", ring.Line(i).text.c_str());
            return false;
        }
    }
    PumpFor(100);  // the connection notes
    const uint64_t baseLines = view.LinesMeasured();
    board.go = true;
    const uint64_t wantLines = (bytes + kLineBytes - 1) / kLineBytes;
    const uint64_t expected = ((wantLines + kLinesPerChunk - 1) / kLinesPerChunk) * kLinesPerChunk;
    const DWORD start = ::GetTickCount();
    uint64_t lastRows = view.RowsDrawn();
    int secondsWithoutPaint = 0;
    int seconds = 0;
    std::printf("%6s %10s %9s %11s %9s %8s\n", "s", "MB shown", "MB/s", "lines/s", "WS MB", "rows");
    uint64_t lastLines = 0;
    uint64_t lastLinesBefore = 0;
    int stalled = 0;
    DWORD lastArrival = start;
    for (;;) {
        // Quarter seconds, so that the end of the flood is timed closely.
        bool quit = false;
        for (int q = 0; q < 4 && !quit; ++q) {
            const uint64_t before = view.LinesMeasured();
            quit = !PumpFor(250);
            if (view.LinesMeasured() != before)
                lastArrival = ::GetTickCount();
        }
        if (quit)
            break;
        ++seconds;
        const uint64_t lines = view.LinesMeasured() - baseLines;
        const uint64_t rows = view.RowsDrawn();
        if (rows == lastRows && lines != lastLines)
            ++secondsWithoutPaint;  // lines came in but the window did not show them
        const double mb = static_cast<double>(lines * kLineBytes) / 1048576.0;
        const double dmb = static_cast<double>((lines - lastLines) * kLineBytes) / 1048576.0;
        std::printf("%6d %10.1f %9.1f %11llu %9.1f %8llu\n", seconds, mb, dmb,
                    static_cast<unsigned long long>(lines - lastLines), WorkingSet() / 1048576.0,
                    static_cast<unsigned long long>(rows - lastRows));
        std::fflush(stdout);
        lastRows = rows;
        lastLines = lines;
        if (board.finished.load() && lines >= expected)
            break;
        // Everything sent but lines stopped coming: report the shortfall.
        stalled = (board.finished.load() && lines == lastLinesBefore) ? stalled + 1 : 0;
        lastLinesBefore = lines;
        if (stalled >= 3)
            break;
        if (board.failed.load() || seconds > 3600)
            break;
    }
    const DWORD elapsed = lastArrival - start;
    uint64_t lines = view.LinesMeasured() - baseLines;
    if (lines < expected) {
        // Does a request wake the worker to the input it left waiting?
        view.Worker()->PostRequest(LMFourCC('C', 'S', 'E', 'T'));
        PumpFor(2000);
        const uint64_t after = view.LinesMeasured() - baseLines;
        const ConsoleLineRing& ring = view.Model().Ring();
        int odd = 0;
        for (int32_t i = 0; i <= ring.Last(); ++i) {
            if (ring.Line(i).text.size() != 80 && odd++ < 3)
                std::printf("odd line %d (kind %u, %zu characters): %ls\n", i, ring.Line(i).scheme,
                            ring.Line(i).text.size(), ring.Line(i).text.c_str());
        }
        std::printf("%d of the last %d lines are not 80 characters long; %zu entries still queued\n", odd,
                    ring.Last() + 1, view.Log().QueuedCount());
        std::printf("\nstalled with %llu lines missing; a request to the worker brought %llu more\n",
                    static_cast<unsigned long long>(expected - lines),
                    static_cast<unsigned long long>(after - lines));
    }
    const double secs = elapsed / 1000.0;
    const double mb = static_cast<double>(lines * kLineBytes) / 1048576.0;
    // The view's stores include the updates of lines that arrived in pieces.
    std::printf("\nflood: %.1f MB (%llu stores for %llu lines of 80 characters) shown in %.1f s\n", mb,
                static_cast<unsigned long long>(lines), static_cast<unsigned long long>(expected), secs);
    std::printf("       %.1f MB/s, %.0f lines/s, peak working set %.1f MB\n", mb / secs, lines / secs,
                PeakWorkingSet() / 1048576.0);
    std::printf("       rows drawn %llu; seconds without a repaint during the flood: %d of %d\n",
                static_cast<unsigned long long>(view.RowsDrawn()), secondsWithoutPaint, seconds);
    if (lines < expected)
        std::printf("       %llu of %llu lines sent never reached the view\n",
                    static_cast<unsigned long long>(expected - lines), static_cast<unsigned long long>(expected));
    std::printf("       last line on screen: %ls\n",
                view.Model().Ring().Last() >= 0
                    ? view.Model().Ring().Line(view.Model().Ring().Last()).text.c_str()
                    : L"(none)");
    g_view = nullptr;
    view.DestroyWindow();
    ::DestroyWindow(frame);
    PumpFor(50);
    return lines >= expected;
}

// Phase 0: the window alone, no worker: what storing a line and painting cost.
void StoreCost()
{
    LMConsConfig config;
    Configure(config, 1);
    config.Settings().AutoConnect = false;
    HWND frame = MakeFrame();
    LMConsView view(&config);
    g_view = &view;
    if (frame == nullptr || !view.Create(frame, 1))
        return;
    PumpFor(100);
    const std::string chunk = MakeChunk();
    std::wstring line(chunk.begin(), chunk.begin() + 80);
    constexpr int kLines = 200000;
    LARGE_INTEGER f, a, b, c;
    ::QueryPerformanceFrequency(&f);
    ::QueryPerformanceCounter(&a);
    for (int i = 0; i < kLines; ++i)
        view.AppendEntry(6, line);
    view.AfterBatch(true);
    ::QueryPerformanceCounter(&b);
    constexpr int kPaints = 50;
    for (int i = 0; i < kPaints; ++i) {
        view.Redraw();
        ::UpdateWindow(view.Handle());
    }
    ::QueryPerformanceCounter(&c);
    std::printf("font: one advance of %d pixels for printable ASCII (0: measured per line)\n", view.AsciiAdvance());
    std::printf("store: %.2f us per line (%d lines); full repaint of %d rows: %.2f ms\n",
                (b.QuadPart - a.QuadPart) * 1e6 / f.QuadPart / kLines, kLines, view.VisibleRows(),
                (c.QuadPart - b.QuadPart) * 1e3 / f.QuadPart / kPaints);
    g_view = nullptr;
    view.DestroyWindow();
    ::DestroyWindow(frame);
    PumpFor(50);
}

// Phase 2: an endless flood; closing the window must end it at once.
void CloseDuringFlood()
{
    Board board(~0ull);
    LMConsConfig config;
    Configure(config, board.port);
    HWND frame = MakeFrame();
    LMConsView view(&config);
    g_view = &view;
    if (frame == nullptr || !view.Create(frame, 1))
        return;
    board.go = true;
    PumpFor(2000);
    const uint64_t before = board.sent.load();
    const DWORD closeTick = ::GetTickCount();
    ::SendMessageW(frame, WM_CLOSE, 0, 0);
    const DWORD closed = ::GetTickCount() - closeTick;
    while (!board.finished.load() && ::GetTickCount() - closeTick < 10000)
        ::Sleep(1);
    g_view = nullptr;
    std::printf("\nclose during flood: %.1f MB had been sent; the view (worker included) was gone %lu ms after "
                "WM_CLOSE, the frame %lu ms after it; the board's send failed %lu ms after the close%s\n",
                before / 1048576.0, g_viewDestroyMs, closed, board.endTick.load() - closeTick,
                board.failed.load() ? "" : " (it did NOT fail)");
}
}  // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    uint64_t megabytes = 1024;
    if (argc > 1)
        megabytes = std::strtoull(argv[1], nullptr, 10);
    if (megabytes == 0)
        megabytes = 1;
    WSADATA data{};
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        std::printf("Windows Sockets did not start\n");
        return 1;
    }
    std::printf("flooding %llu MB of 80-character lines into a console view\n",
                static_cast<unsigned long long>(megabytes));
    StoreCost();
    const bool ok = Flood(megabytes * 1048576ull);
    CloseDuringFlood();
    ::WSACleanup();
    return ok ? 0 : 2;
}
