#include "widgets/win32/NWndSubclass.h"

#include <commctrl.h>

N_DEFINE_CLASS_INFO(NWndSubclass, NClassInfo)

NWndSubclass::~NWndSubclass() { Remove(); }

bool NWndSubclass::Install(HWND window)
{
    Remove();
    if (window == nullptr || !::IsWindow(window)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId()) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (!::SetWindowSubclass(window, &NWndSubclass::SubclassProc, reinterpret_cast<UINT_PTR>(this),
                             reinterpret_cast<DWORD_PTR>(this))) {
        if (::GetLastError() == ERROR_SUCCESS)
            ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_window.store(window);
    return true;
}

void NWndSubclass::Remove() noexcept
{
    const HWND window = m_window.exchange(nullptr);
    if (window != nullptr)
        ::RemoveWindowSubclass(window, &NWndSubclass::SubclassProc, reinterpret_cast<UINT_PTR>(this));
}

LRESULT NWndSubclass::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Default(message, wParam, lParam);
}

LRESULT NWndSubclass::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefSubclassProc(m_window.load(), message, wParam, lParam);
}

LRESULT CALLBACK NWndSubclass::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR refData) noexcept
{
    auto* self = reinterpret_cast<NWndSubclass*>(refData);
    if (self == nullptr || self->m_window.load() != window)
        return ::DefSubclassProc(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->WindowProc(message, wParam, lParam);
    } catch (...) {
        result = ::DefSubclassProc(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        try {
            self->OnWindowGone();
        } catch (...) {
        }
        self->Remove();
    }
    return result;
}
