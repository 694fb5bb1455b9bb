#pragma once
// The setup dialog's snapshot of the COM port enumeration, asked through the
// same interface as the live enumeration so that the dialog and the console
// list validate with one set of rules. Busy is not known in a snapshot and
// is answered no. Portable: no platform header.
#include <string>
#include <string_view>
#include <vector>

#include "config/IComPortDirectory.h"
#include "config/win32/LMConsSetupDlgRecord.h"

class LMConsSetupDlgPorts : public ILMComPortDirectory {
public:
    // ports must outlive this object.
    explicit LMConsSetupDlgPorts(const std::vector<LMConsSetupDlgPort>& ports) : m_ports(ports) {}

    bool IsComPortPresent(std::wstring_view portName) override { return ByComPort(portName) != nullptr; }
    bool IsComPortBusy(std::wstring_view) override { return false; }
    bool IsDevAddrPresent(std::wstring_view devAddr) override { return ByDevAddr(devAddr) != nullptr; }
    bool IsDevAddrBusy(std::wstring_view) override { return false; }
    std::wstring DevAddrOfComPort(std::wstring_view portName) override;
    std::wstring ComPortOfDevAddr(std::wstring_view devAddr) override;

    // Ignoring case; null when not listed. An empty device address matches
    // nothing, although ports without a device record an empty one.
    const LMConsSetupDlgPort* ByComPort(std::wstring_view portName) const;
    const LMConsSetupDlgPort* ByDevAddr(std::wstring_view devAddr) const;

private:
    const std::vector<LMConsSetupDlgPort>& m_ports;
};
