#include "foundation/NTimeStamp.h"

#include "foundation/LocalClock.h"

#include <gtest/gtest.h>

namespace {
const std::wstring kIllegal = L"*** Illegal NTimeStamp ***";

NTimeStamp At(uint16_t y, uint16_t mo, uint16_t d, uint16_t h = 0, uint16_t mi = 0, uint16_t s = 0,
              uint32_t ticks = 0)
{
    NTimeStamp::SCalendar c;
    c.year = y;
    c.month = mo;
    c.day = d;
    c.hour = h;
    c.minute = mi;
    c.second = s;
    c.ticks = ticks;
    NTimeStamp t;
    EXPECT_TRUE(NTimeStamp::FromCalendar(c, t));
    return t;
}

std::wstring Fmt(NTimeStamp t, std::wstring_view f, std::optional<int32_t> bias = 0)
{
    return t.FormatWithBias(f, kIllegal, bias);
}
}  // namespace

TEST(NTimeStamp, CalendarConversionKnownDates)
{
    EXPECT_EQ(At(1601, 1, 1).Ticks(), 0u);
    EXPECT_EQ(At(1970, 1, 1).Ticks(), 116444736000000000u);  // the Unix epoch as a file time
    NTimeStamp::SCalendar c;
    ASSERT_TRUE(At(2024, 2, 29, 23, 59, 59, 9999999).ToCalendar(c));
    EXPECT_EQ(c.year, 2024);
    EXPECT_EQ(c.month, 2);
    EXPECT_EQ(c.day, 29);
    EXPECT_EQ(c.weekday, 4);  // Thursday
    EXPECT_EQ(c.millisecond, 999);
    ASSERT_TRUE(NTimeStamp(0).ToCalendar(c));
    EXPECT_EQ(c.weekday, 1);  // 1601-01-01 was a Monday
    ASSERT_TRUE(At(9999, 12, 31, 23, 59, 59, 9999999).ToCalendar(c));
    EXPECT_EQ(c.year, 9999);
    EXPECT_FALSE(NTimeStamp(At(9999, 12, 31, 23, 59, 59, 9999999).Ticks() + 1).ToCalendar(c));
    EXPECT_FALSE(NTimeStamp(UINT64_MAX).ToCalendar(c));
}

TEST(NTimeStamp, CalendarRefusesImpossibleFields)
{
    NTimeStamp t;
    NTimeStamp::SCalendar c;
    c.year = 2023, c.month = 2, c.day = 29;
    EXPECT_FALSE(NTimeStamp::FromCalendar(c, t));
    c.year = 1900;  // not a leap year either
    EXPECT_FALSE(NTimeStamp::FromCalendar(c, t));
    c.year = 2000;
    EXPECT_TRUE(NTimeStamp::FromCalendar(c, t));
    c.year = 1600;
    EXPECT_FALSE(NTimeStamp::FromCalendar(c, t));
    c = {};
    c.hour = 24;
    EXPECT_FALSE(NTimeStamp::FromCalendar(c, t));
    c.hour = 0;
    c.ticks = 10000000;
    EXPECT_FALSE(NTimeStamp::FromCalendar(c, t));
}

TEST(NTimeStamp, DaysRoundTripThroughTheCalendar)
{
    // Every 37th day over four centuries, so all leap rules are crossed.
    for (uint64_t day = 0; day < 146097 * 4; day += 37) {
        const NTimeStamp t(day * NTimeStamp::kTicksPerDay + 123456789);
        NTimeStamp::SCalendar c;
        ASSERT_TRUE(t.ToCalendar(c));
        NTimeStamp back;
        ASSERT_TRUE(NTimeStamp::FromCalendar(c, back));
        ASSERT_EQ(back, t);
        ASSERT_EQ(c.weekday, (day + 1) % 7);
    }
}

TEST(NTimeStamp, DefaultLogFormat)
{
    const NTimeStamp t = At(2024, 3, 15, 13, 5, 9, 420000);
    EXPECT_EQ(Fmt(t, L"%H:%M:%S.%N "), L"13:05:09.042 ");
}

TEST(NTimeStamp, OwnTokens)
{
    const NTimeStamp t = At(2024, 3, 15, 13, 5, 9, 420305);
    EXPECT_EQ(Fmt(t, L"%F"), L"0420305");
    EXPECT_EQ(Fmt(t, L"%u"), L"042030");
    EXPECT_EQ(Fmt(t, L"%N"), L"042");
    EXPECT_EQ(Fmt(t, L"%O"), L"586f");
    EXPECT_EQ(Fmt(t, L"%o"), L"68a4");  // 13 << 11 | 5 << 5 | 9 / 2
    EXPECT_EQ(Fmt(t, L"%D"), std::to_wstring(t.Ticks() / 864000000000));
    EXPECT_EQ(Fmt(t, L"%h"), std::to_wstring(t.Ticks() / 36000000000));
    EXPECT_EQ(Fmt(t, L"%s"), std::to_wstring(t.Ticks() / 10000000));
    EXPECT_EQ(Fmt(NTimeStamp(0), L"%D|%h|%s|%F|%O|%o"), L"0|0|0|0000000|0a21|0000");  // 1601: (-379 & 63) = 5
    EXPECT_EQ(Fmt(At(2043, 12, 31), L"%O"), L"7f9f");  // year 63 after 1980: the last before wrapping
    EXPECT_EQ(Fmt(At(2044, 1, 1), L"%O"), L"0021");    // ... and the wrap
    EXPECT_EQ(Fmt(t, L"%N%N"), L"042042");
}

TEST(NTimeStamp, OffsetTokens)
{
    const NTimeStamp t = At(2024, 3, 15);
    EXPECT_EQ(Fmt(t, L"%G %g", -60), L"+0100 +01:00");
    EXPECT_EQ(Fmt(t, L"%G %g", 0), L"+0000 +00:00");
    EXPECT_EQ(Fmt(t, L"%G %g", 300), L"-0500 -05:00");
    EXPECT_EQ(Fmt(t, L"%G", -345), L"+0545");
    EXPECT_EQ(Fmt(t, L"%G", -780), L"+1300");
    EXPECT_EQ(Fmt(t, L"[%g]", std::nullopt), L"[*ERR*]");
}

TEST(NTimeStamp, LibraryConversionsAndEscapes)
{
    const NTimeStamp t = At(2024, 3, 15, 13, 5, 9);
    EXPECT_EQ(Fmt(t, L"%Y-%m-%d %A %j"), L"2024-03-15 Friday 075");
    EXPECT_EQ(Fmt(t, L"100%% at %H"), L"100% at 13");
    // An escaped percent sign keeps the next letter literal, also for our own tokens.
    EXPECT_EQ(Fmt(t, L"%%N %%G"), L"%N %G");
    EXPECT_EQ(Fmt(At(1601, 1, 1), L"%Y %a"), L"1601 Mon");
}

TEST(NTimeStamp, WhatTheLibraryCannotFormatIsReturnedAfterOwnTokens)
{
    const NTimeStamp t = At(2024, 3, 15, 13, 5, 9, 420000);
    EXPECT_EQ(Fmt(t, L"%N %Q %H"), L"042 %Q %H");
    EXPECT_EQ(Fmt(t, L"%H%"), L"%H%");
    EXPECT_EQ(Fmt(t, L"%Ey"), L"%Ey");
    // Output of more than 65,536 characters cannot be produced either.
    std::wstring huge;
    for (int i = 0; i < 17000; ++i) huge += L"%Y";
    EXPECT_EQ(Fmt(t, huge), huge);
    // Between 4,096 and 65,536 the buffer grows until it fits.
    std::wstring big;
    for (int i = 0; i < 3000; ++i) big += L"%Y";
    std::wstring expected;
    for (int i = 0; i < 3000; ++i) expected += L"2024";
    EXPECT_EQ(Fmt(t, big), expected);
}

TEST(NTimeStamp, EmptyFormatAndIllegalStamps)
{
    EXPECT_EQ(Fmt(At(2024, 1, 1), L""), L"");
    EXPECT_EQ(Fmt(NTimeStamp(UINT64_MAX), L""), L"");
    EXPECT_EQ(Fmt(NTimeStamp(UINT64_MAX), L"%H"), kIllegal);
    EXPECT_EQ(Fmt(NTimeStamp(0x8000000000000000ull), L"%H"), kIllegal);
    EXPECT_EQ(NTimeStamp(UINT64_MAX).Format(L"%G", L"bad"), L"bad");
}

TEST(NTimeStamp, LocalNowFallbackAppliesTheNegatedBias)
{
    const uint64_t utc = At(2024, 6, 1, 12).Ticks();
    EXPECT_EQ(NTimeStamp::FromUtcAndBias(utc, -120), At(2024, 6, 1, 14));
    EXPECT_EQ(NTimeStamp::FromUtcAndBias(utc, 300), At(2024, 6, 1, 7));
    EXPECT_EQ(NTimeStamp::FromUtcAndBias(10, 60), NTimeStamp(0));  // no wrap below 1601
}

TEST(NTimeStamp, ZoneAnswersBecomeBiases)
{
    int32_t b = 99;
    EXPECT_TRUE(NZoneBiasFromAnswer(0, -60, 0, -60, b));
    EXPECT_EQ(b, -60);
    EXPECT_TRUE(NZoneBiasFromAnswer(1, -60, 5, -60, b));
    EXPECT_EQ(b, -55);
    EXPECT_TRUE(NZoneBiasFromAnswer(2, -60, 0, -60, b));
    EXPECT_EQ(b, -120);
    EXPECT_TRUE(NZoneBiasFromAnswer(7, -60, 0, -60, b));
    EXPECT_EQ(b, 0);
    EXPECT_FALSE(NZoneBiasFromAnswer(0xFFFFFFFF, -60, 0, -60, b));
}

TEST(NTimeStamp, LocalNowIsUtcShiftedByTheZone)
{
    const uint64_t before = NClockUtcNow();
    const NTimeStamp now = NTimeStamp::LocalNow();
    const uint64_t after = NClockUtcNow();
    int32_t bias = 0;
    ASSERT_TRUE(NClockZoneBias(bias));
    const int64_t shift = -int64_t{bias} * 600000000;
    EXPECT_GE(static_cast<int64_t>(now.Ticks()), static_cast<int64_t>(before) + shift - 10000000);
    EXPECT_LE(static_cast<int64_t>(now.Ticks()), static_cast<int64_t>(after) + shift + 10000000);
    NTimeStamp::SCalendar c;
    ASSERT_TRUE(now.ToCalendar(c));
    EXPECT_GE(c.year, 2024);
}
