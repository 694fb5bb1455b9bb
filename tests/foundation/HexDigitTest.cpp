#include "foundation/HexDigit.h"

#include <gtest/gtest.h>

#include <string>

TEST(NHexDigitValue, EveryDigitInBothCasesAndTheirNeighboursOutside)
{
    const std::wstring lower = L"0123456789abcdef";
    const std::wstring upper = L"0123456789ABCDEF";
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(NHexDigitValue(lower[i]), i);
        EXPECT_EQ(NHexDigitValue(upper[i]), i);
    }
    // The characters just around each range.
    for (wchar_t c : std::wstring(L"/:@G`g xX-+\0", 12)) EXPECT_EQ(NHexDigitValue(c), -1) << static_cast<int>(c);
    // Look-alikes from other blocks: fullwidth digits and letters, Arabic-Indic
    // digits, and a value whose low bits alone would be 'A'.
    for (wchar_t c : {wchar_t(0xFF10), wchar_t(0xFF21), wchar_t(0x0660), wchar_t(0x0141), wchar_t(0xFFFF)})
        EXPECT_EQ(NHexDigitValue(c), -1) << static_cast<int>(c);
    static_assert(NHexDigitValue(L'F') == 15);
}
