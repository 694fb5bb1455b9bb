#pragma once
// The one background thread that keeps the list of the machine's serial
// ports current: it scans at once when asked, then at growing intervals,
// and tells the main window when the list changed. Readers take copies.
#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "foundation/win32/Handles.h"
#include "foundation/win32/NThread.h"
#include "transport/NCOMPortEnum.h"
#include "transport/NCOMPortInterval.h"
#include "transport/win32/NCOMPortScanner.h"

class NCOMPortEnumThread : public NThread {
public:
    NCOMPortEnumThread();
    ~NCOMPortEnumThread() override;

    // The process-wide instance.
    static NCOMPortEnumThread& Global();

    // Lists only present ports from now on, brings the next scan forward
    // (restarting the interval when resetInterval), and starts the thread
    // when it is not running.
    bool RequestScan(bool resetInterval);
    // Copies the shared list under the lock; false (and a scan requested)
    // when no scan has finished yet.
    bool CopyList(NCOMPortEnum& out);
    // Posts message (wParam: changed, lParam: this) to window after every scan.
    void SetNotification(HWND window, UINT message)
    {
        m_window.store(window);
        m_message.store(message);
    }
    // Replaces the presence test (tests; the default is the attribute query).
    void SetTester(NCOMPortScanner::Tester tester) { m_tester = std::move(tester); }
    void SetInterval(const NCOMPortInterval& interval) { m_interval = interval; }
    HANDLE ScanDoneEvent() const { return m_scanDone.Get(); }
    void ResetScanDone() { m_scanDone.Reset(); }
    bool IsScanning() const { return m_scanning.load(); }

protected:
    DWORD Run() override;
    void Wake() override { m_wake.Set(); }

private:
    NEventHandle m_wake;      // auto-reset
    NEventHandle m_scanDone;  // manual reset
    std::mutex m_lock;
    std::unique_ptr<NCOMPortEnum> m_shared;  // under m_lock; null before the first scan
    std::atomic<bool> m_scanning{false};
    std::atomic<uint32_t> m_pending{0};
    std::atomic<bool> m_resetInterval{false};
    std::atomic<uint32_t> m_filter{0};
    std::atomic<HWND> m_window{nullptr};
    std::atomic<UINT> m_message{0};
    NCOMPortScanner::Tester m_tester;  // set before Start
    NCOMPortInterval m_interval;       // set before Start
};
