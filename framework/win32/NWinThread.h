#pragma once
// A user-interface thread: InitInstance creates its windows, Run pumps its
// own message loop with idle passes, ExitInstance cleans up. The program's
// main thread is one too (NWinApp); every console window runs on one of its own.
#include <windows.h>

#include <atomic>

#include "foundation/win32/Handles.h"
#include "framework/win32/NCmdUI.h"

class NWnd;

class NWinThread {
public:
    NWinThread() = default;
    // Hazard: never destroy the object while its thread runs; WaitForEnd first.
    virtual ~NWinThread() = default;
    NWinThread(const NWinThread&) = delete;
    NWinThread& operator=(const NWinThread&) = delete;

    // Starts a new thread that runs InitInstance, Run (when it succeeded) and
    // ExitInstance. With suspended the thread waits for ResumeThread, so the
    // creator can link it to its data first.
    bool CreateThread(bool suspended);
    bool ResumeThread();
    // WAIT_OBJECT_0 when the thread has ended (or never started).
    DWORD WaitForEnd(DWORD timeoutMs) const;
    DWORD ThreadId() const noexcept { return m_threadId.load(); }
    // With auto-delete the thread deletes its object after ExitInstance;
    // set it before the thread runs.
    void SetAutoDelete(bool autoDelete) noexcept { m_autoDelete = autoDelete; }
    HANDLE ThreadHandle() const noexcept { return m_thread.Get(); }

    // The object whose loop runs on the calling thread, or null.
    static NWinThread* Current() noexcept;

    NWnd* MainWnd() const noexcept { return m_mainWnd; }
    void SetMainWnd(NWnd* window) noexcept { m_mainWnd = window; }

    virtual bool InitInstance() { return false; }
    virtual int ExitInstance() { return m_exitCode; }
    // The message loop; ends at WM_QUIT and returns ExitInstance().
    virtual int Run();
    // True when the message was consumed (accelerators); then it is not
    // translated or dispatched.
    virtual bool PreTranslateMessage(MSG& message) { return false; }
    // One idle pass; count starts at 0 after every burst of messages. True
    // asks for another pass while no message waits. The base brings the main
    // window's command states up to date on the first pass.
    virtual bool OnIdle(LONG count);

    // The last step of command routing, after the view and the frame.
    virtual bool OnCmdMsg(UINT id, UINT code, HWND control) { return false; }
    virtual bool OnUpdateCmdUI(NCmdUI& cmd) { return false; }

    // Idle passes run so far on this thread (all bursts together).
    long IdlePassesTotal() const noexcept { return m_idleTotal.load(); }

protected:
    // Makes this the calling thread's object; the thread procedure and
    // NWinApp::Main do it before InitInstance.
    void BindToCallingThread() noexcept;
    // Messages that do not restart the idle count: a mouse move that did not
    // move and the caret's blink timer would otherwise keep the idle passes
    // going for ever.
    bool IsIdleMessage(const MSG& message);

    int m_exitCode = 0;

private:
    static DWORD WINAPI ThreadProc(LPVOID self) noexcept;

    NHandle m_thread;
    std::atomic<DWORD> m_threadId{0};
    NWnd* m_mainWnd = nullptr;  // the thread's own
    bool m_autoDelete = false;
    std::atomic<long> m_idleTotal{0};
    POINT m_lastMouse{-1, -1};
    UINT m_lastMouseMessage = 0;
};
