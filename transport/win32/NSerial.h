#pragma once
// The configuration-side serial port object: holds a port and a device
// control block, applies mode strings to them (the "\\.\COMn" prefix is
// accepted too), prints the canonical mode string, and runs the system's
// port configuration dialog. Failures leave the step name in LastStep()
// and the system error in the thread's last error.
#include <windows.h>

#include <cstdint>
#include <string>

#include "transport/SerialDcb.h"

class NSerial {
public:
    NSerial() = default;

    // Parses text onto the current port and block ("parsing port/mode",
    // "changing port/number").
    bool ApplyPortMode(const std::wstring& portAndMode);
    // The canonical KEY=VALUE form of the block.
    std::wstring CanonicalMode() const;
    // Shows the system's configuration dialog for the port, starting from
    // its active (or else default) configuration with this block's settings;
    // true and the block updated on OK. On Cancel false with ERROR_CANCELLED
    // and LastStep() empty.
    bool ConfigDialog(HWND owner);

    const std::wstring& PortName() const { return m_portName; }
    uint32_t PortNumber() const { return m_portNumber; }
    const NSerialDcb& Dcb() const { return m_dcb; }
    void SetDcb(const NSerialDcb& dcb) { m_dcb = dcb; }
    const std::wstring& LastStep() const { return m_lastStep; }

private:
    bool Fail(const wchar_t* step, DWORD error);

    std::wstring m_portName = L"COM1";
    uint32_t m_portNumber = 1;
    NSerialDcb m_dcb;
    std::wstring m_lastStep;
};
