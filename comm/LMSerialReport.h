#pragma once
// The console messages for the non-data packets of a serial port: comm
// events, modem-status changes and comm errors, and packets of a kind the
// worker does not know. Engine failures need the platform's error text and
// are reported by the worker itself.
#include <cstdint>
#include <string>
#include <string_view>

namespace lmpacket {
constexpr uint16_t kFailure = 1;
constexpr uint16_t kData = 100;
constexpr uint16_t kEvents = 200;
constexpr uint16_t kModemStatus = 300;
constexpr uint16_t kErrors = 400;
}  // namespace lmpacket

struct SLMSerialReport {
    uint8_t kind = 0;  // log kind: Info or Warning
    std::wstring text;
};

// False when the packet gives no message: ignoreNDE set, only the data
// events EV_RXCHAR, EV_RXFLAG and EV_TXEMPTY, or a data or failure packet
// (the worker handles those).
bool LMDescribeSerialPacket(uint16_t packetKind, uint32_t value, std::wstring_view portName, bool ignoreNDE,
                            SLMSerialReport& report);
