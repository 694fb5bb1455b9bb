#pragma once
// A restartable worker thread with a state mutex, three manual events and
// window notification by posted messages:
//  - stop event: set with the stop request, for the body to wait on;
//  - status event: set by PostStatus, a command handed to the thread;
//  - report event: set by PostReport, a result handed back by the thread.
// When a notify window and messages are set, the life message is posted when
// the body starts (wParam 1) and ends (wParam 0), and the report message with
// each report (wParam the code), each with lParam the worker. Messages are
// posted, never sent, so the worker never waits for a user-interface thread.
//
// Public operations are null-tolerant (ERROR_INVALID_TOKEN). The destructor
// hazard of NThread applies: never destroy the object on its own thread.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "foundation/win32/Handles.h"
#include "foundation/win32/NThreadSlot.h"

class NWorkerThread {
public:
    explicit NWorkerThread(int priority = THREAD_PRIORITY_NORMAL, uint32_t stackSize = 0);
    virtual ~NWorkerThread();
    NWorkerThread(const NWorkerThread&) = delete;
    NWorkerThread& operator=(const NWorkerThread&) = delete;

    // False once a stop was requested, else IsAlive(). For the body.
    bool ShouldContinue();

    // As NThread::Start; also resets the stop event.
    bool Start();
    // True at once when the thread has ended; else sets the stop request and
    // event, waits up to timeoutMs and cleans up. False on time-out
    // (ERROR_TIMEOUT) or on the thread itself (ERROR_POSSIBLE_DEADLOCK).
    bool Stop(DWORD timeoutMs);
    // Forces the thread to end, under the state mutex so that it cannot be
    // holding the mutex when it dies.
    bool Terminate(DWORD exitCode);
    // False (ERROR_REQUEST_ABORTED) when not running; else sets the stop
    // request and event without waiting.
    bool RequestStop();

    // Window and registered messages for notification; 0 disables one.
    void SetNotify(HWND window, UINT lifeMessage, UINT reportMessage);

    // Hands the thread a status text with the tag "MNLF" and sets the status event.
    bool PostStatus(const std::wstring& text);
    // Takes a pending status: clears the flag, resets the event, copies out.
    bool TakeStatus(std::string& tag, std::wstring& text);

    // Stores a report, sets the report event and posts the report message.
    bool PostReport(int32_t code, const std::wstring& text);
    // Takes a pending report: clears the flag, resets the event, copies out.
    bool TakeReport(int32_t& code, std::wstring& text);

    bool IsRunning() const { return !NIsBadThis(this) && m_slot.IsRunning(); }
    bool IsStopRequested() const { return !NIsBadThis(this) && m_slot.IsStopRequested(); }
    bool IsStatusPending() const { return !NIsBadThis(this) && m_statusPending.load() != 0; }
    bool IsReportPending() const { return !NIsBadThis(this) && m_reportPending.load() != 0; }
    DWORD ExitCode() const { return NIsBadThis(this) ? 0 : m_slot.ExitCode(); }
    DWORD ThreadId() const { return NIsBadThis(this) ? 0 : m_slot.Id(); }
    HANDLE ThreadHandle() const { return NIsBadThis(this) ? nullptr : m_slot.Handle(); }
    // The events, for the body's waits and for callers that wait on a handshake.
    HANDLE StopEvent() const { return NIsBadThis(this) ? nullptr : m_stopEvent.Get(); }
    HANDLE StatusEvent() const { return NIsBadThis(this) ? nullptr : m_statusEvent.Get(); }
    HANDLE ReportEvent() const { return NIsBadThis(this) ? nullptr : m_reportEvent.Get(); }
    void SetPriority(int priority) { m_priority = priority; }
    void SetStackSize(uint32_t stackSize) { m_stackSize = stackSize; }

    // Holds the state mutex for a scope.
    class StateLock {
    public:
        explicit StateLock(const NWorkerThread& worker);
        ~StateLock();
        StateLock(const StateLock&) = delete;
        StateLock& operator=(const StateLock&) = delete;

    private:
        HANDLE m_mutex;
        bool m_held;
    };

protected:
    virtual DWORD Run() = 0;
    virtual void OnStart() {}
    virtual void OnExit() {}
    virtual bool IsAlive() { return true; }

private:
    static bool NIsBadThis(const void* self) { return NThreadSlot::IsBadOwner(self); }
    static DWORD WINAPI Body(void* self);
    // Posts message when set and the window still exists. Under the state mutex.
    void Notify(UINT message, WPARAM wParam);

    // Notification target; written by the owner, read by the worker under the state mutex.
    HWND m_notifyWindow = nullptr;
    UINT m_lifeMessage = 0;
    UINT m_reportMessage = 0;
    NThreadSlot m_slot;  // run state; see there which thread owns what
    NHandle m_stateMutex;
    NEventHandle m_stopEvent;
    NEventHandle m_statusEvent;
    NEventHandle m_reportEvent;
    std::atomic<uint8_t> m_statusPending{0};
    std::atomic<uint8_t> m_reportPending{0};
    // Guarded by the state mutex.
    std::string m_statusTag;
    std::wstring m_statusText;
    int32_t m_reportCode = 0;
    std::wstring m_reportText;
    int m_priority;         // owner's thread
    uint32_t m_stackSize;   // owner's thread
};
