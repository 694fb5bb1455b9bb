#include "framework/win32/NWinThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "framework/win32/NFrameWnd.h"

namespace {
constexpr UINT kBurst = WM_APP + 1;
constexpr UINT kAccelCommand = 41000;

class Frame : public NFrameWnd {
public:
    std::atomic<int> bursts{0};
    std::atomic<int> accelCommands{0};
    bool OnCmdMsg(UINT id, UINT code, HWND control) override
    {
        if (id == kAccelCommand) {
            ++accelCommands;
            return true;
        }
        return NFrameWnd::OnCmdMsg(id, code, control);
    }

protected:
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override
    {
        if (message == kBurst) {
            ++bursts;
            result = 0;
            return true;
        }
        return false;
    }
};

// Records every idle pass; after 5 passes of the first burst it posts a
// message (a new burst), after 5 passes of the second it closes its frame.
class Thread : public NWinThread {
public:
    std::vector<LONG> passes;  // the thread's own until it has ended
    int updates = 0;
    Frame* frame = nullptr;
    bool sawAcceleratorConsumed = false;

    bool InitInstance() override
    {
        frame = new Frame;
        SetMainWnd(frame);
        if (!frame->LoadFrame(1, WS_OVERLAPPEDWINDOW))
            return false;
        ACCEL accel{FVIRTKEY | FCONTROL, 'K', static_cast<WORD>(kAccelCommand)};
        m_accel = ::CreateAcceleratorTableW(&accel, 1);
        MSG key{frame->Handle(), WM_KEYDOWN, 'K', 0, 0, {0, 0}};
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
        sawAcceleratorConsumed = PreTranslateMessage(key);
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
        return true;
    }
    bool PreTranslateMessage(MSG& message) override
    {
        return m_accel != nullptr && ::TranslateAcceleratorW(frame->Handle(), m_accel, &message) != 0;
    }
    bool OnIdle(LONG count) override
    {
        passes.push_back(count);
        NWinThread::OnIdle(count);
        if (count == 4) {
            if (frame->bursts == 0)
                ::PostMessageW(frame->Handle(), kBurst, 0, 0);
            else
                ::PostMessageW(frame->Handle(), WM_CLOSE, 0, 0);
        }
        return count < 4;
    }
    int ExitInstance() override
    {
        if (m_accel != nullptr)
            ::DestroyAcceleratorTable(m_accel);
        delete frame;
        frame = nullptr;
        return 77;
    }

private:
    HACCEL m_accel = nullptr;
};

class Refuser : public NWinThread {
public:
    std::atomic<bool> exited{false};
    int ExitInstance() override
    {
        exited = true;
        return 5;
    }
};
}  // namespace

TEST(NWinThread, IdlePassesCountWhileNoMessageWaitsAndRestartAfterABurst)
{
    Thread thread;
    ASSERT_TRUE(thread.CreateThread(true));
    EXPECT_EQ(thread.WaitForEnd(0), static_cast<DWORD>(WAIT_TIMEOUT));  // suspended
    ASSERT_TRUE(thread.ResumeThread());
    ASSERT_EQ(thread.WaitForEnd(20000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    ASSERT_TRUE(::GetExitCodeThread(thread.ThreadHandle(), &code));
    EXPECT_EQ(code, 77u);
    EXPECT_TRUE(thread.sawAcceleratorConsumed);
    // Two bursts of passes 0..4, each ending when OnIdle asked for no more.
    // Further passes may come from the frame's own messages (activation,
    // painting) but each run starts at 0 and counts up by one.
    ASSERT_GE(thread.passes.size(), 10u);
    EXPECT_EQ(thread.passes[0], 0);
    int runs = 0;
    for (size_t i = 0; i < thread.passes.size(); ++i) {
        if (thread.passes[i] == 0)
            ++runs;
        else
            EXPECT_EQ(thread.passes[i], thread.passes[i - 1] + 1) << "at " << i;
        EXPECT_LE(thread.passes[i], 4);
    }
    EXPECT_GE(runs, 2);
    EXPECT_EQ(thread.IdlePassesTotal(), static_cast<long>(thread.passes.size()));
}

TEST(NWinThread, FailedInitInstanceStillRunsExitInstance)
{
    Refuser thread;
    ASSERT_TRUE(thread.CreateThread(false));
    ASSERT_EQ(thread.WaitForEnd(10000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(thread.exited);
    DWORD code = 0;
    ::GetExitCodeThread(thread.ThreadHandle(), &code);
    EXPECT_EQ(code, 5u);
    EXPECT_EQ(NWinThread::Current(), nullptr);  // this thread has none
}
