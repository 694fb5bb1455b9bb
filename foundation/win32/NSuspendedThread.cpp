#include "foundation/win32/NSuspendedThread.h"

bool NSuspendedThread::Create(Entry entry, void* parameter, uint32_t stackSize, int priority)
{
    m_handle.Reset();
    m_id = 0;
    DWORD id = 0;
    const DWORD flags = CREATE_SUSPENDED | (stackSize != 0 ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0);
    HANDLE handle = ::CreateThread(nullptr, stackSize, entry, parameter, flags, &id);
    if (handle == nullptr)
        return false;
    m_handle.Reset(handle);
    m_id = id;
    if (priority != THREAD_PRIORITY_NORMAL)
        ::SetThreadPriority(handle, priority);  // a refused priority is not worth failing the start
    return true;
}

bool NSuspendedThread::Resume() { return m_handle.IsValid() && ::ResumeThread(m_handle.Get()) != static_cast<DWORD>(-1); }
