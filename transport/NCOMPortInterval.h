#pragma once
// The enumeration thread's polling interval: it grows by 2.5 (16.16 fixed
// point) after every wait that nothing cut short, within its bounds, so an
// idle machine is scanned ever less often: 987, 2467, 6167, then 14567 ms.
#include <cstdint>

struct NCOMPortInterval {
    uint32_t minimumMs = 987;
    uint32_t maximumMs = 14567;
    uint32_t factor = 0x28000;

    uint32_t Clamp(uint32_t ms) const
    {
        if (ms < minimumMs)
            ms = minimumMs;
        if (ms > maximumMs)
            ms = maximumMs;
        return ms;
    }
    uint32_t Next(uint32_t ms) const
    {
        const uint64_t grown = (static_cast<uint64_t>(ms) * factor) >> 16;
        return Clamp(grown > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(grown));
    }
};
