#include "foundation/win32/NThreadSlot.h"

#include <new>

#include "foundation/NClassInfo.h"

bool NThreadSlot::IsBadOwner(const void* owner)
{
    if (!NIsBadObjectPtr(owner))
        return false;
    ::SetLastError(ERROR_INVALID_TOKEN);
    return true;
}

bool NThreadSlot::IsActive() const
{
    return m_handle.IsValid() && ::WaitForSingleObject(m_handle.Get(), 0) == WAIT_TIMEOUT;
}

bool NThreadSlot::Prepare(NSuspendedThread::Entry entry, void* parameter, uint32_t stackSize, int priority)
{
    Cleanup();
    auto* framework = new (std::nothrow) NSuspendedThread;
    if (framework == nullptr) {
        ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (!framework->Create(entry, parameter, stackSize, priority)) {
        const DWORD error = ::GetLastError();
        delete framework;
        ::SetLastError(error);
        return false;
    }
    HANDLE duplicate = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), framework->Handle(), ::GetCurrentProcess(), &duplicate, 0, FALSE,
                           DUPLICATE_SAME_ACCESS)) {
        const DWORD error = ::GetLastError();
        // The thread exists but has run nothing. Ending it while suspended is
        // the one safe use of TerminateThread: it holds no lock yet.
        ::TerminateThread(framework->Handle(), error);
        ::WaitForSingleObject(framework->Handle(), INFINITE);
        delete framework;
        ::SetLastError(error);
        return false;
    }
    m_handle.Reset(duplicate);
    m_id.store(framework->Id());
    delete m_framework.exchange(framework);
    return true;
}

bool NThreadSlot::Resume()
{
    NSuspendedThread* framework = m_framework.load();
    return framework != nullptr && framework->Resume();
}

DWORD NThreadSlot::Wait(DWORD timeoutMs) const
{
    if (!m_handle.IsValid())
        return WAIT_OBJECT_0;
    return ::WaitForSingleObject(m_handle.Get(), timeoutMs);
}

bool NThreadSlot::TerminateAndWait(DWORD exitCode)
{
    if (!m_handle.IsValid())
        return true;
    if (!::TerminateThread(m_handle.Get(), exitCode) && ::WaitForSingleObject(m_handle.Get(), 0) != WAIT_OBJECT_0)
        return false;
    // Termination is asynchronous: the handle is signalled once it is done.
    return ::WaitForSingleObject(m_handle.Get(), INFINITE) == WAIT_OBJECT_0;
}

bool NThreadSlot::Launch(NSuspendedThread::Entry entry, void* parameter, uint32_t stackSize, int priority,
                         const std::function<void()>& reset)
{
    if (IsActive()) {
        ::SetLastError(ERROR_BUSY);
        return false;
    }
    Cleanup();
    m_exitCode.store(0);
    m_stopRequested.store(0);
    reset();
    if (!Prepare(entry, parameter, stackSize, priority))
        return false;
    // Running from here rather than from the body's first line, so that a
    // stop request right after the start is not refused as "not running".
    m_running.store(1);
    if (!Resume()) {
        const DWORD error = ::GetLastError();
        m_running.store(0);
        TerminateAndWait(error);
        Cleanup();
        ::SetLastError(error);
        return false;
    }
    return true;
}

bool NThreadSlot::Stop(DWORD timeoutMs, const std::function<void()>& wake)
{
    if (!IsActive()) {
        Cleanup();
        return true;
    }
    m_stopRequested.store(1);
    wake();
    if (IsCaller()) {
        ::SetLastError(ERROR_POSSIBLE_DEADLOCK);
        return false;
    }
    const DWORD waited = Wait(timeoutMs);
    if (waited == WAIT_TIMEOUT) {
        ::SetLastError(ERROR_TIMEOUT);
        return false;
    }
    if (waited != WAIT_OBJECT_0)
        return false;
    Cleanup();
    return true;
}

bool NThreadSlot::Terminate(DWORD exitCode, const std::function<void()>& ended)
{
    if (!IsActive()) {
        Cleanup();
        return true;
    }
    if (IsCaller()) {
        ::SetLastError(ERROR_POSSIBLE_DEADLOCK);
        return false;
    }
    if (!TerminateAndWait(exitCode))
        return false;
    m_running.store(0);
    ended();
    m_exitCode.store(exitCode);
    Cleanup();
    return true;
}

bool NThreadSlot::RequestStop(const std::function<void()>& wake)
{
    if (m_running.load() == 0) {
        ::SetLastError(ERROR_REQUEST_ABORTED);
        return false;
    }
    m_stopRequested.store(1);
    wake();
    return true;
}

void NThreadSlot::Cleanup()
{
    m_handle.Reset();
    m_id.store(0);
    delete m_framework.exchange(nullptr);
}
