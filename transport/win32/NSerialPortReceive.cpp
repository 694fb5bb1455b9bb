// The receive thread of the serial engine: waits for comm events and reads
// what arrived, with every wait bounded so that stop requests and priority
// changes are noticed.
#include "transport/win32/NSerialPort.h"

#include "foundation/NTimeStamp.h"

DWORD NSerialPort::CNSPThread::Run()
{
    return m_owner.ReceiveLoop();
}

NSerialPort::EWait NSerialPort::WaitPending(HANDLE port, OVERLAPPED& ov, DWORD timeoutMs, bool readWait,
                                            const wchar_t* waitStep, const wchar_t* cancelStep,
                                            const wchar_t* cancelledStep)
{
    const HANDLE waits[2] = {ov.hEvent, m_thread.StopEvent()};
    for (;;) {
        const DWORD r = ::WaitForMultipleObjects(2, waits, FALSE, timeoutMs);
        if (r == WAIT_OBJECT_0)
            return EWait::kDone;
        if (r == WAIT_TIMEOUT) {
            const bool keep = readWait ? OnReadWaitTimedOut() : OnCommEventWaitTimedOut();
            if (keep && m_thread.ShouldContinue())
                continue;
        } else if (r != WAIT_OBJECT_0 + 1) {
            QueueFailure(::GetLastError(), waitStep);
            // The request is still outstanding on this thread's OVERLAPPED.
            m_driver.CancelIo(port);
            DWORD ignored = 0;
            m_driver.GetOverlappedResult(port, &ov, &ignored, TRUE);
            return EWait::kFailed;
        }
        // Stop (or a wait hook that gave up): cancel, and wait until the
        // request is really over before its OVERLAPPED may be reused.
        if (!m_driver.CancelIo(port))
            QueueFailure(::GetLastError(), cancelStep);
        DWORD ignored = 0;
        if (!m_driver.GetOverlappedResult(port, &ov, &ignored, TRUE)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_OPERATION_ABORTED)
                QueueFailure(error, cancelledStep);
        }
        ::SetLastError(ERROR_CANCELLED);
        return EWait::kStopped;
    }
}

bool NSerialPort::WaitForRoom()
{
    const HANDLE waits[2] = {m_roomEvent.Get(), m_thread.StopEvent()};
    for (;;) {
        const DWORD r = ::WaitForMultipleObjects(2, waits, FALSE, m_readWaitMs);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r == WAIT_TIMEOUT && m_thread.ShouldContinue())
            continue;
        if (r == WAIT_FAILED)
            QueueFailure(::GetLastError(), L"rx/waiting for the owner");
        ::SetLastError(ERROR_CANCELLED);
        return false;
    }
}

bool NSerialPort::ReadAvailable(HANDLE port, OVERLAPPED& ov)
{
    uint8_t buffer[NSPRxPacket::kDataSize];
    DWORD got = 0;
    do {
        if (m_reportData && !WaitForRoom())
            return false;
        ::ResetEvent(ov.hEvent);
        got = 0;
        if (!m_driver.ReadFile(port, buffer, sizeof(buffer), &got, &ov)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_IO_PENDING) {
                QueueFailure(error, L"receiving");
                return false;
            }
            if (WaitPending(port, ov, m_readWaitMs, true, L"rx/waiting on multiple events", L"rx/cancelling i/o",
                            L"rx/getting overlapped result") != EWait::kDone)
                return false;
            if (!m_driver.GetOverlappedResult(port, &ov, &got, FALSE)) {
                const DWORD error2 = ::GetLastError();
                if (error2 != ERROR_OPERATION_ABORTED || !m_thread.IsStopRequested())
                    QueueFailure(error2, L"rx/getting overlapped result");
                return false;
            }
        }
        if (got > sizeof(buffer))  // a driver must never claim more than it was given room for
            got = sizeof(buffer);
        if (got > 0 && m_reportData)
            QueueData(buffer, got, NTimeStamp::LocalNow().Ticks());
    } while (got == sizeof(buffer) && m_thread.ShouldContinue());
    return true;
}

bool NSerialPort::HandleEvents(HANDLE port, OVERLAPPED& ov, DWORD mask, uint64_t stamp)
{
    if ((mask & m_eventReportMask) != 0)
        QueueValue(NSPRxPacket::kCommEvents, mask & m_eventReportMask, stamp);
    if ((mask & kModemEvents) != 0) {
        DWORD status = 0;
        if (!m_driver.GetCommModemStatus(port, &status)) {
            QueueFailure(::GetLastError(), L"getting modem status");
            return false;
        }
        const uint32_t old = m_modemStatus.exchange(status);
        if (((status ^ old) & m_modemReportMask) != 0)
            QueueValue(NSPRxPacket::kModemStatus, status, stamp);
    }
    if ((mask & EV_ERR) != 0) {
        DWORD errors = 0;
        COMSTAT comStat{};
        if (!m_driver.ClearCommError(port, &errors, &comStat)) {
            QueueFailure(::GetLastError(), L"reading comm errors/status");
            return false;
        }
        const uint32_t old = m_commErrors.exchange(errors);
        if (((errors ^ old) & m_errorReportMask) != 0)
            QueueValue(NSPRxPacket::kCommErrors, errors, stamp);
    }
    if ((mask & EV_RXCHAR) != 0)
        return ReadAvailable(port, ov);
    return true;
}

DWORD NSerialPort::ReceiveLoop()
{
    NEventHandle ioEvent;
    if (!ioEvent.Create(true, false)) {
        const DWORD error = ::GetLastError();
        QueueFailure(error, L"waiting for comm events");
        Close();
        return error;
    }
    OVERLAPPED ov{};
    ov.hEvent = ioEvent.Get();
    DWORD result = ERROR_SUCCESS;
    int priority = m_priority.load();
    ::SetThreadPriority(::GetCurrentThread(), priority);
    for (;;) {
        HANDLE port = m_port.load();
        if (port == nullptr || !m_thread.ShouldContinue()) {
            result = ERROR_CANCELLED;
            break;
        }
        if (m_priority.load() != priority) {
            priority = m_priority.load();
            ::SetThreadPriority(::GetCurrentThread(), priority);
        }
        DWORD mask = 0;
        ::ResetEvent(ov.hEvent);
        if (!m_driver.WaitCommEvent(port, &mask, &ov)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_IO_PENDING) {
                QueueFailure(error, L"waiting for comm events");
                result = error;
                break;
            }
            const EWait w = WaitPending(port, ov, m_commEventWaitMs, false, L"ev/waiting on multiple events",
                                        L"ev/cancelling i/o", L"cancelling overlapped comm events");
            if (w != EWait::kDone) {
                result = ::GetLastError();
                break;
            }
            DWORD ignored = 0;
            if (!m_driver.GetOverlappedResult(port, &ov, &ignored, FALSE)) {
                // Nothing was cancelled here, so even an aborted request
                // means the device went away and the owner must hear of it.
                const DWORD error2 = ::GetLastError();
                if (error2 != ERROR_OPERATION_ABORTED || !m_thread.IsStopRequested())
                    QueueFailure(error2, L"getting overlapped comm events");
                result = error2;
                break;
            }
        }
        if (!HandleEvents(port, ov, mask, NTimeStamp::LocalNow().Ticks())) {
            result = ::GetLastError();
            if (result == ERROR_SUCCESS)
                result = ERROR_CANCELLED;
            break;
        }
    }
    // A pause around a change of mode keeps the port; every other end of the
    // loop closes it, so that a vanished device is not left half open.
    if (!m_pausing.load())
        Close();
    return result;
}
