#pragma once
// A restartable thread with a cooperative stop request. A derived class
// supplies the body (Run), which loops while ShouldContinue() is true and, if
// it blocks on events of its own, a Wake that makes it notice a stop request.
//
// The public operations are null-tolerant: called on a null or near-null
// object they return false and set the last error to ERROR_INVALID_TOKEN.
//
// Hazard: the destructor stops the thread, but by then the derived part is
// gone, so its Wake is no longer called. A class whose body waits on its own
// events must call Stop in its own destructor. Never destroy the object on its
// own thread.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "foundation/win32/NThreadSlot.h"

class NThread {
public:
    explicit NThread(int priority = THREAD_PRIORITY_NORMAL, uint32_t stackSize = 0);
    virtual ~NThread();
    NThread(const NThread&) = delete;
    NThread& operator=(const NThread&) = delete;

    // False once a stop was requested, else IsAlive(). For the body.
    bool ShouldContinue();

    // Starts a new run. ERROR_BUSY while the previous run has not ended;
    // nothing is changed then.
    bool Start();

    // True at once (cleaned up) when the run has ended. Otherwise requests
    // a stop and waits up to timeoutMs for the body to end. False
    // when called on the thread itself (ERROR_POSSIBLE_DEADLOCK) or on
    // time-out (ERROR_TIMEOUT); the object stays started and the caller may
    // try again. True (and cleaned up) once the thread has ended.
    bool Stop(DWORD timeoutMs);

    // Forces the thread to end with exitCode, then OnTerminated. True at once
    // when it has already ended. Refused on the thread itself.
    bool Terminate(DWORD exitCode);

    // Sets the stop request and wakes the body without waiting;
    // ERROR_REQUEST_ABORTED when the thread is not running.
    bool RequestStop();

    bool IsRunning() const { return !NIsBadThis(this) && m_slot.IsRunning(); }
    bool IsStopRequested() const { return !NIsBadThis(this) && m_slot.IsStopRequested(); }
    // The body's result of the last run; 0 while none has ended.
    DWORD ExitCode() const { return NIsBadThis(this) ? 0 : m_slot.ExitCode(); }
    DWORD ThreadId() const { return NIsBadThis(this) ? 0 : m_slot.Id(); }
    // The object's handle of the current run (not owned by the caller); null when none.
    HANDLE ThreadHandle() const { return NIsBadThis(this) ? nullptr : m_slot.Handle(); }
    // Used from the next Start on.
    void SetPriority(int priority) { m_priority = priority; }
    void SetStackSize(uint32_t stackSize) { m_stackSize = stackSize; }

protected:
    // The body; its result becomes the exit code.
    virtual DWORD Run() = 0;
    // On the new thread before Run.
    virtual void OnStart() {}
    // On the thread after Run.
    virtual void OnExit() {}
    // On the stopping thread after a forced termination.
    virtual void OnTerminated() {}
    // Extra continuation test of ShouldContinue.
    virtual bool IsAlive() { return true; }
    // Called after a stop request: make a body waiting on its own events wake.
    virtual void Wake() {}

private:
    static bool NIsBadThis(const void* self) { return NThreadSlot::IsBadOwner(self); }
    static DWORD WINAPI Body(void* self);

    NThreadSlot m_slot;     // run state; see there which thread owns what
    int m_priority;         // owner's thread
    uint32_t m_stackSize;   // owner's thread
};
