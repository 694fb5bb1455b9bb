#include "foundation/NumberSyntax.h"

#include "foundation/ErrorCodes.h"
#include "foundation/HexDigit.h"
#include "foundation/LastError.h"

bool NIsNumberSpace(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

bool NParseUnsigned(std::wstring_view text, uint32_t maxValue, uint32_t& value)
{
    size_t b = 0, e = text.size();
    while (b < e && NIsNumberSpace(text[b])) ++b;
    while (e > b && NIsNumberSpace(text[e - 1])) --e;
    std::wstring_view s = text.substr(b, e - b);
    if (s.empty()) return NFail(nerr::kInvalidData);

    unsigned radix = 10;
    if (s.size() >= 2 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X')) {
        radix = 16;
        s.remove_prefix(2);
    } else if (s.size() >= 2 && s[0] == L'0' && (s[1] == L'b' || s[1] == L'B')) {
        radix = 2;
        s.remove_prefix(2);
    } else if (s.size() >= 2 && s[0] == L'0') {
        radix = 8;
        s.remove_prefix(1);
    }
    if (s.empty()) return NFail(nerr::kInvalidData);

    // Every character is checked before the range, so that "99999999999x"
    // reports bad syntax rather than a value out of range.
    uint64_t acc = 0;
    bool tooBig = false;
    for (wchar_t c : s) {
        const int d = NHexDigitValue(c);
        if (d < 0 || static_cast<unsigned>(d) >= radix) return NFail(nerr::kInvalidData);
        if (!tooBig) {
            acc = acc * radix + static_cast<unsigned>(d);
            tooBig = acc > maxValue;
        }
    }
    if (tooBig) return NFail(nerr::kInvalidParameter);
    value = static_cast<uint32_t>(acc);
    return true;
}
