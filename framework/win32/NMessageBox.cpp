#include "framework/win32/NMessageBox.h"

int NMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags)
{
    if (owner != nullptr && !::IsWindow(owner))
        owner = nullptr;
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}
