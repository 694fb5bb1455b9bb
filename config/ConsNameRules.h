#pragma once
// Console names become recording file names, so the device names that cannot
// serve as file names are refused.
#include <string_view>

// "COM", "CON", "AUX", "PRN", "NUL" (ignoring case), or "COM"/"LPT" followed
// by text that reads as a whole signed integer ("COM7", "lpt1", "Com 3").
bool LMIsReservedConsoleName(std::wstring_view name);
// A COM port name: "COM" (ignoring case) and a number 1-999 in decimal digits.
bool LMIsValidComPortName(std::wstring_view name);
// The text without leading and trailing white space.
std::wstring_view LMTrimSpace(std::wstring_view text);
