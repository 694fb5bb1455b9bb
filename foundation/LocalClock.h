#pragma once
// The few clock and time-zone answers that time stamps need from the platform.
// Declared here so that portable code can take local time stamps on every
// platform; the Windows half calls the kernel's own file-time functions.
#include <cstdint>

// Now, in 100-ns intervals since 1601-01-01 00:00 UTC.
uint64_t NClockUtcNow();

// The platform's conversion of a UTC file time to local time. False when the
// platform refuses it.
bool NClockUtcToLocal(uint64_t utc, uint64_t& local);

// The current bias in minutes (UTC = local + bias; UTC+1 gives -60). False
// when the platform cannot tell.
bool NClockZoneBias(int32_t& biasMinutes);

// How the Windows time-zone query's answer becomes a bias: the zone's bias plus
// the daylight bias in daylight time (answer 2), plus the standard bias in
// standard time (answer 1), alone when the zone has no such rules (answer 0).
// The failure answer 0xFFFFFFFF gives false; any other answer a bias of 0.
bool NZoneBiasFromAnswer(uint32_t answer, int32_t bias, int32_t standardBias, int32_t daylightBias,
                         int32_t& biasMinutes);
