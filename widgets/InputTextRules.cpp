#include "widgets/InputTextRules.h"

namespace {
bool IsTrimSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r' || c == 0x00A0;
}
}  // namespace

std::wstring_view InputTrim(std::wstring_view text)
{
    while (!text.empty() && IsTrimSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsTrimSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

wchar_t InputFoldCase(wchar_t c)
{
    const auto u = static_cast<unsigned>(c);
    if (u >= 'A' && u <= 'Z')
        return static_cast<wchar_t>(u + 0x20);
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
        return static_cast<wchar_t>(u + 0x20);
    // Latin Extended-A pairs capital/small as even/odd, except the block
    // 0x139-0x148 and 0x179-0x17E, which pair odd/even; 0x130, 0x131, 0x138,
    // 0x149 and 0x17F have no simple partner.
    if ((u >= 0x100 && u <= 0x12F) || (u >= 0x132 && u <= 0x137) || (u >= 0x14A && u <= 0x177))
        return static_cast<wchar_t>(u | 1u);
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E))
        return static_cast<wchar_t>((u & 1u) ? u + 1 : u);
    if (u == 0x178)
        return static_cast<wchar_t>(0xFF);
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2)
        return static_cast<wchar_t>(u + 0x20);
    if (u >= 0x410 && u <= 0x42F)
        return static_cast<wchar_t>(u + 0x20);
    if (u >= 0x400 && u <= 0x40F)
        return static_cast<wchar_t>(u + 0x50);
    return c;
}

bool InputTextEqual(std::wstring_view a, std::wstring_view b, bool caseSensitive)
{
    if (a.size() != b.size())
        return false;
    if (caseSensitive)
        return a == b;
    for (size_t i = 0; i < a.size(); ++i) {
        if (InputFoldCase(a[i]) != InputFoldCase(b[i]))
            return false;
    }
    return true;
}
