#pragma once
// Text rules of the input box that must behave the same natively and on
// Win32: trimming and case-insensitive comparison of UTF-16 text. The C
// library's towlower depends on the locale (in the "C" locale it folds only
// A-Z), so the fold is our own: ASCII, Latin-1, Latin Extended-A, Greek and
// Cyrillic, which covers the names users give shades and marks.
#include <string>
#include <string_view>

// Blank, tab, line feed, vertical tab, form feed, carriage return and the
// no-break space removed from both ends.
std::wstring_view InputTrim(std::wstring_view text);

// The lower-case form of one UTF-16 unit; other units stay as they are.
wchar_t InputFoldCase(wchar_t c);

bool InputTextEqual(std::wstring_view a, std::wstring_view b, bool caseSensitive);
