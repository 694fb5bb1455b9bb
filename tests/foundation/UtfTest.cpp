#include "foundation/Utf.h"

#include <gtest/gtest.h>

#include <random>

namespace {
const std::wstring kFFFD(1, static_cast<wchar_t>(0xFFFD));
std::wstring W(std::initializer_list<unsigned> units)
{
    std::wstring s;
    for (unsigned u : units) s.push_back(static_cast<wchar_t>(u));
    return s;
}
}  // namespace

TEST(Utf, WellFormedTextOfEveryLengthConverts)
{
    // a, e-acute, euro sign, G clef (a surrogate pair in UTF-16).
    const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E";
    const std::wstring wide = W({'a', 0xE9, 0x20AC, 0xD834, 0xDD1E});
    EXPECT_EQ(NUtf8ToWide(utf8), wide);
    EXPECT_EQ(NWideToUtf8(wide), utf8);
    EXPECT_EQ(NUtf8ToWide(std::string("\0x", 2)), W({0, 'x'}));
    EXPECT_EQ(NUtf8ToWide("\xF4\x8F\xBF\xBF"), W({0xDBFF, 0xDFFF}));  // U+10FFFF, the last code point
    EXPECT_EQ(NUtf8ToWide("\xEF\xBB\xBF"), W({0xFEFF}));              // a BOM is an ordinary character
    EXPECT_TRUE(NUtf8ToWide("").empty());
    EXPECT_TRUE(NWideToUtf8(L"").empty());
}

TEST(Utf, BadBytesBecomeReplacementCharactersAsThePlatformCutsThem)
{
    // Stray continuation bytes and bytes that can never start a sequence: one each.
    EXPECT_EQ(NUtf8ToWide("\x80\xBF"), kFFFD + kFFFD);
    EXPECT_EQ(NUtf8ToWide("\xC0\x80"), kFFFD + kFFFD);
    EXPECT_EQ(NUtf8ToWide("\xF5\x80"), kFFFD + kFFFD);
    EXPECT_EQ(NUtf8ToWide("x\xFFy"), L"x" + kFFFD + L"y");
    // A lead byte followed by a non-continuation: the lead alone is replaced.
    EXPECT_EQ(NUtf8ToWide("\xE2" "A" "B"), kFFFD + L"AB");
    // A sequence cut short by the end of the input: one replacement for all of it.
    EXPECT_EQ(NUtf8ToWide("ab\xE2\x82"), L"ab" + kFFFD);
    EXPECT_EQ(NUtf8ToWide("\xE0" "A"), kFFFD);
    EXPECT_EQ(NUtf8ToWide("\xF0\x9D\x84"), kFFFD);
    // Overlong forms and encoded surrogates take the byte that shows them.
    EXPECT_EQ(NUtf8ToWide("\xE0\x80\x80"), kFFFD + kFFFD);
    EXPECT_EQ(NUtf8ToWide("\xED\xA0\x80"), kFFFD + kFFFD);
    // A value past U+10FFFF does not take the byte that shows it.
    EXPECT_EQ(NUtf8ToWide("\xF4\x90\x80\x80"), kFFFD + kFFFD + kFFFD);
}

TEST(Utf, LoneSurrogatesAndNonUtf16UnitsBecomeReplacementCharacter)
{
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(NWideToUtf8(W({0xD800})), r);
    EXPECT_EQ(NWideToUtf8(W({0xDC00, 'a'})), r + "a");
    EXPECT_EQ(NWideToUtf8(W({0xD800, 0xD800, 0xDC00})), r + "\xF0\x90\x80\x80");
    EXPECT_EQ(NWideToUtf8(W({'a', 0xDBFF})), "a" + r);
    if constexpr (sizeof(wchar_t) == 4) {
        EXPECT_EQ(NWideToUtf8(W({0x1F600})), r);
    }
}

TEST(Utf, OutputIsAlwaysValidAndStableUnderRoundTrips)
{
    std::mt19937 rng(99);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        const int len = static_cast<int>(rng() % 16);
        for (int i = 0; i < len; ++i) bytes.push_back(static_cast<char>(rng() % 256));
        const std::wstring wide = NUtf8ToWide(bytes);
        const std::string utf8 = NWideToUtf8(wide);
        // Repaired text is well formed: it survives another trip unchanged.
        ASSERT_EQ(NUtf8ToWide(utf8), wide);
        ASSERT_EQ(NWideToUtf8(NUtf8ToWide(utf8)), utf8);
        for (wchar_t c : wide) ASSERT_LE(static_cast<uint32_t>(c), 0xFFFFu);
    }
}
