// The time stamp's platform half against the platform's own answers.
#include "foundation/LocalClock.h"
#include "foundation/NTimeStamp.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(NTimeStampWin32, LocalNowMatchesGetLocalTime)
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
    const uint64_t platform = (uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime;
    const uint64_t ours = NTimeStamp::LocalNow().Ticks();
    const int64_t diff = static_cast<int64_t>(ours) - static_cast<int64_t>(platform);
    EXPECT_LT(diff < 0 ? -diff : diff, 20000000) << "more than 2 s apart";
}

TEST(NTimeStampWin32, CalendarMatchesFileTimeToSystemTime)
{
    for (uint64_t t : {0ull, 1ull, 133549000000000000ull, 125911584000000000ull, 2650467743999999999ull,
                       116444736000000000ull, 104000000000000000ull}) {
        FILETIME ft{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
        SYSTEMTIME st;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
        NTimeStamp::SCalendar c;
        ASSERT_TRUE(NTimeStamp(t).ToCalendar(c));
        EXPECT_EQ(c.year, st.wYear);
        EXPECT_EQ(c.month, st.wMonth);
        EXPECT_EQ(c.day, st.wDay);
        EXPECT_EQ(c.weekday, st.wDayOfWeek);
        EXPECT_EQ(c.hour, st.wHour);
        EXPECT_EQ(c.minute, st.wMinute);
        EXPECT_EQ(c.second, st.wSecond);
        EXPECT_EQ(c.millisecond, st.wMilliseconds);
    }
}

TEST(NTimeStampWin32, ZoneBiasMatchesGetTimeZoneInformation)
{
    TIME_ZONE_INFORMATION tz;
    const DWORD answer = GetTimeZoneInformation(&tz);
    int32_t expected = 0;
    const bool known = NZoneBiasFromAnswer(answer, tz.Bias, tz.StandardBias, tz.DaylightBias, expected);
    int32_t bias = 12345;
    EXPECT_EQ(NClockZoneBias(bias), known);
    if (known) {
        EXPECT_EQ(bias, expected);
    }
}

TEST(NTimeStampWin32, PlatformFormatterHandlesTheDefaultsAndRefusesNothingItCannot)
{
    const NTimeStamp t(133549000000000000ull + 420000);  // 2024-03-14 14:26:40.042
    EXPECT_EQ(t.FormatWithBias(L"%H:%M:%S.%N ", L"bad", 0).size(), 13u);
    EXPECT_EQ(t.FormatWithBias(L"%Y-%m-%d %j", L"bad", 0).substr(0, 4), L"2024");
    // Conversions the runtime does not know never reach it.
    EXPECT_EQ(t.FormatWithBias(L"%Q %N", L"bad", 0), L"%Q 042");
    EXPECT_EQ(t.FormatWithBias(L"%", L"bad", 0), L"%");
    // The widest year still formats.
    EXPECT_EQ(NTimeStamp(2650467743999999999ull).FormatWithBias(L"%Y", L"bad", 0), L"9999");
}
