// The system error text as the platform gives it.
#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/win32/SystemErrorText.h"

namespace {
void ExpectShaped(const std::wstring& text)
{
    ASSERT_FALSE(text.empty());
    const wchar_t last = text.back();
    EXPECT_NE(L'.', last) << text;
    EXPECT_NE(L'\n', last) << text;
    EXPECT_NE(L' ', last) << text;
    EXPECT_EQ(std::wstring::npos, text.find(L"Unknown system error")) << text;
}
}  // namespace

TEST(SystemErrorText, KnownWin32AndSocketErrors)
{
    for (uint32_t code : {2u, 5u, 10061u}) {
        SCOPED_TRACE(code);
        const std::wstring raw = NLookupSystemMessage(code);
        ASSERT_FALSE(raw.empty());
        const std::wstring text = NSystemErrorText(code);
        ExpectShaped(text);
        EXPECT_EQ(0u, raw.find(text));  // the platform's own words, only trimmed
    }
}

TEST(SystemErrorText, UnknownErrorAndForms)
{
    // Bit 29 marks application-defined codes: the system has no text for them.
    EXPECT_EQ(L"Unknown system error 0x2000BEEF", NSystemErrorText(0x2000BEEF));
    EXPECT_EQ(L"\r\nError 536919791: Unknown system error 0x2000BEEF\r\n",
              NSystemErrorText(0x2000BEEF, nsyserr::kLong | nsyserr::kLeadingCrLf | nsyserr::kTrailingCrLf));
    const std::wstring longForm = NSystemErrorText(5, nsyserr::kLong);
    EXPECT_EQ(0u, longForm.find(L"Error 5: ")) << longForm;
    EXPECT_EQ(L"Error 5: " + NSystemErrorText(5), longForm);
}

TEST(SystemErrorText, LeavesTheLastErrorAlone)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    const std::wstring text = NLastSystemErrorText(nsyserr::kLong);
    EXPECT_EQ(0u, text.find(L"Error 5: "));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), ::GetLastError());
    NSystemErrorText(0x2000BEEF);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), ::GetLastError());
}
