#pragma once
// The console configuration's questions about COM ports and serial devices
// (present? in use? which device address has this port, which port this
// device?), answered from one copy of the enumeration's list.
#include <string>
#include <string_view>

#include "transport/NCOMPortEnum.h"

class NCOMPortDirectory {
public:
    NCOMPortDirectory() = default;
    explicit NCOMPortDirectory(NCOMPortEnum list) : m_list(std::move(list)) {}

    void Assign(NCOMPortEnum list) { m_list = std::move(list); }
    const NCOMPortEnum& List() const { return m_list; }

    bool IsComPortPresent(std::wstring_view portName) const;
    bool IsComPortBusy(std::wstring_view portName) const;
    bool IsDevAddrPresent(std::wstring_view devAddr) const;
    bool IsDevAddrBusy(std::wstring_view devAddr) const;
    // The instance path is the device address a console records.
    std::wstring DevAddrOfComPort(std::wstring_view portName) const;
    std::wstring ComPortOfDevAddr(std::wstring_view devAddr) const;

private:
    NCOMPortEnum m_list;
};

// The directory behind the configuration's query interface (ILMComPortDirectory
// of config/IComPortDirectory.h): TNCOMPortDirectoryAs<ILMComPortDirectory>.
// A template so that the transport folder needs nothing from the
// configuration folder, which builds on it.
template <class TInterface>
class TNCOMPortDirectoryAs : public TInterface {
public:
    TNCOMPortDirectoryAs() = default;
    explicit TNCOMPortDirectoryAs(NCOMPortEnum list) : m_directory(std::move(list)) {}
    NCOMPortDirectory& Directory() { return m_directory; }

    bool IsComPortPresent(std::wstring_view p) override { return m_directory.IsComPortPresent(p); }
    bool IsComPortBusy(std::wstring_view p) override { return m_directory.IsComPortBusy(p); }
    bool IsDevAddrPresent(std::wstring_view d) override { return m_directory.IsDevAddrPresent(d); }
    bool IsDevAddrBusy(std::wstring_view d) override { return m_directory.IsDevAddrBusy(d); }
    std::wstring DevAddrOfComPort(std::wstring_view p) override { return m_directory.DevAddrOfComPort(p); }
    std::wstring ComPortOfDevAddr(std::wstring_view d) override { return m_directory.ComPortOfDevAddr(d); }

private:
    NCOMPortDirectory m_directory;
};
