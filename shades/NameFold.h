#pragma once
// Case-insensitive equality of UTF-16 names that gives the same answer on
// every platform (the C library's wide case mapping depends on the locale).
// Folds ASCII, Latin-1, Latin Extended-A pairs, Greek and Cyrillic; other
// characters compare as they are.
#include <string_view>

bool NNamesEqualNoCase(std::wstring_view a, std::wstring_view b);
