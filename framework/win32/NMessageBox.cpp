#include "framework/win32/NMessageBox.h"

#include <mutex>
#include <utility>

namespace {

// Boxes are shown from any UI thread (every console has one), so the hook is
// copied out under a lock and called without it.
std::mutex g_hookLock;
NMessageBoxHook g_hook;

}  // namespace

NMessageBoxHook NSetMessageBoxHook(NMessageBoxHook hook)
{
    std::lock_guard<std::mutex> guard(g_hookLock);
    std::swap(g_hook, hook);
    return hook;
}

int NMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags)
{
    if (owner != nullptr && !::IsWindow(owner))
        owner = nullptr;
    NMessageBoxHook hook;
    {
        std::lock_guard<std::mutex> guard(g_hookLock);
        hook = g_hook;
    }
    if (hook)
        return hook(owner, text, caption, flags);
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}
