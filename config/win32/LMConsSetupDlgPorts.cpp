#include "config/win32/LMConsSetupDlgPorts.h"

#include "shades/NameFold.h"

const LMConsSetupDlgPort* LMConsSetupDlgPorts::ByComPort(std::wstring_view portName) const
{
    if (portName.empty())
        return nullptr;
    for (const LMConsSetupDlgPort& port : m_ports)
        if (NNamesEqualNoCase(port.comPort, portName))
            return &port;
    return nullptr;
}

const LMConsSetupDlgPort* LMConsSetupDlgPorts::ByDevAddr(std::wstring_view devAddr) const
{
    if (devAddr.empty())
        return nullptr;
    for (const LMConsSetupDlgPort& port : m_ports)
        if ((!port.devAddr.empty() && NNamesEqualNoCase(port.devAddr, devAddr)) ||
            (!port.devAddr2.empty() && NNamesEqualNoCase(port.devAddr2, devAddr)))
            return &port;
    return nullptr;
}

std::wstring LMConsSetupDlgPorts::DevAddrOfComPort(std::wstring_view portName)
{
    const LMConsSetupDlgPort* port = ByComPort(portName);
    return port != nullptr ? port->devAddr : std::wstring();
}

std::wstring LMConsSetupDlgPorts::ComPortOfDevAddr(std::wstring_view devAddr)
{
    const LMConsSetupDlgPort* port = ByDevAddr(devAddr);
    return port != nullptr ? port->comPort : std::wstring();
}
