#include "framework/win32/NWinThread.h"

#include "framework/win32/NWnd.h"

namespace {
thread_local NWinThread* t_current = nullptr;
}

NWinThread* NWinThread::Current() noexcept
{
    return t_current;
}

void NWinThread::BindToCallingThread() noexcept
{
    t_current = this;
    m_threadId = ::GetCurrentThreadId();
}

bool NWinThread::CreateThread(bool suspended)
{
    if (m_thread.IsValid() && ::WaitForSingleObject(m_thread.Get(), 0) == WAIT_TIMEOUT) {
        ::SetLastError(ERROR_BUSY);
        return false;
    }
    DWORD id = 0;
    m_thread.Reset(::CreateThread(nullptr, 0, &NWinThread::ThreadProc, this, CREATE_SUSPENDED, &id));
    if (!m_thread.IsValid())
        return false;
    m_threadId = id;
    if (!suspended)
        ::ResumeThread(m_thread.Get());
    return true;
}

bool NWinThread::ResumeThread()
{
    return m_thread.IsValid() && ::ResumeThread(m_thread.Get()) != static_cast<DWORD>(-1);
}

DWORD NWinThread::WaitForEnd(DWORD timeoutMs) const
{
    if (!m_thread.IsValid())
        return WAIT_OBJECT_0;
    return ::WaitForSingleObject(m_thread.Get(), timeoutMs);
}

DWORD WINAPI NWinThread::ThreadProc(LPVOID param) noexcept
{
    auto* self = static_cast<NWinThread*>(param);
    int code = 0;
    try {
        self->BindToCallingThread();
        if (self->InitInstance())
            code = self->Run();
        else
            code = self->ExitInstance();
    } catch (...) {
        code = ERROR_INTERNAL_ERROR;
    }
    t_current = nullptr;
    // Nobody else may touch the object after this: console threads are
    // created, handed over and forgotten by their creator.
    if (self->m_autoDelete)
        delete self;
    return static_cast<DWORD>(code);
}

bool NWinThread::IsIdleMessage(const MSG& message)
{
    if (message.message == WM_MOUSEMOVE || message.message == WM_NCMOUSEMOVE) {
        const bool same = message.message == m_lastMouseMessage && message.pt.x == m_lastMouse.x &&
                          message.pt.y == m_lastMouse.y;
        m_lastMouse = message.pt;
        m_lastMouseMessage = message.message;
        return !same;
    }
    constexpr UINT kCaretBlinkMessage = 0x0118;
    return message.message != WM_PAINT && message.message != kCaretBlinkMessage;
}

bool NWinThread::OnIdle(LONG count)
{
    if (count == 0 && m_mainWnd != nullptr && m_mainWnd->Handle() != nullptr)
        m_mainWnd->OnIdleUpdate();
    return count < 1;
}

int NWinThread::Run()
{
    // Make sure the thread has a queue before the first PeekMessage.
    MSG message{};
    ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    bool idle = true;
    LONG count = 0;
    for (;;) {
        while (idle && !::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            ++m_idleTotal;
            if (!OnIdle(count++))
                idle = false;
        }
        do {
            const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
            if (got == 0 || got == -1) {
                m_exitCode = got == 0 ? static_cast<int>(message.wParam) : -1;
                return ExitInstance();
            }
            if (!PreTranslateMessage(message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            if (IsIdleMessage(message)) {
                idle = true;
                count = 0;
            }
        } while (::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    }
}
