#include "shades/NameFold.h"

namespace {

wchar_t FoldChar(wchar_t c)
{
    unsigned u = static_cast<unsigned>(c);
    if (u >= 'A' && u <= 'Z')
        return static_cast<wchar_t>(u + 32);
    if (u < 0xC0)
        return c;
    if (u <= 0xDE && u != 0xD7)
        return static_cast<wchar_t>(u + 32);
    if (u >= 0x100 && u <= 0x17F) {
        // Latin Extended-A alternates upper/lower, with the parity flipped
        // in 0x139..0x148 and 0x179..0x17E; a few odd ones stay as they are.
        bool oddUpper = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
        if (u == 0x130 || u == 0x131 || u == 0x138 || u == 0x149 || u == 0x17F)
            return c;
        bool isUpper = oddUpper ? (u & 1) != 0 : (u & 1) == 0;
        return isUpper ? static_cast<wchar_t>(u + 1) : c;
    }
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2)
        return static_cast<wchar_t>(u + 32);
    if (u >= 0x410 && u <= 0x42F)
        return static_cast<wchar_t>(u + 32);
    if (u >= 0x400 && u <= 0x40F)
        return static_cast<wchar_t>(u + 80);
    return c;
}

}  // namespace

bool NNamesEqualNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldChar(a[i]) != FoldChar(b[i]))
            return false;
    return true;
}
