#pragma once
// One running instance per executable file name. The first instance owns a
// named auto-reset event; a later start signals it and ends, and the first
// instance notices the signal in its idle time.
#include <windows.h>

#include <string>

#include "foundation/win32/Handles.h"

class LMSingleInstance {
public:
    explicit LMSingleInstance(std::wstring eventName) : m_name(std::move(eventName)) {}

    // The process's own check, named after the running executable.
    static LMSingleInstance& Process();

    // The first call creates or opens the event; later calls answer from the
    // cache, except that a failed creation is tried again.
    bool IsFirstInstance();
    // Wakes the first instance; false when there is no event to signal.
    bool WakeFirstInstance();
    // First instance only: whether a later start signalled (and so resets) the event.
    bool TakeWakeUp();
    const std::wstring& EventName() const noexcept { return m_name; }

private:
    std::wstring m_name;
    NEventHandle m_event;
    bool m_checked = false;
    bool m_first = false;
};
