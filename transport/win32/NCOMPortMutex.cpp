#include "transport/win32/NCOMPortMutex.h"

bool NCOMPortMutex::Acquire(DWORD timeoutMs)
{
    if (m_held) {
        ::SetLastError(ERROR_BUSY);
        return false;
    }
    if (!m_mutex) {
        m_mutex.Reset(::CreateMutexW(nullptr, FALSE, kName));
        if (!m_mutex)
            return false;
    }
    const DWORD r = ::WaitForSingleObject(m_mutex.Get(), timeoutMs);
    if (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED) {
        m_held = true;
        return true;
    }
    if (r == WAIT_TIMEOUT)
        ::SetLastError(ERROR_TIMEOUT);
    return false;
}

void NCOMPortMutex::Release()
{
    if (m_held) {
        const DWORD error = ::GetLastError();
        ::ReleaseMutex(m_mutex.Get());
        ::SetLastError(error);
        m_held = false;
    }
}
