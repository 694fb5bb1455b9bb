#include "transport/win32/NCOMPortEnumThread.h"

NCOMPortEnumThread::NCOMPortEnumThread() : NThread(THREAD_PRIORITY_BELOW_NORMAL)
{
    m_wake.Create(false, false);
    m_scanDone.Create(true, false);
    m_tester = &NCOMPortScanner::AttributeTest;
}

NCOMPortEnumThread::~NCOMPortEnumThread()
{
    // The body waits on m_wake, which must still exist when it is told to stop.
    Stop(INFINITE);
}

NCOMPortEnumThread& NCOMPortEnumThread::Global()
{
    static NCOMPortEnumThread thread;
    return thread;
}

bool NCOMPortEnumThread::RequestScan(bool resetInterval)
{
    m_filter.store(1);
    if (resetInterval)
        m_resetInterval.store(true);
    ++m_pending;
    m_wake.Set();
    if (!IsRunning())
        return Start() || ::GetLastError() == ERROR_BUSY;
    return true;
}

bool NCOMPortEnumThread::CopyList(NCOMPortEnum& out)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_shared) {
            out = *m_shared;
            return true;
        }
    }
    RequestScan(false);
    ::SetLastError(ERROR_NOT_READY);
    return false;
}

DWORD NCOMPortEnumThread::Run()
{
    uint32_t interval = m_interval.minimumMs;
    bool first = true;
    while (ShouldContinue()) {
        if (m_pending.load() != 0 || m_interval.minimumMs <= m_interval.maximumMs) {
            m_pending.store(0);
            NCOMPortEnum fresh;
            m_scanning.store(true);
            const bool ok = NCOMPortScanner::Scan(fresh, m_tester, [this] { return ShouldContinue(); });
            m_scanning.store(false);
            if (!ok && ::GetLastError() == ERROR_CANCELLED)
                return ERROR_CANCELLED;
            if (m_filter.load() == 1) {
                std::erase_if(fresh.entries, [](const NCOMPortEnum::SNCPEEntry& e) {
                    return !NCOMPortEnum::IsPresent(e.status);
                });
            }
            bool changed = false;
            {
                std::lock_guard<std::mutex> guard(m_lock);
                changed = !m_shared || !m_shared->SameEntries(fresh);
                fresh.changeCounter = (m_shared ? m_shared->changeCounter : 0) + (changed ? 1 : 0);
                m_shared = std::make_unique<NCOMPortEnum>(std::move(fresh));
            }
            // Devices that were still arriving at the first scan are caught by
            // a second one at once.
            if (changed && first)
                ++m_pending;
            first = false;
            m_scanDone.Set();
            const HWND window = m_window.load();
            if (window != nullptr && ::IsWindow(window))
                ::PostMessageW(window, m_message.load(), changed ? 1 : 0, reinterpret_cast<LPARAM>(this));
        }
        if (m_pending.load() != 0)
            continue;
        interval = m_interval.Clamp(interval);
        const DWORD r = m_wake.Wait(interval);
        if (r == WAIT_OBJECT_0) {
            if (m_resetInterval.exchange(false))
                interval = m_interval.minimumMs;
        } else if (r == WAIT_TIMEOUT) {
            interval = m_interval.Next(interval);
        } else {
            return ::GetLastError();
        }
    }
    return ERROR_CANCELLED;
}
