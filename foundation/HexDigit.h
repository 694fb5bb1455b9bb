#pragma once
// The value of one hexadecimal digit, either case; -1 for anything else
// (ASCII only: other scripts' digits are not digits here).

constexpr int NHexDigitValue(wchar_t c) noexcept
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}
