#pragma once
// The message box of the program: owner, text, caption and the usual flags.
// The owner may be null; a modal box then belongs to the calling thread.
#include <windows.h>

#include <functional>
#include <string>

int NMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags = MB_OK);

// GUI tests answer boxes without a modal loop: while a hook is installed,
// NMessageBox calls it (on the calling thread) instead of showing a box and
// returns its answer. An empty hook restores the real box; the previous hook
// is returned so that tests can nest.
using NMessageBoxHook = std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags)>;
NMessageBoxHook NSetMessageBoxHook(NMessageBoxHook hook);
