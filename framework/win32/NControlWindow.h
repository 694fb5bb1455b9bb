#pragma once
// Owner of a child window of a system class (toolbar, rebar, status bar).
// The window usually dies with its parent; the owner destroys it only when it
// still exists.
#include <windows.h>

class NControlWindow {
public:
    NControlWindow() = default;
    ~NControlWindow() { Destroy(); }
    NControlWindow(const NControlWindow&) = delete;
    NControlWindow& operator=(const NControlWindow&) = delete;

    HWND Handle() const noexcept { return m_hWnd; }
    explicit operator bool() const noexcept { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    bool IsVisible() const noexcept { return m_hWnd != nullptr && ::IsWindowVisible(m_hWnd); }
    void Show(bool visible) const noexcept
    {
        if (m_hWnd != nullptr)
            ::ShowWindow(m_hWnd, visible ? SW_SHOW : SW_HIDE);
    }

    bool Create(DWORD exStyle, const wchar_t* className, DWORD style, HWND parent, UINT id)
    {
        Destroy();
        m_hWnd = ::CreateWindowExW(exStyle, className, L"", style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                   nullptr);
        return m_hWnd != nullptr;
    }
    void Destroy() noexcept
    {
        if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }

private:
    HWND m_hWnd = nullptr;
};
