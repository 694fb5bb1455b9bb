#include "tests/support/win32/SimSerialDriver.h"

#include <cstring>

SimSerialDriver::SimSerialDriver()
{
    m_dcb.DCBlength = sizeof(DCB);
}

// ---- test side -------------------------------------------------------------

void SimSerialDriver::RaiseLocked(DWORD events)
{
    m_events |= events;
    const DWORD hit = m_events & m_mask;
    if (m_waitOv != nullptr && hit != 0) {
        *m_waitMask = hit;
        m_events &= ~hit;
        OVERLAPPED* ov = m_waitOv;
        m_waitOv = nullptr;
        m_waitMask = nullptr;
        CompleteLocked(ov, 0, 0);
    }
}

void SimSerialDriver::CompleteLocked(OVERLAPPED* ov, DWORD error, DWORD bytes)
{
    m_results[ov] = SResult{true, error, bytes};
    ::SetEvent(ov->hEvent);
}

void SimSerialDriver::Receive(const std::string& bytes)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_rx += bytes;
    RaiseLocked(EV_RXCHAR);
}

void SimSerialDriver::SetModem(DWORD status)
{
    std::lock_guard<std::mutex> g(m_lock);
    const DWORD changed = status ^ m_modem;
    m_modem = status;
    DWORD events = 0;
    if (changed & MS_CTS_ON) events |= EV_CTS;
    if (changed & MS_DSR_ON) events |= EV_DSR;
    if (changed & MS_RLSD_ON) events |= EV_RLSD;
    if (changed & MS_RING_ON) events |= EV_RING;
    RaiseLocked(events);
}

void SimSerialDriver::RaiseErrors(DWORD flags)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_errors |= flags;
    RaiseLocked(EV_ERR);
}

void SimSerialDriver::RaiseEvents(DWORD events)
{
    std::lock_guard<std::mutex> g(m_lock);
    RaiseLocked(events);
}

void SimSerialDriver::FailCall(const std::string& call, DWORD error)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_failures[call] = error;
}

void SimSerialDriver::Vanish(DWORD error)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_vanished = error;
    if (m_waitOv != nullptr) {
        CompleteLocked(m_waitOv, error, 0);
        m_waitOv = nullptr;
    }
    if (m_writeOv != nullptr) {
        CompleteLocked(m_writeOv, error, 0);
        m_writeOv = nullptr;
    }
}

std::string SimSerialDriver::Transmitted() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_tx;
}

std::vector<std::string> SimSerialDriver::Calls() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_calls;
}

DCB SimSerialDriver::LastDcb() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_dcb;
}

int SimSerialDriver::OpenHandles() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_open;
}

bool SimSerialDriver::WaitPending() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_waitOv != nullptr;
}

// ---- driver side -----------------------------------------------------------

bool SimSerialDriver::Enter(const char* call, HANDLE port)
{
    m_calls.emplace_back(call);
    const auto f = m_failures.find(call);
    if (f != m_failures.end()) {
        ::SetLastError(f->second);
        return false;
    }
    if (port != nullptr && (port != m_handle || m_open == 0)) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (m_vanished != 0) {
        ::SetLastError(m_vanished);
        return false;
    }
    return true;
}

HANDLE SimSerialDriver::CreateFileW(const wchar_t* device, DWORD, DWORD, DWORD, DWORD)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("CreateFileW", nullptr))
        return INVALID_HANDLE_VALUE;
    if (m_open != 0) {  // no sharing
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (m_handle == nullptr)
        m_handle = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_open = 1;
    m_calls.back() += "(" + std::string(device, device + wcslen(device)) + ")";
    return m_handle;
}

BOOL SimSerialDriver::CloseHandle(HANDLE port)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_calls.emplace_back("CloseHandle");
    if (port != m_handle || m_open == 0) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    m_open = 0;
    return TRUE;
}

BOOL SimSerialDriver::FlushFileBuffers(HANDLE port)
{
    std::lock_guard<std::mutex> g(m_lock);
    return Enter("FlushFileBuffers", port);
}

BOOL SimSerialDriver::GetCommProperties(HANDLE port, COMMPROP* p)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("GetCommProperties", port))
        return FALSE;
    *p = COMMPROP{};
    p->dwProvCapabilities = m_caps;
    return TRUE;
}

BOOL SimSerialDriver::GetCommState(HANDLE port, DCB* dcb)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("GetCommState", port))
        return FALSE;
    *dcb = m_dcb;
    return TRUE;
}

BOOL SimSerialDriver::SetCommState(HANDLE port, DCB* dcb)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("SetCommState", port))
        return FALSE;
    m_dcb = *dcb;
    return TRUE;
}

BOOL SimSerialDriver::EscapeCommFunction(HANDLE port, DWORD function)
{
    std::lock_guard<std::mutex> g(m_lock);
    const bool ok = Enter("EscapeCommFunction", port);
    m_calls.back() += "(" + std::to_string(function) + ")";
    return ok;
}

BOOL SimSerialDriver::SetupComm(HANDLE port, DWORD, DWORD)
{
    std::lock_guard<std::mutex> g(m_lock);
    return Enter("SetupComm", port);
}

BOOL SimSerialDriver::GetCommTimeouts(HANDLE port, COMMTIMEOUTS* t)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("GetCommTimeouts", port))
        return FALSE;
    *t = m_timeouts;
    return TRUE;
}

BOOL SimSerialDriver::SetCommTimeouts(HANDLE port, COMMTIMEOUTS* t)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("SetCommTimeouts", port))
        return FALSE;
    m_timeouts = *t;
    return TRUE;
}

BOOL SimSerialDriver::ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("ClearCommError", port))
        return FALSE;
    if (errors != nullptr)
        *errors = m_errors;
    m_errors = 0;
    if (status != nullptr) {
        *status = COMSTAT{};
        status->cbInQue = static_cast<DWORD>(m_rx.size());
    }
    return TRUE;
}

BOOL SimSerialDriver::PurgeComm(HANDLE port, DWORD)
{
    std::lock_guard<std::mutex> g(m_lock);
    return Enter("PurgeComm", port);
}

BOOL SimSerialDriver::GetCommModemStatus(HANDLE port, DWORD* status)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("GetCommModemStatus", port))
        return FALSE;
    *status = m_modem;
    return TRUE;
}

BOOL SimSerialDriver::SetCommMask(HANDLE port, DWORD mask)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("SetCommMask", port))
        return FALSE;
    m_mask = mask;
    return TRUE;
}

BOOL SimSerialDriver::WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* ov)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("WaitCommEvent", port))
        return FALSE;
    m_results.erase(ov);
    // Data still in the queue counts as a new arrival, as with a driver
    // whose read returned less than was there.
    if (!m_rx.empty())
        m_events |= EV_RXCHAR;
    const DWORD hit = m_events & m_mask;
    if (hit != 0) {
        *mask = hit;
        m_events &= ~hit;
        return TRUE;
    }
    m_waitOv = ov;
    m_waitMask = mask;
    m_waitThread = ::GetCurrentThreadId();
    ::ResetEvent(ov->hEvent);
    ::SetLastError(ERROR_IO_PENDING);
    return FALSE;
}

BOOL SimSerialDriver::ReadFile(HANDLE port, void* buffer, DWORD size, DWORD* got, OVERLAPPED*)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("ReadFile", port))
        return FALSE;
    // With ReadIntervalTimeout MAXDWORD a read returns at once with what is there.
    size_t n = m_rx.size() < size ? m_rx.size() : size;
    if (m_readLimit != 0 && n > m_readLimit)
        n = m_readLimit;
    std::memcpy(buffer, m_rx.data(), n);
    m_rx.erase(0, n);
    *got = static_cast<DWORD>(n);
    return TRUE;
}

BOOL SimSerialDriver::WriteFile(HANDLE port, const void* data, DWORD size, DWORD* written, OVERLAPPED* ov)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (!Enter("WriteFile", port))
        return FALSE;
    m_results.erase(ov);
    if (m_hangWrites) {
        m_writeOv = ov;
        m_writeThread = ::GetCurrentThreadId();
        ::SetLastError(ERROR_IO_PENDING);
        return FALSE;
    }
    DWORD n = size;
    if (m_writeLimit != 0 && n > m_writeLimit)
        n = m_writeLimit;
    m_tx.append(static_cast<const char*>(data), n);
    // Completes "later": the caller sees a pending write that is already done.
    CompleteLocked(ov, 0, n);
    *written = 0;
    ::SetLastError(ERROR_IO_PENDING);
    return FALSE;
}

BOOL SimSerialDriver::GetOverlappedResult(HANDLE port, OVERLAPPED* ov, DWORD* bytes, BOOL wait)
{
    for (;;) {
        {
            std::lock_guard<std::mutex> g(m_lock);
            m_calls.emplace_back("GetOverlappedResult");
            const auto r = m_results.find(ov);
            if (r != m_results.end() && r->second.done) {
                *bytes = r->second.bytes;
                const DWORD error = r->second.error;
                m_results.erase(r);
                if (error != 0) {
                    ::SetLastError(error);
                    return FALSE;
                }
                return TRUE;
            }
            if (!wait) {
                ::SetLastError(ERROR_IO_INCOMPLETE);
                return FALSE;
            }
        }
        ::WaitForSingleObject(ov->hEvent, 50);
    }
}

BOOL SimSerialDriver::CancelIo(HANDLE port)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_calls.emplace_back("CancelIo");
    const DWORD self = ::GetCurrentThreadId();
    if (m_waitOv != nullptr && m_waitThread == self) {
        CompleteLocked(m_waitOv, ERROR_OPERATION_ABORTED, 0);
        m_waitOv = nullptr;
    }
    if (m_writeOv != nullptr && m_writeThread == self) {
        CompleteLocked(m_writeOv, ERROR_OPERATION_ABORTED, 0);
        m_writeOv = nullptr;
    }
    return TRUE;
}
