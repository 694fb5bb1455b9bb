#pragma once
// One notification of the serial engine to its owner: received bytes, comm
// events, a modem-status or comm-error change, or a failure of the engine.
#include <cstdint>

struct NSPRxPacket {
    enum : uint16_t { kFailure = 1, kData = 100, kCommEvents = 200, kModemStatus = 300, kCommErrors = 400 };
    static constexpr uint32_t kDataSize = 512;

    uint16_t kind = 0;
    uint32_t value = 0;      // error code, event mask, modem status or error flags
    uint32_t length = 0;     // bytes used in data
    uint8_t data[kDataSize] = {};  // kData: bytes; kFailure: UTF-16 text (at most 510 bytes)
    uint64_t timeStamp = 0;  // local time, 100-ns units
};
