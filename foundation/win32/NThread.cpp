#include "foundation/win32/NThread.h"

#include "foundation/NClassInfo.h"

namespace {
// ERROR_UNHANDLED_EXCEPTION, missing from some SDK headers: the exit code of a
// body that let an exception escape.
constexpr DWORD kUnhandledException = 574;
}  // namespace

bool NThread::NIsBadThis(const void* self)
{
    if (!NIsBadObjectPtr(self))
        return false;
    ::SetLastError(ERROR_INVALID_TOKEN);
    return true;
}

NThread::NThread(int priority, uint32_t stackSize) : m_priority(priority), m_stackSize(stackSize) {}

NThread::~NThread()
{
    // Waiting without limit: a body that never looks at its stop request hangs
    // here, the lesser evil than freeing memory it still uses. On the object's
    // own thread Stop cannot wait; the slot then only closes its handles.
    Stop(INFINITE);
}

bool NThread::ShouldContinue()
{
    if (NIsBadThis(this))
        return false;
    if (m_stopRequested.load() != 0)
        return false;
    return IsAlive();
}

bool NThread::Start()
{
    if (NIsBadThis(this))
        return false;
    return m_slot.Launch(&NThread::Body, this, m_stackSize, m_priority, m_running, [this] {
        m_exitCode.store(0);
        m_stopRequested.store(0);
    });
}

bool NThread::Stop(DWORD timeoutMs)
{
    if (NIsBadThis(this))
        return false;
    return m_slot.Stop(timeoutMs, [this] {
        m_stopRequested.store(1);
        Wake();
    });
}

bool NThread::Terminate(DWORD exitCode)
{
    if (NIsBadThis(this))
        return false;
    return m_slot.Terminate(exitCode, [this, exitCode] {
        m_running.store(0);
        OnTerminated();
        m_exitCode.store(exitCode);
    });
}

bool NThread::RequestStop()
{
    if (NIsBadThis(this))
        return false;
    if (m_running.load() == 0) {
        ::SetLastError(ERROR_REQUEST_ABORTED);
        return false;
    }
    m_stopRequested.store(1);
    Wake();
    return true;
}

DWORD WINAPI NThread::Body(void* self)
{
    auto* thread = static_cast<NThread*>(self);
    DWORD code = kUnhandledException;
    // No exception may leave a thread procedure: it would end the process.
    try {
        thread->m_running.store(1);
        thread->OnStart();
        code = thread->Run();
        thread->m_exitCode.store(code);
        thread->OnExit();
    } catch (...) {
        code = kUnhandledException;
        thread->m_exitCode.store(code);
    }
    thread->m_running.store(0);
    return code;
}
