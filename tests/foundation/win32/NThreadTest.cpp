// The restartable thread: start, stop, restart, termination, the null object
// convention and thread naming, on real platform threads.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "foundation/win32/Handles.h"
#include "foundation/win32/NThread.h"
#include "foundation/win32/NThreadName.h"

namespace {
// A body that waits for the test to release it, then returns a chosen code.
class TestThread : public NThread {
public:
    TestThread() { m_release.Create(true, false); }
    ~TestThread() override
    {
        m_release.Set();
        Stop(INFINITE);
    }

    std::atomic<DWORD> result{7};
    std::atomic<bool> obeyStop{true};  // false: the body ignores stop requests
    std::atomic<int> starts{0}, exits{0}, wakes{0}, terminated{0};
    std::atomic<bool> stopInside{false};
    std::atomic<int> insideStopResult{-1};
    std::atomic<DWORD> insideStopError{0};
    std::atomic<DWORD> insideStopTicks{0};
    std::atomic<bool> throwInRun{false};
    const char* name = nullptr;
    NEventHandle entered = NEventHandle::Make(true, false);

    void Release() { m_release.Set(); }
    void Hold() { m_release.Reset(); }

protected:
    void OnStart() override
    {
        ++starts;
        if (name != nullptr)
            NSetThreadName(name);
    }
    DWORD Run() override
    {
        entered.Set();
        if (stopInside) {
            const DWORD before = ::GetTickCount();
            insideStopResult = Stop(INFINITE) ? 1 : 0;
            insideStopError = ::GetLastError();
            insideStopTicks = ::GetTickCount() - before;
        }
        if (throwInRun)
            throw 42;
        // Waits on its own event: the test's Release, or Wake when it obeys stops.
        ::WaitForSingleObject(m_release.Get(), INFINITE);
        return result;
    }
    void OnExit() override { ++exits; }
    void OnTerminated() override { ++terminated; }
    void Wake() override
    {
        ++wakes;
        if (obeyStop)
            m_release.Set();
    }

private:
    NEventHandle m_release;
};

}  // namespace

TEST(NThread, StartRunsTheHooksAroundTheBody)
{
    TestThread t;
    t.result = 7;
    t.Release();
    ASSERT_TRUE(t.Start());
    EXPECT_NE(0u, t.ThreadId());
    ASSERT_TRUE(t.Stop(5000));
    EXPECT_EQ(1, t.starts.load());
    EXPECT_EQ(1, t.exits.load());
    EXPECT_EQ(7u, t.ExitCode());
    EXPECT_FALSE(t.IsRunning());
    EXPECT_EQ(0u, t.ThreadId());
    EXPECT_EQ(nullptr, t.ThreadHandle());
}

TEST(NThread, StartOnARunningThreadFailsAndChangesNothing)
{
    TestThread t;
    t.obeyStop = false;
    ASSERT_TRUE(t.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), t.entered.Wait(5000));
    const DWORD id = t.ThreadId();
    HANDLE handle = t.ThreadHandle();
    ::SetLastError(0);
    EXPECT_FALSE(t.Start());
    EXPECT_EQ(static_cast<DWORD>(ERROR_BUSY), ::GetLastError());
    EXPECT_EQ(id, t.ThreadId());
    EXPECT_EQ(handle, t.ThreadHandle());
    EXPECT_TRUE(t.IsRunning());
    EXPECT_FALSE(t.IsStopRequested());
    EXPECT_EQ(1, t.starts.load());
    t.Release();
    EXPECT_TRUE(t.Stop(5000));
}

TEST(NThread, StopFromInsideRunReturnsFalseWithoutWaiting)
{
    TestThread t;
    t.stopInside = true;
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(t.Stop(5000));  // the inside Stop set the flag; the body ends
    EXPECT_EQ(0, t.insideStopResult.load());
    EXPECT_EQ(static_cast<DWORD>(ERROR_POSSIBLE_DEADLOCK), t.insideStopError.load());
    EXPECT_LT(t.insideStopTicks.load(), 1000u);
    EXPECT_GE(t.wakes.load(), 1);
}

TEST(NThread, StopWithZeroTimeoutLeavesItRunningWithTheStopFlag)
{
    TestThread t;
    t.obeyStop = false;
    ASSERT_TRUE(t.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), t.entered.Wait(5000));
    EXPECT_FALSE(t.Stop(0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_TIMEOUT), ::GetLastError());
    EXPECT_TRUE(t.IsRunning());
    EXPECT_TRUE(t.IsStopRequested());
    EXPECT_FALSE(t.ShouldContinue());
    EXPECT_NE(0u, t.ThreadId());  // still started: the caller may try again
    t.Release();
    EXPECT_TRUE(t.Stop(5000));
    EXPECT_FALSE(t.IsRunning());
}

TEST(NThread, StoppedThreadRestartsWithItsExitCodeCleared)
{
    TestThread t;
    t.result = 11;
    t.Release();
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(t.Stop(5000));
    EXPECT_EQ(11u, t.ExitCode());

    t.Hold();
    t.obeyStop = false;
    t.entered.Reset();
    t.result = 12;
    ASSERT_TRUE(t.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), t.entered.Wait(5000));
    EXPECT_EQ(0u, t.ExitCode());
    EXPECT_FALSE(t.IsStopRequested());
    EXPECT_TRUE(t.ShouldContinue());
    t.Release();
    ASSERT_TRUE(t.Stop(5000));
    EXPECT_EQ(12u, t.ExitCode());
    EXPECT_EQ(2, t.starts.load());
}

TEST(NThread, StopAfterTheBodyEndedByItselfCleansUpWithoutWaking)
{
    TestThread t;
    t.result = 5;
    t.Release();
    ASSERT_TRUE(t.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), ::WaitForSingleObject(t.ThreadHandle(), 5000));
    const int wakes = t.wakes.load();
    EXPECT_TRUE(t.Stop(0));
    EXPECT_EQ(wakes, t.wakes.load());
    EXPECT_FALSE(t.IsStopRequested());
    EXPECT_EQ(nullptr, t.ThreadHandle());
    EXPECT_EQ(0u, t.ThreadId());
    EXPECT_EQ(5u, t.ExitCode());
}

TEST(NThread, TerminateEndsABodyThatIgnoresStops)
{
    TestThread t;
    t.obeyStop = false;
    ASSERT_TRUE(t.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), t.entered.Wait(5000));
    EXPECT_TRUE(t.Terminate(42));
    EXPECT_EQ(1, t.terminated.load());
    EXPECT_EQ(0, t.exits.load());  // the body never got to its end
    EXPECT_EQ(42u, t.ExitCode());
    EXPECT_FALSE(t.IsRunning());
    EXPECT_EQ(nullptr, t.ThreadHandle());
    // Already ended: true, no second OnTerminated.
    EXPECT_TRUE(t.Terminate(43));
    EXPECT_EQ(1, t.terminated.load());
    EXPECT_EQ(42u, t.ExitCode());
    // And it can run again.
    t.obeyStop = true;
    t.Release();
    ASSERT_TRUE(t.Start());
    EXPECT_TRUE(t.Stop(5000));
}

TEST(NThread, RequestStopNeedsARunningThread)
{
    TestThread t;
    ::SetLastError(0);
    EXPECT_FALSE(t.RequestStop());
    EXPECT_EQ(static_cast<DWORD>(ERROR_REQUEST_ABORTED), ::GetLastError());
    EXPECT_TRUE(t.Stop(0));  // never started: nothing to wait for

    t.Hold();
    ASSERT_TRUE(t.Start());
    EXPECT_TRUE(t.RequestStop());  // right after Start, before the body may run
    ASSERT_TRUE(t.Stop(5000));
    EXPECT_GE(t.wakes.load(), 1);
    EXPECT_FALSE(t.RequestStop());
    EXPECT_EQ(static_cast<DWORD>(ERROR_REQUEST_ABORTED), ::GetLastError());
}

TEST(NThread, EscapingExceptionEndsTheRunNotTheProcess)
{
    TestThread t;
    t.throwInRun = true;
    ASSERT_TRUE(t.Start());
    ASSERT_TRUE(t.Stop(5000));
    EXPECT_EQ(574u, t.ExitCode());
    EXPECT_FALSE(t.IsRunning());
}

TEST(NThread, NullObjectOperationsFailWithInvalidToken)
{
    // Through a pointer the compiler cannot see through, as callers hold them.
    NThread* volatile slot = nullptr;
    for (uintptr_t address : {uintptr_t{0}, uintptr_t{8}, uintptr_t{511}}) {
        slot = reinterpret_cast<NThread*>(address);
        NThread* t = slot;
        SCOPED_TRACE(address);
        ::SetLastError(0);
        EXPECT_FALSE(t->Start());
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_TOKEN), ::GetLastError());
        ::SetLastError(0);
        EXPECT_FALSE(t->Stop(0));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_TOKEN), ::GetLastError());
        ::SetLastError(0);
        EXPECT_FALSE(t->Terminate(1));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_TOKEN), ::GetLastError());
        ::SetLastError(0);
        EXPECT_FALSE(t->RequestStop());
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_TOKEN), ::GetLastError());
        ::SetLastError(0);
        EXPECT_FALSE(t->ShouldContinue());
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_TOKEN), ::GetLastError());
        EXPECT_FALSE(t->IsRunning());
        EXPECT_EQ(0u, t->ExitCode());
        EXPECT_EQ(0u, t->ThreadId());
    }
}

TEST(NThread, NamingTheThreadIsHarmlessAndVisible)
{
    TestThread t;
    t.name = "DirWatch";
    ASSERT_TRUE(t.Start());
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), t.entered.Wait(5000));
    using GetDescriptionFn = HRESULT(WINAPI*)(HANDLE, PWSTR*);
    auto get = reinterpret_cast<GetDescriptionFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")));
    if (get != nullptr) {
        PWSTR description = nullptr;
        if (SUCCEEDED(get(t.ThreadHandle(), &description)) && description != nullptr) {
            EXPECT_EQ(std::wstring(L"DirWatch"), description);
            ::LocalFree(description);
        }
    }
    NSetThreadName("main test thread");  // no debugger here: must simply return
    NSetThreadName(nullptr);
    t.Release();
    EXPECT_TRUE(t.Stop(5000));
}

TEST(NThread, ManyRestartsWithStopRequestsFromAnotherThread)
{
    TestThread t;
    NEventHandle go = NEventHandle::Make(false, false);
    std::atomic<bool> quit{false};
    std::atomic<int> accepted{0};
    HANDLE goEvent = go.Get();
    std::thread requester([&] {
        while (!quit) {
            if (::WaitForSingleObject(goEvent, 100) == WAIT_OBJECT_0 && t.RequestStop())
                ++accepted;
        }
    });
    for (int i = 0; i < 100; ++i) {
        t.Hold();
        ASSERT_TRUE(t.Start()) << i;
        go.Set();
        ASSERT_TRUE(t.Stop(5000)) << i;
        EXPECT_FALSE(t.IsRunning());
    }
    quit = true;
    requester.join();
    EXPECT_EQ(100, t.starts.load());
    EXPECT_EQ(100, t.exits.load());
    EXPECT_GE(t.wakes.load(), 100);
}
