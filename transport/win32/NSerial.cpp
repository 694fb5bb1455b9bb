#include "transport/win32/NSerial.h"

#include <vector>

#include "transport/SerialMode.h"

bool NSerial::Fail(const wchar_t* step, DWORD error)
{
    m_lastStep = step;
    ::SetLastError(error);
    return false;
}

bool NSerial::ApplyPortMode(const std::wstring& portAndMode)
{
    m_lastStep.clear();
    NSerialDcb dcb = m_dcb;
    NSerialModePort port;
    if (!NParseSerialMode(portAndMode, dcb, &port, NSerialModePrefix::kComOrDevice))
        return Fail(L"parsing port/mode", ERROR_INVALID_PARAMETER);
    if (port.named && port.number != m_portNumber) {
        if (port.number < 1 || port.number > 999)
            return Fail(L"changing port/number", ERROR_INVALID_PARAMETER);
        m_portNumber = port.number;
        m_portName = L"COM" + std::to_wstring(port.number);
    }
    m_dcb = dcb;
    return true;
}

std::wstring NSerial::CanonicalMode() const
{
    return NSerialModeCanonical(m_dcb);
}

bool NSerial::ConfigDialog(HWND owner)
{
    m_lastStep.clear();
    // The provider's record may be larger than COMMCONFIG: ask for its size.
    DWORD size = sizeof(COMMCONFIG);
    std::vector<BYTE> buffer(size, 0);
    auto* config = reinterpret_cast<COMMCONFIG*>(buffer.data());
    config->dwSize = sizeof(COMMCONFIG);
    if (!::GetDefaultCommConfigW(m_portName.c_str(), config, &size)) {
        if (size > buffer.size() && size < 65536) {
            buffer.assign(size, 0);
            config = reinterpret_cast<COMMCONFIG*>(buffer.data());
            config->dwSize = sizeof(COMMCONFIG);
            if (!::GetDefaultCommConfigW(m_portName.c_str(), config, &size))
                return Fail(L"getting port default config for dialog", ::GetLastError());
        } else {
            return Fail(L"getting port default config for dialog", ::GetLastError());
        }
    }
    NCopyDcb(m_dcb, config->dcb);
    if (!::CommConfigDialogW(m_portName.c_str(), owner, config)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_CANCELLED || error == 0) {
            ::SetLastError(ERROR_CANCELLED);
            return false;
        }
        return Fail(L"invoking port setup dialog", error);
    }
    NCopyDcb(config->dcb, m_dcb);
    return true;
}
