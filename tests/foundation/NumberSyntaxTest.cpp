#include "foundation/NumberSyntax.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

#include <gtest/gtest.h>

namespace {
constexpr uint32_t kMax = 0xFFFFFFFF;

uint32_t Parse(std::wstring_view text, uint32_t max = kMax)
{
    uint32_t v = 12345;
    EXPECT_TRUE(NParseUnsigned(text, max, v)) << std::string(text.begin(), text.end());
    return v;
}

uint32_t Refused(std::wstring_view text, uint32_t max = kMax)
{
    uint32_t v = 12345;
    NSetLastError(0);
    EXPECT_FALSE(NParseUnsigned(text, max, v)) << std::string(text.begin(), text.end());
    EXPECT_EQ(v, 12345u) << "value changed on failure";
    return NGetLastError();
}
}  // namespace

TEST(NumberSyntax, EveryRadixReads)
{
    EXPECT_EQ(Parse(L"0"), 0u);
    EXPECT_EQ(Parse(L"4096"), 4096u);
    EXPECT_EQ(Parse(L"0x1000"), 4096u);
    EXPECT_EQ(Parse(L"0XfFfF"), 0xFFFFu);
    EXPECT_EQ(Parse(L"0b101"), 5u);
    EXPECT_EQ(Parse(L"0B0"), 0u);
    EXPECT_EQ(Parse(L"023"), 19u);
    EXPECT_EQ(Parse(L"00"), 0u);
    EXPECT_EQ(Parse(L"0000000000000000000000001"), 1u);
    EXPECT_EQ(Parse(L" \t\r\n42\v\f "), 42u);
}

TEST(NumberSyntax, LimitsAreExact)
{
    EXPECT_EQ(Parse(L"4294967295"), kMax);
    EXPECT_EQ(Parse(L"0xFFFFFFFF"), kMax);
    EXPECT_EQ(Parse(L"037777777777"), kMax);
    EXPECT_EQ(Refused(L"4294967296"), nerr::kInvalidParameter);
    EXPECT_EQ(Refused(L"0x100000000"), nerr::kInvalidParameter);
    EXPECT_EQ(Refused(L"99999999999999999999999999"), nerr::kInvalidParameter);
    EXPECT_EQ(Parse(L"65535", 65535), 65535u);
    EXPECT_EQ(Refused(L"65536", 65535), nerr::kInvalidParameter);
    EXPECT_EQ(Refused(L"1", 0), nerr::kInvalidParameter);
    EXPECT_EQ(Parse(L"0", 0), 0u);
}

TEST(NumberSyntax, MalformedTextIsInvalidData)
{
    for (const wchar_t* bad : {L"", L"   ", L"0x", L"0b", L"08", L"09", L"0b2", L"0xG", L"+1", L"-1", L"1 2",
                               L"12a", L"a12", L"1.0", L"0x 1", L"\u0661", L"\uFF11", L"1_000", L"0o7"}) {
        EXPECT_EQ(Refused(bad), nerr::kInvalidData) << std::wstring(bad).size();
    }
    // A bad character wins over a value that is also too large.
    EXPECT_EQ(Refused(L"99999999999999x"), nerr::kInvalidData);
    // Embedded NUL is not white space.
    EXPECT_EQ(Refused(std::wstring_view(L"1\0", 2)), nerr::kInvalidData);
}
