// The log's notice as a posted registered message to a real window.
#include "logging/win32/LMLogWindowListener.h"

#include "logging/LMLog.h"

#include <gtest/gtest.h>

namespace {

struct SWindowState {
    int notices = 0;
    LPARAM lastParam = 0;
    WPARAM lastWParam = 1;
    int drained = 0;
};

SWindowState g_state;

LRESULT CALLBACK TestWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg != 0 && msg == LMLogWindowListener::Message()) {
        ++g_state.notices;
        g_state.lastParam = lp;
        g_state.lastWParam = wp;
        // The view's handler: drain until empty, which re-arms.
        auto* log = reinterpret_cast<LMLog*>(lp);
        while (LMLogEntry* e = log->PopEntry()) {
            ++g_state.drained;
            LMLogEntry::Release(e);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND MakeWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LMLogListenerTestWnd";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"log test", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

}  // namespace

TEST(LMLogWindowListener, PostsOneRegisteredMessageWithTheLog)
{
    EXPECT_NE(LMLogWindowListener::Message(), 0u);
    EXPECT_EQ(LMLogWindowListener::Message(), RegisterWindowMessageW(L"LMConsView::ms_cnFromLogMsgID"));
    HWND hwnd = MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    g_state = {};
    {
        LMLog log;
        LMLogWindowListener::Attach(log, hwnd);
        EXPECT_TRUE(log.IsWindowValid());
        EXPECT_EQ(log.PopEntry(), nullptr);  // the view's first drain arms
        for (int i = 0; i < 100; ++i)
            log.AddEntry(L"line\r\n", 6, NTimeStamp(1));
        Pump();
        EXPECT_EQ(g_state.notices, 1);
        EXPECT_EQ(g_state.drained, 100);
        EXPECT_EQ(g_state.lastParam, reinterpret_cast<LPARAM>(&log));
        EXPECT_EQ(g_state.lastWParam, 0u);
        log.AddEntry(L"again", 6, NTimeStamp(1));
        Pump();
        EXPECT_EQ(g_state.notices, 2);
        Pump();
    }
    DestroyWindow(hwnd);
}

TEST(LMLogWindowListener, AWindowThatIsGoneIsNoTarget)
{
    HWND hwnd = MakeWindow();
    ASSERT_NE(hwnd, nullptr);
    DestroyWindow(hwnd);
    LMLog log;
    LMLogWindowListener::Attach(log, hwnd);
    EXPECT_FALSE(log.IsWindowValid());
    LMLogWindowListener::Attach(log, nullptr);
    EXPECT_FALSE(log.IsWindowValid());
    EXPECT_EQ(log.PopEntry(), nullptr);
    EXPECT_FALSE(log.IsNotifyArmed());
    log.AddEntry(L"waits", 6, NTimeStamp(1));
    EXPECT_EQ(log.QueuedCount(), 1u);
}
