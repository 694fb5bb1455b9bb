#pragma once
// Base of every window class we register. The object is bound to its window
// at WM_NCCREATE (kept in GWLP_USERDATA) and unbound at WM_NCDESTROY; the one
// static window procedure unpacks the common messages once and calls virtual
// handlers that answer "handled". Nothing thrown by a handler leaves the
// window procedure.
#include <windows.h>

#include "framework/win32/NCmdUI.h"

class NWnd {
public:
    NWnd() = default;
    // Destroys a window that still exists, so an object never outlives its
    // binding. Hazard: a derived class's handlers are gone by then; derived
    // classes that need OnDestroy must destroy the window themselves.
    virtual ~NWnd();
    NWnd(const NWnd&) = delete;
    NWnd& operator=(const NWnd&) = delete;

    HWND Handle() const noexcept { return m_hWnd; }
    explicit operator bool() const noexcept { return m_hWnd != nullptr; }

    // The object bound to window, or null for windows of other classes.
    static NWnd* FromHandle(HWND window) noexcept;

    // Registers a window class that uses our window procedure; registering a
    // name a second time is not an error.
    static bool RegisterClass(const wchar_t* className, UINT classStyle, HCURSOR cursor, HBRUSH background,
                              HICON icon = nullptr);

    // Creates the window; false with the last error when the system or
    // OnCreate refused.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId);
    bool DestroyWindow();

    // Command routing. OnCmdMsg answers whether the command was handled;
    // OnUpdateCmdUI whether it set the command's state.
    virtual bool OnCmdMsg(UINT id, UINT code, HWND control) { return false; }
    virtual bool OnUpdateCmdUI(NCmdUI& cmd) { return false; }
    // Called by the owning thread's idle processing (first idle pass).
    virtual void OnIdleUpdate() {}

protected:
    // All messages; the default unpacks and calls the handlers below.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // The unpacking of the common messages, without OnMessage: for derived
    // WindowProcs that already asked OnMessage.
    LRESULT HandleCommon(UINT message, WPARAM wParam, LPARAM lParam);

    // Tried first for every message; true means result is the answer.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
    // False fails the creation.
    virtual bool OnCreate(const CREATESTRUCTW& create) { return true; }
    virtual void OnDestroy() {}
    // After the last message: the object is already unbound (Handle() is
    // null), so the handler may delete it.
    virtual void OnNcDestroy() {}
    virtual bool OnPaint() { return false; }
    virtual void OnSize(UINT type, int width, int height) {}

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    HWND m_hWnd = nullptr;
};
