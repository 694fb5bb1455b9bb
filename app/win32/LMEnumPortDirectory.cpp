#include "app/win32/LMEnumPortDirectory.h"

void LMEnumPortDirectory::Assign(NCOMPortEnum list)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_directory.Assign(std::move(list));
}

std::vector<LMConsSetupDlgPort> LMEnumPortDirectory::DialogPorts() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<LMConsSetupDlgPort> ports;
    // The enumeration lists present ports only; the dialog marks the rest itself.
    for (const auto& e : m_directory.List().entries)
        ports.push_back({e.portName, e.instancePath, e.interfacePath});
    return ports;
}

bool LMEnumPortDirectory::IsComPortPresent(std::wstring_view p)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_directory.IsComPortPresent(p);
}

bool LMEnumPortDirectory::IsComPortBusy(std::wstring_view p)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_directory.IsComPortBusy(p);
}

bool LMEnumPortDirectory::IsDevAddrPresent(std::wstring_view d)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_directory.IsDevAddrPresent(d);
}

bool LMEnumPortDirectory::IsDevAddrBusy(std::wstring_view d)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_directory.IsDevAddrBusy(d);
}

std::wstring LMEnumPortDirectory::DevAddrOfComPort(std::wstring_view p)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_directory.DevAddrOfComPort(p);
}

std::wstring LMEnumPortDirectory::ComPortOfDevAddr(std::wstring_view d)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_directory.ComPortOfDevAddr(d);
}
