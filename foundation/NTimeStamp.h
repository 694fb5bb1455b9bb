#pragma once
// A local wall-clock time stamp: 100-ns intervals since 1601-01-01 00:00 in
// local time (the platform's file-time layout after conversion to local
// time). 0 means "no time stamp".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class NTimeStamp {
public:
    static constexpr uint64_t kTicksPerSecond = 10000000;
    static constexpr uint64_t kTicksPerDay = 864000000000;

    // Calendar fields of a stamp. weekday: 0 Sunday .. 6 Saturday.
    struct SCalendar {
        uint16_t year = 1601, month = 1, day = 1, weekday = 1;
        uint16_t hour = 0, minute = 0, second = 0, millisecond = 0;
        uint32_t ticks = 0;  // 100-ns intervals within the second, 0 .. 9,999,999
    };

    constexpr NTimeStamp() = default;
    constexpr explicit NTimeStamp(uint64_t ticks) : m_ticks(ticks) {}

    constexpr uint64_t Ticks() const { return m_ticks; }
    constexpr bool IsNone() const { return m_ticks == 0; }
    friend constexpr bool operator==(NTimeStamp, NTimeStamp) = default;
    friend constexpr auto operator<=>(NTimeStamp, NTimeStamp) = default;

    // Now in local time: the platform's conversion of the system time, or,
    // when that fails, the system time minus the current zone bias.
    static NTimeStamp LocalNow();
    // The fallback of LocalNow on its own: utc - bias minutes.
    static NTimeStamp FromUtcAndBias(uint64_t utc, int32_t biasMinutes);

    // Years 1601 to 9999; later stamps are refused (false), since the C
    // library's formatter cannot print such years on every platform.
    bool ToCalendar(SCalendar& cal) const;
    // Uses year, month, day, hour, minute, second and ticks (the millisecond
    // and weekday fields are derived). False for fields out of range.
    static bool FromCalendar(const SCalendar& cal, NTimeStamp& stamp);

    // The stamp in `format`: first the program's own tokens, which are
    // %F (100-ns part of the second, 7 digits), %u (microseconds, 6), %N
    // (milliseconds, 3), %O and %o (MS-DOS date and time words, 4 lower-case
    // hexadecimal digits), %D, %h and %s (whole days, hours and seconds since
    // 1601), %G and %g (the current offset from UTC as +hhmm and +hh:mm, or
    // "*ERR*" when the zone is unknown); "%%" is left for the C library, so
    // that "%%N" stays the literal text "%N". Then the C library's wcsftime
    // does the rest into up to 65,536 characters. When it yields nothing (an
    // unsupported conversion, or output too long) the result is the text after
    // the first step. An empty format gives empty text; a stamp that has no
    // calendar date gives `errorText`.
    std::wstring Format(std::wstring_view format, std::wstring_view errorText) const;

    // As Format, with the zone bias given (nullopt: the zone is unknown).
    std::wstring FormatWithBias(std::wstring_view format, std::wstring_view errorText,
                                std::optional<int32_t> biasMinutes) const;

private:
    uint64_t m_ticks = 0;
};
