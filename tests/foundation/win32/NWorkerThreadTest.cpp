// The worker thread: its events and handshakes, and the life and report
// messages as they arrive in a real window's queue.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "foundation/win32/Handles.h"
#include "foundation/win32/NWorkerThread.h"

namespace {
// Answers every status with a report of the text's length and the text with
// "!" appended; ends on the stop event.
class TestWorker : public NWorkerThread {
public:
    ~TestWorker() override { Stop(INFINITE); }

    std::atomic<DWORD> result{3};
    std::atomic<bool> obeyStop{true};
    std::atomic<bool> stopInside{false};
    std::atomic<int> insideStopResult{-1};
    std::atomic<DWORD> insideStopError{0};
    std::atomic<int> starts{0}, exits{0};
    std::string lastTag;  // worker thread; read after it ended
    NEventHandle entered = NEventHandle::Make(true, false);
    NEventHandle release = NEventHandle::Make(true, false);

protected:
    void OnStart() override { ++starts; }
    void OnExit() override { ++exits; }
    DWORD Run() override
    {
        entered.Set();
        if (stopInside) {
            insideStopResult = Stop(INFINITE) ? 1 : 0;
            insideStopError = ::GetLastError();
        }
        if (!obeyStop) {
            ::WaitForSingleObject(release.Get(), INFINITE);
            return result;
        }
        const HANDLE waits[2] = {StopEvent(), StatusEvent()};
        while (ShouldContinue()) {
            const DWORD w = ::WaitForMultipleObjects(2, waits, FALSE, 5000);
            if (w != WAIT_OBJECT_0 + 1)
                break;
            std::string tag;
            std::wstring text;
            if (TakeStatus(tag, text)) {
                lastTag = tag;
                PostReport(static_cast<int32_t>(text.size()), text + L"!");
            }
        }
        return result;
    }
};

// A real top-level window whose queue the worker posts to.
class TestWindow {
public:
    TestWindow()
    {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"NWorkerThreadTestWindow";
        ::RegisterClassW(&wc);
        m_window = ::CreateWindowExW(0, wc.lpszClassName, L"worker test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                     nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow()
    {
        if (m_window != nullptr)
            ::DestroyWindow(m_window);
    }
    HWND Get() const { return m_window; }
    void Destroy()
    {
        ::DestroyWindow(m_window);
        m_window = nullptr;
    }

private:
    HWND m_window = nullptr;
};

struct SReceived {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Collects the given messages from the window's queue until `until` arrives or time runs out.
std::vector<SReceived> Pump(HWND window, UINT first, UINT last, UINT until, WPARAM untilParam, DWORD timeoutMs)
{
    std::vector<SReceived> got;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < timeoutMs) {
        MSG msg;
        while (::PeekMessageW(&msg, window, first, last, PM_REMOVE)) {
            got.push_back({msg.message, msg.wParam, msg.lParam});
            if (msg.message == until && msg.wParam == untilParam)
                return got;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    return got;
}
}  // namespace

class NWorkerThreadMessages : public testing::Test {
protected:
    void SetUp() override
    {
        life = ::RegisterWindowMessageW(L"NWorkerThreadTest::ms_cnMsgIDLife");
        report = ::RegisterWindowMessageW(L"NWorkerThreadTest::ms_cnMsgIDReport");
        ASSERT_NE(0u, life);
        ASSERT_NE(0u, report);
        ASSERT_NE(nullptr, window.Get());
    }
    UINT Low() const { return life < report ? life : report; }
    UINT High() const { return life < report ? report : life; }

    UINT life = 0;
    UINT report = 0;
    TestWindow window;
};

TEST_F(NWorkerThreadMessages, LifeAndReportMessagesArriveInOrder)
{
    TestWorker worker;
    worker.SetNotify(window.Get(), life, report);
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.PostStatus(L"abc"));
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(worker.ReportEvent(), 5000));
    int32_t code = 0;
    std::wstring text;
    ASSERT_TRUE(worker.TakeReport(code, text));
    EXPECT_EQ(3, code);
    EXPECT_EQ(L"abc!", text);
    EXPECT_FALSE(worker.IsReportPending());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(worker.ReportEvent(), 0));
    EXPECT_FALSE(worker.TakeReport(code, text));  // nothing pending any more
    ASSERT_TRUE(worker.Stop(5000));
    EXPECT_EQ("MNLF", worker.lastTag);

    const auto got = Pump(window.Get(), Low(), High(), life, 0, 5000);
    ASSERT_EQ(3u, got.size());
    EXPECT_EQ(life, got[0].message);
    EXPECT_EQ(1u, got[0].wParam);
    EXPECT_EQ(report, got[1].message);
    EXPECT_EQ(3u, got[1].wParam);
    EXPECT_EQ(life, got[2].message);
    EXPECT_EQ(0u, got[2].wParam);
    for (const auto& m : got)
        EXPECT_EQ(reinterpret_cast<LPARAM>(&worker), m.lParam);
    EXPECT_EQ(3u, worker.ExitCode());
}

TEST_F(NWorkerThreadMessages, NothingIsPostedWithoutALiveWindow)
{
    TestWorker worker;
    worker.SetNotify(window.Get(), life, 0);  // life only
    ASSERT_TRUE(worker.Start());
    ASSERT_TRUE(worker.PostStatus(L"x"));
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(worker.ReportEvent(), 5000));
    ASSERT_TRUE(worker.Stop(5000));
    const auto got = Pump(window.Get(), Low(), High(), life, 0, 2000);
    ASSERT_EQ(2u, got.size());  // no report message: its number is 0
    EXPECT_EQ(life, got[0].message);
    EXPECT_EQ(life, got[1].message);

    // The window goes away while the worker still points at it.
    TestWorker orphan;
    orphan.SetNotify(window.Get(), life, report);
    window.Destroy();
    ASSERT_TRUE(orphan.Start());
    ASSERT_TRUE(orphan.PostStatus(L"y"));
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(orphan.ReportEvent(), 5000));
    EXPECT_TRUE(orphan.Stop(5000));
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, Low(), High(), PM_REMOVE));
}

TEST(NWorkerThread, StartStopAndRestart)
{
    TestWorker worker;
    worker.obeyStop = false;
    ASSERT_TRUE(worker.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), worker.entered.Wait(5000));
    const DWORD id = worker.ThreadId();
    EXPECT_FALSE(worker.Start());
    EXPECT_EQ(static_cast<DWORD>(ERROR_BUSY), ::GetLastError());
    EXPECT_EQ(id, worker.ThreadId());
    EXPECT_FALSE(worker.IsStopRequested());

    EXPECT_FALSE(worker.Stop(0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_TIMEOUT), ::GetLastError());
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_TRUE(worker.IsStopRequested());
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(worker.StopEvent(), 0));
    worker.release.Set();
    ASSERT_TRUE(worker.Stop(5000));
    EXPECT_EQ(3u, worker.ExitCode());
    EXPECT_TRUE(worker.Stop(0));  // ended: true at once

    // A restart clears the exit code, the stop flag and the stop event.
    worker.release.Reset();
    worker.entered.Reset();
    worker.result = 9;
    ASSERT_TRUE(worker.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), worker.entered.Wait(5000));
    EXPECT_EQ(0u, worker.ExitCode());
    EXPECT_FALSE(worker.IsStopRequested());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(worker.StopEvent(), 0));
    worker.release.Set();
    ASSERT_TRUE(worker.Stop(5000));
    EXPECT_EQ(9u, worker.ExitCode());
    EXPECT_EQ(2, worker.starts.load());
    EXPECT_EQ(2, worker.exits.load());
}

TEST(NWorkerThread, RequestStopAndStopFromInside)
{
    TestWorker worker;
    EXPECT_FALSE(worker.RequestStop());
    EXPECT_EQ(static_cast<DWORD>(ERROR_REQUEST_ABORTED), ::GetLastError());
    ASSERT_TRUE(worker.Start());
    EXPECT_TRUE(worker.RequestStop());
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(worker.ThreadHandle(), 5000));
    EXPECT_TRUE(worker.Stop(0));

    TestWorker inside;
    inside.stopInside = true;
    ASSERT_TRUE(inside.Start());
    ASSERT_TRUE(inside.Stop(5000));
    EXPECT_EQ(0, inside.insideStopResult.load());
    EXPECT_EQ(static_cast<DWORD>(ERROR_POSSIBLE_DEADLOCK), inside.insideStopError.load());
}

TEST(NWorkerThread, TerminateAndTheStateMutex)
{
    TestWorker worker;
    worker.obeyStop = false;
    ASSERT_TRUE(worker.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), worker.entered.Wait(5000));
    EXPECT_TRUE(worker.Terminate(77));
    EXPECT_EQ(77u, worker.ExitCode());
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(worker.Terminate(78));  // already ended
    // The state mutex is free again: status and report still work.
    EXPECT_TRUE(worker.PostStatus(L"after"));
    EXPECT_TRUE(worker.IsStatusPending());
    std::string tag;
    std::wstring text;
    EXPECT_TRUE(worker.TakeStatus(tag, text));
    EXPECT_EQ("MNLF", tag);
    EXPECT_EQ(L"after", text);
    EXPECT_FALSE(worker.IsStatusPending());
}

TEST(NWorkerThread, NullObjectOperationsFailWithInvalidToken)
{
    NWorkerThread* volatile slot = reinterpret_cast<NWorkerThread*>(uintptr_t{16});
    NWorkerThread* w = slot;
    std::string tag;
    std::wstring text;
    int32_t code = 0;
    ::SetLastError(0);
    EXPECT_FALSE(w->Start());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_TOKEN), ::GetLastError());
    ::SetLastError(0);
    EXPECT_FALSE(w->Stop(INFINITE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_TOKEN), ::GetLastError());
    EXPECT_FALSE(w->Terminate(0));
    EXPECT_FALSE(w->RequestStop());
    EXPECT_FALSE(w->ShouldContinue());
    EXPECT_FALSE(w->PostStatus(L"x"));
    EXPECT_FALSE(w->PostReport(1, L"x"));
    EXPECT_FALSE(w->TakeStatus(tag, text));
    EXPECT_FALSE(w->TakeReport(code, text));
    EXPECT_EQ(nullptr, w->StopEvent());
    ::SetLastError(0);
    w->SetNotify(nullptr, 0, 0);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_TOKEN), ::GetLastError());
}
