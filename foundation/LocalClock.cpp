#include "foundation/LocalClock.h"

bool NZoneBiasFromAnswer(uint32_t answer, int32_t bias, int32_t standardBias, int32_t daylightBias,
                         int32_t& biasMinutes)
{
    switch (answer) {
    case 0: biasMinutes = bias; return true;
    case 1: biasMinutes = bias + standardBias; return true;
    case 2: biasMinutes = bias + daylightBias; return true;
    case 0xFFFFFFFFu: return false;
    default: biasMinutes = 0; return true;
    }
}

#if defined(_WIN32)

// The kernel functions are declared here rather than through windows.h, as in
// LastError.cpp: this file is part of the portable library, which every
// program and test links, while the platform headers stay out of it. The
// records have the platform's layout, which has not changed since NT 3.1.
namespace {
struct FileTime {
    unsigned long low;
    unsigned long high;
};
struct SystemTime {
    unsigned short fields[8];
};
struct TimeZoneInformation {
    long bias;
    wchar_t standardName[32];
    SystemTime standardDate;
    long standardBias;
    wchar_t daylightName[32];
    SystemTime daylightDate;
    long daylightBias;
};
static_assert(sizeof(TimeZoneInformation) == 172, "TIME_ZONE_INFORMATION layout");
static_assert(sizeof(wchar_t) == 2, "Windows wide characters are 16 bits");
}  // namespace

extern "C" {
__declspec(dllimport) void __stdcall GetSystemTimeAsFileTime(FileTime* time);
__declspec(dllimport) int __stdcall FileTimeToLocalFileTime(const FileTime* utc, FileTime* local);
__declspec(dllimport) unsigned long __stdcall GetTimeZoneInformation(TimeZoneInformation* info);
}

uint64_t NClockUtcNow()
{
    FileTime ft{};
    GetSystemTimeAsFileTime(&ft);
    return (uint64_t{ft.high} << 32) | ft.low;
}

bool NClockUtcToLocal(uint64_t utc, uint64_t& local)
{
    const FileTime in{static_cast<unsigned long>(utc & 0xFFFFFFFFu), static_cast<unsigned long>(utc >> 32)};
    FileTime out{};
    if (!FileTimeToLocalFileTime(&in, &out)) return false;
    local = (uint64_t{out.high} << 32) | out.low;
    return true;
}

bool NClockZoneBias(int32_t& biasMinutes)
{
    TimeZoneInformation tz{};
    const unsigned long answer = GetTimeZoneInformation(&tz);
    return NZoneBiasFromAnswer(static_cast<uint32_t>(answer), static_cast<int32_t>(tz.bias),
                               static_cast<int32_t>(tz.standardBias), static_cast<int32_t>(tz.daylightBias),
                               biasMinutes);
}

#else

#include <chrono>
#include <ctime>

namespace {
// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kUnixEpochSeconds = 11644473600;
constexpr int64_t kTicksPerSecond = 10000000;

bool OffsetAt(std::time_t t, int64_t& offsetSeconds)
{
    std::tm local{};
    if (!localtime_r(&t, &local)) return false;
    offsetSeconds = local.tm_gmtoff;
    return true;
}
}  // namespace

uint64_t NClockUtcNow()
{
    const auto since1970 = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return static_cast<uint64_t>(since1970.count() / 100 + kUnixEpochSeconds * kTicksPerSecond);
}

bool NClockUtcToLocal(uint64_t utc, uint64_t& local)
{
    if (utc > static_cast<uint64_t>(INT64_MAX / 2)) return false;
    const int64_t unixSeconds = static_cast<int64_t>(utc / kTicksPerSecond) - kUnixEpochSeconds;
    int64_t offset = 0;
    if (!OffsetAt(static_cast<std::time_t>(unixSeconds), offset)) return false;
    const int64_t shifted = static_cast<int64_t>(utc) + offset * kTicksPerSecond;
    if (shifted < 0) return false;
    local = static_cast<uint64_t>(shifted);
    return true;
}

bool NClockZoneBias(int32_t& biasMinutes)
{
    int64_t offset = 0;
    if (!OffsetAt(std::time(nullptr), offset)) return false;
    biasMinutes = static_cast<int32_t>(-offset / 60);
    return true;
}

#endif
