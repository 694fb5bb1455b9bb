#include "framework/win32/NWnd.h"

NWnd::~NWnd()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        // Unbind first: the derived object is already gone.
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        ::DestroyWindow(window);
    }
}

NWnd* NWnd::FromHandle(HWND window) noexcept
{
    if (window == nullptr)
        return nullptr;
    // Only our own classes keep an object pointer in the user data; other
    // classes (common controls) may put anything there.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)) != &NWnd::StaticWndProc)
        return nullptr;
    return reinterpret_cast<NWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool NWnd::RegisterClass(const wchar_t* className, UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExW(instance, className, &existing))
        return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &NWnd::StaticWndProc;
    wc.hInstance = instance;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool NWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId)
{
    if (m_hWnd != nullptr) {
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    HWND window = ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                                    ::GetModuleHandleW(nullptr), this);
    if (window == nullptr) {
        if (::GetLastError() == ERROR_SUCCESS)
            ::SetLastError(ERROR_CANNOT_MAKE);
        return false;
    }
    return true;
}

bool NWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd) != FALSE;
}

LRESULT NWnd::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT NWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result))
        return result;
    return HandleCommon(message, wParam, lParam);
}

LRESULT NWnd::HandleCommon(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(*reinterpret_cast<const CREATESTRUCTW*>(lParam)) ? 0 : -1;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        if (OnPaint())
            return 0;
        break;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case WM_COMMAND:
        if (OnCmdMsg(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return 0;
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

LRESULT CALLBACK NWnd::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    NWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<NWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self != nullptr) {
            self->m_hWnd = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<NWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        // A handler must not throw; the message counts as handled so the
        // window stays usable, and creation fails rather than half-succeeds.
        result = (message == WM_CREATE) ? -1 : 0;
    }
    if (message == WM_NCDESTROY) {
        // Unbound before the handler, which may delete the object.
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        try {
            self->OnNcDestroy();
        } catch (...) {
        }
    }
    return result;
}
