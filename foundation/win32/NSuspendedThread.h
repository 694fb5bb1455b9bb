#pragma once
// The framework thread object: a platform thread created suspended, so that its
// owner can record its id and duplicate its handle before any code runs on it.
// It never deletes itself; its owner deletes it after the thread has ended.
#include <windows.h>

#include <cstdint>

#include "foundation/win32/Handles.h"

class NSuspendedThread {
public:
    using Entry = DWORD(WINAPI*)(void* parameter);

    NSuspendedThread() = default;
    NSuspendedThread(const NSuspendedThread&) = delete;
    NSuspendedThread& operator=(const NSuspendedThread&) = delete;

    // Creates the thread suspended; stackSize 0 takes the executable's default.
    // False with the platform's last error on failure.
    bool Create(Entry entry, void* parameter, uint32_t stackSize, int priority);
    bool Resume();

    HANDLE Handle() const { return m_handle.Get(); }
    DWORD Id() const { return m_id; }

private:
    NHandle m_handle;
    DWORD m_id = 0;
};
