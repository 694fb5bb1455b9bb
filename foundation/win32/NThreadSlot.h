#pragma once
// The platform side of one run of a thread object: the framework thread,
// the object's own duplicate of its handle and its id, and the start, stop
// and forced end that NThread and NWorkerThread share. They differ only in
// the hooks they hand in: how a stop is requested, what a start resets and
// what a forced end records.
//
// Threads: Launch, Cleanup and the handle belong to the owner's thread (the
// one that starts and stops); Id and IsCaller may be asked from any thread.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>

#include "foundation/win32/Handles.h"
#include "foundation/win32/NSuspendedThread.h"

class NThreadSlot {
public:
    NThreadSlot() = default;
    ~NThreadSlot() { Cleanup(); }
    NThreadSlot(const NThreadSlot&) = delete;
    NThreadSlot& operator=(const NThreadSlot&) = delete;

    // A thread was started and its handle is not signalled yet.
    bool IsActive() const;
    bool HasThread() const { return m_handle.IsValid(); }
    bool IsCaller() const { return m_id.load() != 0 && m_id.load() == ::GetCurrentThreadId(); }
    DWORD Id() const { return m_id.load(); }
    HANDLE Handle() const { return m_handle.Get(); }

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
    // active. Otherwise cleans that run up, calls reset (the owner clears
    // its run state), creates the thread, sets running and lets it go. On
    // failure running is clear, no thread is left and the last error says why.
    bool Launch(NSuspendedThread::Entry entry, void* parameter, uint32_t stackSize, int priority,
                std::atomic<uint8_t>& running, const std::function<void()>& reset);
    // A stop: true at once (cleaned up) when the run has ended. Otherwise
    // calls request (the owner sets its stop request and wakes the body);
    // then false on the thread itself (ERROR_POSSIBLE_DEADLOCK) or when it
    // has not ended within timeoutMs (ERROR_TIMEOUT), else cleans up: true.
    bool Stop(DWORD timeoutMs, const std::function<void()>& request);
    // A forced end: true at once (cleaned up) when the run has ended;
    // refused on the thread itself (ERROR_POSSIBLE_DEADLOCK). Otherwise ends
    // the thread, calls ended (the owner records the end) and cleans up.
    bool Terminate(DWORD exitCode, const std::function<void()>& ended);

    // Closes the handle, clears the id and deletes the framework thread object.
    void Cleanup();

private:
    NHandle m_handle;                                // owner's thread
    std::atomic<DWORD> m_id{0};
    std::atomic<NSuspendedThread*> m_framework{nullptr};
};
