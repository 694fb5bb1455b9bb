#pragma once
// The message box of the program: owner, text, caption and the usual flags.
// The owner may be null; a modal box then belongs to the calling thread.
#include <windows.h>

#include <string>

int NMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags = MB_OK);
