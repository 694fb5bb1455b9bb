#pragma once
// UTF-8 <-> UTF-16 conversion that behaves the same on every platform.
//
// Wide text is always UTF-16 code units, also where wchar_t is 32 bits wide, so
// that portable code sees the same strings natively and on Windows. Ill-formed
// input never fails: it is repaired exactly as the Win32 code-page conversion
// (CP_UTF8, no flags) repairs it, so a text converted here and a text converted
// by the platform compare equal.
#include <string>
#include <string_view>

// Ill-formed input (a stray byte, a truncated sequence, an overlong form, an
// encoded surrogate, a value above U+10FFFF) becomes U+FFFD, one per bad piece
// as the platform cuts it. Code points above U+FFFF become surrogate pairs.
std::wstring NUtf8ToWide(std::string_view utf8);

// A lone surrogate becomes U+FFFD. A unit above 0xFFFF (possible only where
// wchar_t is 32 bits, e.g. from a wide literal) is not UTF-16 and becomes U+FFFD.
std::string NWideToUtf8(std::wstring_view wide);
