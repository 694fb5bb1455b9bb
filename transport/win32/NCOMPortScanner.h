#pragma once
// One scan of the Plug and Play registry for serial ports (devices of the
// Ports class below HKLM\SYSTEM\CurrentControlSet\Enum), with a presence
// test per port.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "transport/NCOMPortEnum.h"

class NCOMPortScanner {
public:
    // Gives the status of one port ("COM3").
    using Tester = std::function<int32_t(const std::wstring& portName)>;
    using KeepGoing = std::function<bool()>;

    // GetFileAttributesW on "\\?\" + port: cheap and never disturbs a port
    // in use; what the background thread uses.
    static int32_t AttributeTest(const std::wstring& portName);
    // Opens and closes the port under the COM port mutex: tells free from
    // busy, at the price of an open.
    static int32_t PortTest(const std::wstring& portName);

    // Fills out (entries in registry order). Keys that cannot be opened are
    // skipped. False with ERROR_CANCELLED when keepGoing said stop, or the
    // error of opening the root key.
    static bool Scan(NCOMPortEnum& out, const Tester& tester, const KeepGoing& keepGoing = {},
                     HKEY root = HKEY_LOCAL_MACHINE, const wchar_t* rootPath = L"SYSTEM\\CurrentControlSet\\Enum");
};
