#include "shades/LMGuid.h"

#include "foundation/INRandomSource.h"
#include "foundation/HexDigit.h"

#include <cstring>

namespace {

// Text position of each byte's two digits: Data1 (bytes 3..0), Data2 (5,4),
// Data3 (7,6), then Data4 in order. Offsets skip the hyphens.
constexpr int kByteAtTextPos[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
constexpr int kTextPos[16] = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};

}  // namespace

bool LMGuid::IsNil() const
{
    for (uint8_t b : bytes)
        if (b != 0)
            return false;
    return true;
}

bool operator==(const LMGuid& a, const LMGuid& b)
{
    return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
}

std::wstring LMGuid::ToText() const
{
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text(36, L'-');
    for (int i = 0; i < 16; ++i) {
        uint8_t b = bytes[kByteAtTextPos[i]];
        text[kTextPos[i]] = kDigits[b >> 4];
        text[kTextPos[i] + 1] = kDigits[b & 15];
    }
    return text;
}

bool LMGuid::Parse(std::wstring_view text, LMGuid& out)
{
    if (text.size() == 38) {
        if (text.front() != L'{' || text.back() != L'}')
            return false;
        text = text.substr(1, 36);
    }
    if (text.size() != 36)
        return false;
    if (text[8] != L'-' || text[13] != L'-' || text[18] != L'-' || text[23] != L'-')
        return false;
    LMGuid g;
    for (int i = 0; i < 16; ++i) {
        int hi = NHexDigitValue(text[kTextPos[i]]);
        int lo = NHexDigitValue(text[kTextPos[i] + 1]);
        if (hi < 0 || lo < 0)
            return false;
        g.bytes[kByteAtTextPos[i]] = static_cast<uint8_t>(hi << 4 | lo);
    }
    out = g;
    return true;
}

bool LMGuid::Create(INRandomSource& random, LMGuid& out)
{
    LMGuid g;
    if (!random.GetBytes(g.bytes, sizeof g.bytes)) {
        out = LMGuid{};
        return false;
    }
    // Version 4 in the top nibble of Data3 (stored little-endian: byte 7),
    // RFC 4122 variant in the top bits of Data4[0].
    g.bytes[7] = static_cast<uint8_t>((g.bytes[7] & 0x0F) | 0x40);
    g.bytes[8] = static_cast<uint8_t>((g.bytes[8] & 0x3F) | 0x80);
    out = g;
    return true;
}
