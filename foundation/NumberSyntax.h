#pragma once
// The unsigned number syntax of user input (Rx wrap, time-outs, log depth, port
// numbers, log size): optional white space around one number written as
// "0x"/"0X" + hexadecimal digits, "0b"/"0B" + binary digits, "0" + octal
// digits, or decimal digits. "0" alone is zero. No sign, no inner blanks.
#include <cstdint>
#include <string_view>

// On success stores the number in `value`. On failure `value` is unchanged and
// the last error is nerr::kInvalidData for text that is not a number in the
// syntax above, or nerr::kInvalidParameter for a number above `maxValue`.
bool NParseUnsigned(std::wstring_view text, uint32_t maxValue, uint32_t& value);

// The white space the syntax skips: blank, tab, line feed, vertical tab, form
// feed, carriage return.
bool NIsNumberSpace(wchar_t c);
