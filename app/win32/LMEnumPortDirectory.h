#pragma once
// The port directory the list hands its configurations: a copy of the COM
// port enumeration's list, refreshed on the main thread when the enumeration
// reports a change. Console threads ask it too, so every query and the
// refresh take the lock.
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "config/IComPortDirectory.h"
#include "config/win32/LMConsSetupDlgRecord.h"
#include "transport/NCOMPortDirectory.h"

class LMEnumPortDirectory : public ILMComPortDirectory {
public:
    void Assign(NCOMPortEnum list);
    // The ports as the setup dialog lists them.
    std::vector<LMConsSetupDlgPort> DialogPorts() const;

    bool IsComPortPresent(std::wstring_view portName) override;
    bool IsComPortBusy(std::wstring_view portName) override;
    bool IsDevAddrPresent(std::wstring_view devAddr) override;
    bool IsDevAddrBusy(std::wstring_view devAddr) override;
    std::wstring DevAddrOfComPort(std::wstring_view portName) override;
    std::wstring ComPortOfDevAddr(std::wstring_view devAddr) override;

private:
    mutable std::mutex m_lock;
    NCOMPortDirectory m_directory;  // under m_lock
};
