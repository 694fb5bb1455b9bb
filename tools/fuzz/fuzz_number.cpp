// The unsigned number syntax on arbitrary text, checked against an
// independent reading: an accepted text must be a number in the syntax, must
// fit the maximum, and must print back (in its radix) to its digits.
#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/NumberSyntax.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
void Check(bool ok)
{
    if (!ok) std::abort();
}

// A slow, obviously right model.
bool Model(const std::wstring& t, uint32_t max, uint32_t& value, bool& tooBig)
{
    size_t b = 0, e = t.size();
    auto space = [](wchar_t c) { return c == L' ' || (c >= 9 && c <= 13); };
    while (b < e && space(t[b])) ++b;
    while (e > b && space(t[e - 1])) --e;
    std::wstring s = t.substr(b, e - b);
    unsigned radix = 10;
    if (s.size() >= 2 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X'))
        radix = 16, s.erase(0, 2);
    else if (s.size() >= 2 && s[0] == L'0' && (s[1] == L'b' || s[1] == L'B'))
        radix = 2, s.erase(0, 2);
    else if (s.size() >= 2 && s[0] == L'0')
        radix = 8, s.erase(0, 1);
    if (s.empty()) return false;
    const std::wstring digits = L"0123456789abcdef";
    unsigned __int128 v = 0;
    tooBig = false;
    for (wchar_t c : s) {
        wchar_t l = (c >= L'A' && c <= L'F') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
        const size_t d = digits.find(l);
        if (d == std::wstring::npos || d >= radix) return false;
        v = v * radix + d;
        if (v > max) tooBig = true;
    }
    value = static_cast<uint32_t>(v);
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4) return 0;
    uint32_t max;
    std::memcpy(&max, data, 4);
    if (data[0] & 1) max = 0xFFFFFFFF;  // the common case, often
    // Bytes as text, with a few bytes standing for wide characters.
    std::wstring text;
    for (size_t i = 4; i < size; ++i) text.push_back(data[i] == 0xFF ? L'\uFF10' : static_cast<wchar_t>(data[i]));

    uint32_t value = 0xDEADBEEF;
    NSetLastError(0);
    const bool ok = NParseUnsigned(text, max, value);
    uint32_t expected = 0;
    bool tooBig = false;
    const bool syntax = Model(text, max, expected, tooBig);
    if (ok) {
        Check(syntax && !tooBig && value == expected && value <= max);
    } else {
        Check(value == 0xDEADBEEF);
        Check(NGetLastError() == (syntax && tooBig ? nerr::kInvalidParameter : nerr::kInvalidData));
        Check(!syntax || tooBig);
    }
    // Printed back in decimal it reads the same.
    if (ok) {
        uint32_t again = 0;
        Check(NParseUnsigned(std::to_wstring(value), max, again) && again == value);
    }
    return 0;
}
