#pragma once
// What the communication worker reads of its console's configuration. It
// reads every value afresh each time it needs one, so a changed setting takes
// effect without a reconnect. Implementations must be safe to call from the
// worker thread while the console's window thread changes the settings.
#include <cstdint>
#include <string>
#include <string_view>

class LMShades;

class ILMCommConfig {
public:
    virtual ~ILMCommConfig() = default;
    virtual uint32_t ConMode() const = 0;  // 0 TCP/IP, 1 serial device, 2 COM port
    virtual std::wstring HostPort() const = 0;
    virtual std::wstring DevAddr() const = 0;
    virtual std::wstring ComPort() const = 0;
    virtual std::wstring SerMode() const = 0;
    virtual std::wstring AltMode() const = 0;
    virtual uint32_t RxTerm() const = 0;
    virtual uint32_t RxWrap() const = 0;
    virtual uint32_t RxTimeoutMs() const = 0;
    virtual uint32_t TxTerm() const = 0;
    virtual bool IgnoreNDE() const = 0;
    // The console's current shade set; may be null (no prefixes then).
    virtual const LMShades* Shades() const = 0;
    // The COM port enumeration's mapping; empty when the port or device is not listed.
    virtual std::wstring DevAddrOfComPort(std::wstring_view port) const = 0;
    virtual std::wstring ComPortOfDevAddr(std::wstring_view devAddr) const = 0;
};
