#pragma once
// Font codes and the platform's logical fonts, for the setup dialog's font
// sample: a code becomes a font at the screen's resolution and back.
#include <windows.h>

#include <string>

// False (font untouched) when the code does not decode.
bool LMFontFromCode(const std::wstring& code, LOGFONTW& font);
// The code of a font, its size rounded to what the font dialog offers when
// the height does not match `sizeHint` points exactly (0: no hint).
std::wstring LMCodeFromFont(const LOGFONTW& font, double sizeHint = 0);
