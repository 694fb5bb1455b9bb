#include "transport/NCOMPortDirectory.h"

bool NCOMPortDirectory::IsComPortPresent(std::wstring_view portName) const
{
    const auto* e = m_list.FindPort(portName);
    return e != nullptr && NCOMPortEnum::IsPresent(e->status);
}

bool NCOMPortDirectory::IsComPortBusy(std::wstring_view portName) const
{
    const auto* e = m_list.FindPort(portName);
    return e != nullptr && NCOMPortEnum::IsBusy(e->status);
}

bool NCOMPortDirectory::IsDevAddrPresent(std::wstring_view devAddr) const
{
    const auto* e = m_list.FindDevice(devAddr);
    return e != nullptr && NCOMPortEnum::IsPresent(e->status);
}

bool NCOMPortDirectory::IsDevAddrBusy(std::wstring_view devAddr) const
{
    const auto* e = m_list.FindDevice(devAddr);
    return e != nullptr && NCOMPortEnum::IsBusy(e->status);
}

std::wstring NCOMPortDirectory::DevAddrOfComPort(std::wstring_view portName) const
{
    const auto* e = m_list.FindPort(portName);
    return e != nullptr ? e->instancePath : std::wstring();
}

std::wstring NCOMPortDirectory::ComPortOfDevAddr(std::wstring_view devAddr) const
{
    const auto* e = m_list.FindDevice(devAddr);
    return e != nullptr ? e->portName : std::wstring();
}
