#include "foundation/win32/NThread.h"

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
    if (NIsBadThis(this) || m_slot.IsStopRequested())
        return false;
    return IsAlive();
}

bool NThread::Start()
{
    if (NIsBadThis(this))
        return false;
    return m_slot.Launch(&NThread::Body, this, m_stackSize, m_priority, [] {});
}

bool NThread::Stop(DWORD timeoutMs)
{
    if (NIsBadThis(this))
        return false;
    return m_slot.Stop(timeoutMs, [this] { Wake(); });
}

bool NThread::Terminate(DWORD exitCode)
{
    if (NIsBadThis(this))
        return false;
    return m_slot.Terminate(exitCode, [this] { OnTerminated(); });
}

bool NThread::RequestStop()
{
    if (NIsBadThis(this))
        return false;
    return m_slot.RequestStop([this] { Wake(); });
}

DWORD WINAPI NThread::Body(void* self)
{
    auto* thread = static_cast<NThread*>(self);
    NThreadSlot& slot = thread->m_slot;
    DWORD code = NThreadSlot::kUnhandledException;
    // No exception may leave a thread procedure: it would end the process.
    try {
        slot.SetRunning(true);
        thread->OnStart();
        code = thread->Run();
        slot.SetExitCode(code);
        thread->OnExit();
    } catch (...) {
        code = NThreadSlot::kUnhandledException;
        slot.SetExitCode(code);
    }
    slot.SetRunning(false);
    return code;
}
