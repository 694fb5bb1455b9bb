#pragma once
// Installs itself as a subclass procedure of one window (of the calling
// thread) and receives that window's messages through WindowProc. Built on
// the common controls' subclass chain, so several subclasses of one window
// come and go in any order. The subclass removes itself at WM_NCDESTROY.
#include <windows.h>

#include <atomic>

#include "foundation/NClassInfo.h"

class NWndSubclass : public NClassInfo {
    N_DECLARE_CLASS_INFO(NWndSubclass)

public:
    NWndSubclass() = default;
    // Removes the subclass. Hazard: must run on the window's thread.
    ~NWndSubclass() override;
    NWndSubclass(const NWndSubclass&) = delete;
    NWndSubclass& operator=(const NWndSubclass&) = delete;

    // False (with the last error) for a null window, a window of another
    // thread, or when the system refuses. Removes any earlier subclass first.
    bool Install(HWND window);
    void Remove() noexcept;
    // Null when not installed.
    HWND Window() const noexcept { return m_window.load(); }

protected:
    // Every message of the window; the default passes it on.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // The window is being destroyed for good; called before the subclass is
    // removed at WM_NCDESTROY.
    virtual void OnWindowGone() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR refData) noexcept;

    // Written on the window's thread; read from any thread.
    std::atomic<HWND> m_window{nullptr};
};
