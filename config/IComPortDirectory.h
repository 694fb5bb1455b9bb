#pragma once
// What a console configuration asks of the COM port enumeration: whether a
// port or a serial device is present and whether it is in use. Answers come
// from a copy of the enumeration's current list.
#include <string>
#include <string_view>

class ILMComPortDirectory {
public:
    virtual ~ILMComPortDirectory() = default;
    // By COM port name, ignoring case.
    virtual bool IsComPortPresent(std::wstring_view portName) = 0;
    virtual bool IsComPortBusy(std::wstring_view portName) = 0;
    // By either device identifier recorded for a port, ignoring case.
    virtual bool IsDevAddrPresent(std::wstring_view devAddr) = 0;
    virtual bool IsDevAddrBusy(std::wstring_view devAddr) = 0;
    // The partner fields: the device address of a COM port and the COM port of
    // a device address; empty when not listed.
    virtual std::wstring DevAddrOfComPort(std::wstring_view portName) = 0;
    virtual std::wstring ComPortOfDevAddr(std::wstring_view devAddr) = 0;
};
