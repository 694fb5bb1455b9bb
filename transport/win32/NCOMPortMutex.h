#pragma once
// Serialises the opening of COM ports across every process that uses it, so
// that a presence test never collides with a console opening the same port.
// Each owner object creates (does not own) the named mutex; Acquire takes it.
#include <windows.h>

#include "foundation/win32/Handles.h"

class NCOMPortMutex {
public:
    static constexpr const wchar_t* kName = L"VEXAL.NCOMPortMutex";
    static constexpr DWORD kWaitMs = 5000;

    NCOMPortMutex() = default;
    ~NCOMPortMutex() { Release(); }
    NCOMPortMutex(const NCOMPortMutex&) = delete;
    NCOMPortMutex& operator=(const NCOMPortMutex&) = delete;

    // Waits up to timeoutMs; false with ERROR_TIMEOUT (1460) when another
    // owner keeps it, or the system error. A mutex left by an owner that died
    // is taken over. Taking it twice through one object is refused
    // (ERROR_BUSY) rather than counted, so one Release always frees it.
    bool Acquire(DWORD timeoutMs = kWaitMs);
    void Release();
    bool IsHeld() const { return m_held; }

private:
    NHandle m_mutex;
    bool m_held = false;  // owner's thread
};
