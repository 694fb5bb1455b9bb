// Shaping of the system error text: trimming, the unknown form, the long
// form and the optional line breaks.
#include <gtest/gtest.h>

#include "foundation/SystemErrorFormat.h"

TEST(SystemErrorFormat, TrimsTrailingWhiteSpaceAndFullStops)
{
    EXPECT_EQ(L"The system cannot find the file specified",
              NTrimSystemMessage(L"The system cannot find the file specified.\r\n"));
    EXPECT_EQ(L"Access is denied", NTrimSystemMessage(L"Access is denied. . .\t \r\n"));
    EXPECT_EQ(L"v1.2 failed", NTrimSystemMessage(L"v1.2 failed"));  // inner stops stay
    EXPECT_EQ(L"  leading kept", NTrimSystemMessage(L"  leading kept \n"));
    EXPECT_EQ(L"", NTrimSystemMessage(L""));
    EXPECT_EQ(L"", NTrimSystemMessage(L" .\r\n.."));
}

TEST(SystemErrorFormat, UnknownCodeGivesEightUpperCaseHexDigits)
{
    EXPECT_EQ(L"Unknown system error 0x00000000", NUnknownSystemErrorText(0));
    EXPECT_EQ(L"Unknown system error 0x0000ABCD", NUnknownSystemErrorText(0xABCD));
    EXPECT_EQ(L"Unknown system error 0xFFFFFFFF", NUnknownSystemErrorText(0xFFFFFFFFu));
    EXPECT_EQ(L"Unknown system error 0x2000F00D", NFormatSystemErrorText(0x2000F00D, L""));
    // A message that is nothing but white space and stops is no message.
    EXPECT_EQ(L"Unknown system error 0x00000007", NFormatSystemErrorText(7, L" .\r\n"));
}

TEST(SystemErrorFormat, LongFormAndLineBreaks)
{
    const wchar_t* raw = L"Access is denied.\r\n";
    EXPECT_EQ(L"Access is denied", NFormatSystemErrorText(5, raw));
    EXPECT_EQ(L"Error 5: Access is denied", NFormatSystemErrorText(5, raw, nsyserr::kLong));
    EXPECT_EQ(L"\r\nAccess is denied", NFormatSystemErrorText(5, raw, nsyserr::kLeadingCrLf));
    EXPECT_EQ(L"Access is denied\r\n", NFormatSystemErrorText(5, raw, nsyserr::kTrailingCrLf));
    EXPECT_EQ(L"\r\nError 10061: refused\r\n",
              NFormatSystemErrorText(10061, L"refused.", nsyserr::kLong | nsyserr::kLeadingCrLf | nsyserr::kTrailingCrLf));
    EXPECT_EQ(L"Error 4294967295: Unknown system error 0xFFFFFFFF",
              NFormatSystemErrorText(0xFFFFFFFFu, L"", nsyserr::kLong));
    EXPECT_EQ(L"Error 0: Unknown system error 0x00000000", NFormatSystemErrorText(0, L"", nsyserr::kLong));
}
