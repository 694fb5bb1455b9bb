#pragma once
// The platform side of one run of a thread object and the run state that
// NThread and NWorkerThread share: the framework thread, the object's own
// duplicate of its handle and its id, the stop request, the running flag and
// the exit code, with the start, stop and forced end built on them. The two
// thread classes differ only in the hooks they hand in: how a stopping body
// is woken, what else a start resets and what a forced end reports.
//
// Threads: Launch, Stop, Terminate, Cleanup and the handle belong to the
// owner's thread (the one that starts and stops); the body sets the exit code
// and clears running; the rest may be asked from any thread.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>

#include "foundation/win32/Handles.h"
#include "foundation/win32/NSuspendedThread.h"

class NThreadSlot {
public:
    // ERROR_UNHANDLED_EXCEPTION, missing from some SDK headers: the exit code
    // of a body that let an exception escape.
    static constexpr DWORD kUnhandledException = 574;

    NThreadSlot() = default;
    ~NThreadSlot() { Cleanup(); }
    NThreadSlot(const NThreadSlot&) = delete;
    NThreadSlot& operator=(const NThreadSlot&) = delete;

    // The null-object convention of the thread classes: true, with the last
    // error ERROR_INVALID_TOKEN, for a null or near-null object.
    static bool IsBadOwner(const void* owner);

    // A thread was started and its handle is not signalled yet.
    bool IsActive() const;
    bool HasThread() const { return m_handle.IsValid(); }
    bool IsCaller() const { return m_id.load() != 0 && m_id.load() == ::GetCurrentThreadId(); }
    DWORD Id() const { return m_id.load(); }
    HANDLE Handle() const { return m_handle.Get(); }

    bool IsRunning() const { return m_running.load() != 0; }
    bool IsStopRequested() const { return m_stopRequested.load() != 0; }
    // The body's result of the last run; 0 while none has ended.
    DWORD ExitCode() const { return m_exitCode.load(); }
    // For the body.
    void SetExitCode(DWORD code) { m_exitCode.store(code); }
    void SetRunning(bool running) { m_running.store(running ? 1 : 0); }

    // Creates the framework thread suspended, records its id and duplicates
    // its handle, but does not resume it. On failure nothing is left behind
    // and the platform's last error says why.
    bool Prepare(NSuspendedThread::Entry entry, void* parameter, uint32_t stackSize, int priority);
    // Lets the prepared thread run.
    bool Resume();
    // WAIT_OBJECT_0 when the thread has ended (or none was started),
    // WAIT_TIMEOUT or WAIT_FAILED.
    DWORD Wait(DWORD timeoutMs) const;

    // Forces the thread to end and waits until it has.
    bool TerminateAndWait(DWORD exitCode);

    // A start: ERROR_BUSY, with nothing changed, while the last run is
    // active. Otherwise cleans that run up, clears the exit code and the stop
    // request, calls reset (the owner's own run state), creates the thread,
    // sets running and lets it go. On failure running is clear, no thread is
    // left and the last error says why.
    bool Launch(NSuspendedThread::Entry entry, void* parameter, uint32_t stackSize, int priority,
                const std::function<void()>& reset);
    // A stop: true at once (cleaned up) when the run has ended. Otherwise
    // sets the stop request and calls wake (the owner makes its body notice);
    // then false on the thread itself (ERROR_POSSIBLE_DEADLOCK) or when it
    // has not ended within timeoutMs (ERROR_TIMEOUT), else cleans up: true.
    bool Stop(DWORD timeoutMs, const std::function<void()>& wake);
    // A forced end: true at once (cleaned up) when the run has ended;
    // refused on the thread itself (ERROR_POSSIBLE_DEADLOCK). Otherwise ends
    // the thread, clears running, calls ended (the owner's report), records
    // exitCode and cleans up.
    bool Terminate(DWORD exitCode, const std::function<void()>& ended);
    // Sets the stop request and calls wake, without waiting; false with
    // ERROR_REQUEST_ABORTED when the thread is not running.
    bool RequestStop(const std::function<void()>& wake);

    // Closes the handle, clears the id and deletes the framework thread object.
    void Cleanup();

private:
    NHandle m_handle;                                // owner's thread
    std::atomic<DWORD> m_id{0};
    std::atomic<NSuspendedThread*> m_framework{nullptr};
    std::atomic<uint8_t> m_stopRequested{0};
    std::atomic<uint8_t> m_running{0};  // set by Launch, cleared by the body at its end
    std::atomic<DWORD> m_exitCode{0};
};
