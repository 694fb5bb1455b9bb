#pragma once
// The console configuration's questions about COM ports and serial devices,
// answered from one copy of the enumeration's list.
#include "config/IComPortDirectory.h"
#include "transport/NCOMPortEnum.h"

class NCOMPortDirectory : public ILMComPortDirectory {
public:
    NCOMPortDirectory() = default;
    explicit NCOMPortDirectory(NCOMPortEnum list) : m_list(std::move(list)) {}

    void Assign(NCOMPortEnum list) { m_list = std::move(list); }
    const NCOMPortEnum& List() const { return m_list; }

    bool IsComPortPresent(std::wstring_view portName) override;
    bool IsComPortBusy(std::wstring_view portName) override;
    bool IsDevAddrPresent(std::wstring_view devAddr) override;
    bool IsDevAddrBusy(std::wstring_view devAddr) override;
    // The instance path is the device address a console records.
    std::wstring DevAddrOfComPort(std::wstring_view portName) override;
    std::wstring ComPortOfDevAddr(std::wstring_view devAddr) override;

private:
    NCOMPortEnum m_list;
};
