#pragma once
// The serial ports of the machine as the Plug and Play registry lists them,
// with the result of a presence test per port, and the lookups that map a
// console's COM port or device address to an entry.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class NCOMPortEnum {
public:
    // Entry status: bit 0 set (or exactly 0) means present.
    static constexpr int32_t kPresent = 0;                                   // attribute query answered
    static constexpr int32_t kPresentRefused = static_cast<int32_t>(0x80000001);  // query refused
    static constexpr int32_t kPresentFree = static_cast<int32_t>(0x80000003);     // the port test opened it
    static constexpr int32_t kPresentBusy = static_cast<int32_t>(0x80000005);     // in use
    static constexpr int32_t kAbsent = static_cast<int32_t>(0x80000000);
    static constexpr const wchar_t* kPortsClassGuid = L"{4D36E978-E325-11CE-BFC1-08002BE10318}";

    struct SNCPEEntry {
        std::wstring portName;       // "COM3"
        std::wstring friendlyName;   // environment variables expanded
        std::wstring instancePath;   // key path below HKLM\SYSTEM\CurrentControlSet\Enum
        std::wstring interfacePath;  // "\\?\" + instance path with "#" for "\" + "#{ports class}"
        int32_t status = kAbsent;
        bool operator==(const SNCPEEntry&) const = default;
    };

    std::vector<SNCPEEntry> entries;
    uint32_t changeCounter = 0;

    // First entry whose port name equals the text without regard to case.
    const SNCPEEntry* FindPort(std::wstring_view portName) const;
    // First entry whose instance or interface path equals the text without
    // regard to case.
    const SNCPEEntry* FindDevice(std::wstring_view deviceAddress) const;
    // Whether the entries (not the counter) differ.
    bool SameEntries(const NCOMPortEnum& other) const { return entries == other.entries; }

    static std::wstring InterfacePath(std::wstring_view instancePath);
    static bool IsPresent(int32_t status) { return status == kPresent || (status & 1) != 0; }
    static bool IsBusy(int32_t status) { return status == kPresentBusy; }
    // Status from the error of an attribute query (0 = success).
    static int32_t StatusFromAttributeQuery(uint32_t error);
    // Status from the port test: the error of opening the port (0 = opened),
    // or a port mutex that was not obtained in time.
    static int32_t StatusFromPortTest(uint32_t error, bool mutexTimedOut);
    // Case-insensitive comparison of ASCII letters (port names and device
    // paths are ASCII; other characters must match exactly).
    static bool EqualNoCase(std::wstring_view a, std::wstring_view b);
};
