#include "transport/win32/NSerial.h"

#include <vector>

#include "foundation/win32/Handles.h"
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
    // The provider's record may be larger than COMMCONFIG; it says how large.
    std::vector<BYTE> buffer(sizeof(COMMCONFIG) + 256, 0);
    auto prepare = [&](DWORD size) {
        buffer.assign(size < sizeof(COMMCONFIG) ? sizeof(COMMCONFIG) : size, 0);
        reinterpret_cast<COMMCONFIG*>(buffer.data())->dwSize = sizeof(COMMCONFIG);
    };
    // The port's active configuration when it can be opened (it is not in
    // use), else the provider's default one.
    const std::wstring device = L"\\\\.\\" + m_portName;
    NHandle port(::CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    bool have = false;
    if (port) {
        DWORD size = 0;
        prepare(sizeof(COMMCONFIG));
        if (!::GetCommConfig(port.Get(), reinterpret_cast<COMMCONFIG*>(buffer.data()), &size) && size == 0)
            return Fail(L"getting port config for dialog", ::GetLastError());
        if (size > 65536)
            return Fail(L"getting port config for dialog", ERROR_INVALID_DATA);
        if (size < sizeof(COMMCONFIG))
            size = sizeof(COMMCONFIG);
        prepare(size);
        if (!::GetCommConfig(port.Get(), reinterpret_cast<COMMCONFIG*>(buffer.data()), &size))
            return Fail(L"getting port active config for dialog", ::GetLastError());
        have = true;
        port.Reset();
    }
    if (!have) {
        DWORD size = static_cast<DWORD>(buffer.size());
        prepare(size);
        if (!::GetDefaultCommConfigW(m_portName.c_str(), reinterpret_cast<COMMCONFIG*>(buffer.data()), &size)) {
            if (size <= buffer.size() || size > 65536)
                return Fail(L"getting port default config for dialog", ::GetLastError());
            prepare(size);
            if (!::GetDefaultCommConfigW(m_portName.c_str(), reinterpret_cast<COMMCONFIG*>(buffer.data()), &size))
                return Fail(L"getting port default config for dialog", ::GetLastError());
        }
    }
    auto* config = reinterpret_cast<COMMCONFIG*>(buffer.data());
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
