#include "foundation/NTimeStamp.h"

#include "foundation/LocalClock.h"

#include <ctime>
#include <cwchar>
#include <vector>

namespace {

// Days between 1601-01-01 and 1970-01-01.
constexpr int64_t kDays1601To1970 = 134774;

// Proleptic Gregorian calendar, days relative to 1970-01-01 (H. Hinnant's
// algorithms, exact for every year in range).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

bool IsLeap(unsigned y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(unsigned y, unsigned m)
{
    static const unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Stamps from 10000-01-01 on have no calendar date here.
const uint64_t kEndTicks =
    static_cast<uint64_t>(DaysFromCivil(10000, 1, 1) + kDays1601To1970) * NTimeStamp::kTicksPerDay;

// Fixed width with leading zeros, as 10^width + value with its "1" dropped.
std::wstring Digits(uint64_t value, int width)
{
    std::wstring s(static_cast<size_t>(width), L'0');
    for (int i = width - 1; i >= 0 && value != 0; --i, value /= 10) s[static_cast<size_t>(i)] = static_cast<wchar_t>(L'0' + value % 10);
    return s;
}

std::wstring Hex4(unsigned value)
{
    static const wchar_t kHex[] = L"0123456789abcdef";
    std::wstring s(4, L'0');
    for (int i = 3; i >= 0; --i, value >>= 4) s[static_cast<size_t>(i)] = kHex[value & 15];
    return s;
}

std::wstring Offset(std::optional<int32_t> bias, bool withColon)
{
    if (!bias) return L"*ERR*";
    const int64_t b = *bias;
    const uint64_t magnitude = static_cast<uint64_t>(b < 0 ? -b : b);
    std::wstring s(1, b <= 0 ? L'+' : L'-');
    s += Digits(magnitude / 60, 2);
    if (withColon) s += L':';
    s += Digits(magnitude % 60, 2);
    return s;
}

// The conversions that the C libraries of all our platforms accept. Anything
// else is refused up front: some Windows runtimes end the process through the
// invalid-parameter handler on an unknown conversion, and the user types this
// format in a dialog with a live preview.
bool LibraryAccepts(std::wstring_view f)
{
    static constexpr std::wstring_view kKnown = L"aAbBcdHIjmMpSUwWxXyYzZ";
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != L'%') continue;
        if (++i == f.size()) return false;
        if (f[i] == L'%') continue;
        if (f[i] == L'#' && ++i == f.size()) return false;
        if (kKnown.find(f[i]) == std::wstring_view::npos) return false;
    }
    return true;
}

}  // namespace

NTimeStamp NTimeStamp::FromUtcAndBias(uint64_t utc, int32_t biasMinutes)
{
    const int64_t shift = int64_t{biasMinutes} * 600000000;
    if (shift > 0 && static_cast<uint64_t>(shift) > utc) return NTimeStamp(0);
    return NTimeStamp(utc - static_cast<uint64_t>(shift));
}

NTimeStamp NTimeStamp::LocalNow()
{
    const uint64_t utc = NClockUtcNow();
    uint64_t local = 0;
    if (NClockUtcToLocal(utc, local)) return NTimeStamp(local);
    int32_t bias = 0;
    if (!NClockZoneBias(bias)) bias = 0;
    return FromUtcAndBias(utc, bias);
}

bool NTimeStamp::ToCalendar(SCalendar& cal) const
{
    if (m_ticks >= kEndTicks) return false;
    const auto days = static_cast<int64_t>(m_ticks / kTicksPerDay);
    const uint64_t inDay = m_ticks % kTicksPerDay;
    int64_t y;
    unsigned m, d;
    CivilFromDays(days - kDays1601To1970, y, m, d);
    cal.year = static_cast<uint16_t>(y);
    cal.month = static_cast<uint16_t>(m);
    cal.day = static_cast<uint16_t>(d);
    cal.weekday = static_cast<uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
    const uint64_t seconds = inDay / kTicksPerSecond;
    cal.hour = static_cast<uint16_t>(seconds / 3600);
    cal.minute = static_cast<uint16_t>(seconds / 60 % 60);
    cal.second = static_cast<uint16_t>(seconds % 60);
    cal.ticks = static_cast<uint32_t>(inDay % kTicksPerSecond);
    cal.millisecond = static_cast<uint16_t>(cal.ticks / 10000);
    return true;
}

bool NTimeStamp::FromCalendar(const SCalendar& c, NTimeStamp& stamp)
{
    if (c.year < 1601 || c.year > 9999 || c.month < 1 || c.month > 12 || c.day < 1 ||
        c.day > DaysInMonth(c.year, c.month) || c.hour > 23 || c.minute > 59 || c.second > 59 ||
        c.ticks >= kTicksPerSecond)
        return false;
    const auto days = static_cast<uint64_t>(DaysFromCivil(c.year, c.month, c.day) + kDays1601To1970);
    stamp = NTimeStamp(days * kTicksPerDay + (uint64_t{c.hour} * 3600 + c.minute * 60u + c.second) * kTicksPerSecond +
                       c.ticks);
    return true;
}

std::wstring NTimeStamp::Format(std::wstring_view format, std::wstring_view errorText) const
{
    if (format.empty()) return {};
    // The zone is asked only when the format wants it.
    std::optional<int32_t> bias;
    if (format.find(L"%G") != std::wstring_view::npos || format.find(L"%g") != std::wstring_view::npos) {
        int32_t b = 0;
        if (NClockZoneBias(b)) bias = b;
    }
    return FormatWithBias(format, errorText, bias);
}

std::wstring NTimeStamp::FormatWithBias(std::wstring_view format, std::wstring_view errorText,
                                        std::optional<int32_t> biasMinutes) const
{
    if (format.empty()) return {};
    SCalendar cal;
    if (!ToCalendar(cal)) return std::wstring(errorText);

    std::wstring text;
    text.reserve(format.size() + 16);
    for (size_t i = 0; i < format.size(); ++i) {
        const wchar_t c = format[i];
        if (c != L'%' || i + 1 == format.size()) {
            text += c;
            continue;
        }
        const wchar_t t = format[++i];
        switch (t) {
        case L'F': text += Digits(cal.ticks, 7); break;
        case L'u': text += Digits(cal.ticks / 10, 6); break;
        case L'N': text += Digits(cal.millisecond, 3); break;
        case L'O':
            text += Hex4(cal.day | (cal.month << 5) | (((cal.year - 1980) & 63) << 9));
            break;
        case L'o': text += Hex4((cal.second / 2) | (cal.minute << 5) | (cal.hour << 11)); break;
        case L'D': text += std::to_wstring(m_ticks / kTicksPerDay); break;
        case L'h': text += std::to_wstring(m_ticks / 36000000000); break;
        case L's': text += std::to_wstring(m_ticks / kTicksPerSecond); break;
        case L'G': text += Offset(biasMinutes, false); break;
        case L'g': text += Offset(biasMinutes, true); break;
        default:
            // Not ours (including "%%"): left whole for the C library.
            text += c;
            text += t;
            break;
        }
    }

    if (!LibraryAccepts(text)) return text;
    std::tm tm{};
    tm.tm_year = cal.year - 1900;
    tm.tm_mon = cal.month - 1;
    tm.tm_mday = cal.day;
    tm.tm_hour = cal.hour;
    tm.tm_min = cal.minute;
    tm.tm_sec = cal.second;
    tm.tm_wday = cal.weekday % 7;
    // The real day of the year, so that %j prints it (with -1 some libraries
    // print garbage and others refuse the call); daylight time is not known.
    tm.tm_yday = static_cast<int>(DaysFromCivil(cal.year, cal.month, cal.day) - DaysFromCivil(cal.year, 1, 1));
    tm.tm_isdst = -1;
    // wcsftime stops at a NUL; what follows one is dropped.
    const std::wstring libraryFormat(text.c_str());
    for (size_t size = 4096; size <= 65536; size *= 2) {
        std::vector<wchar_t> buffer(size);
        const size_t n = std::wcsftime(buffer.data(), size, libraryFormat.c_str(), &tm);
        // Some runtimes return a truncated text instead of 0 when the buffer is
        // too small, so a text that fills the buffer counts as not fitting.
        if (n != 0 && n + 1 < size) return std::wstring(buffer.data(), n);
    }
    return text;
}
