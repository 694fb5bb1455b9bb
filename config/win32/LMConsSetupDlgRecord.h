#pragma once
// What the console setup dialog edits and what it needs to know about its
// surroundings. The record carries the fields of a console's settings that the
// dialog shows, under the same names, so the caller copies them from and back
// into the configuration's settings one for one. Portable: no platform header.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct LMConsSetupDlgRecord {
    bool Enabled = true;
    std::wstring Name;
    uint32_t ConMode = 2;  // 0 TCP/IP, 1 device serial, 2 COM serial
    std::wstring HostPort;
    std::wstring DevAddr;
    std::wstring COMPort = L"COM1";
    std::wstring SerMode = L"BAUD=115200 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF";
    std::wstring AltMode = L"BAUD=9600 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF";
    std::wstring FolderShades = L"%LOCALAPPDATA%\\Lumbra\\Shades";
    bool AutoConnect = true;
    bool Logging = true;
    uint32_t RxTerm = 4;
    uint32_t RxWrap = 80;
    uint32_t RxTO = 0;
    uint32_t TxTerm = 0;
    bool IgnoreNDE = false;
    std::wstring LogFontEnc = L"Consolas,10";
    uint32_t LogDepth = 5000;
    std::wstring Shades;

    bool operator==(const LMConsSetupDlgRecord&) const = default;
};

// One port of the COM port enumeration: its name and the two device
// identifiers recorded for it (either one may serve as a device address).
struct LMConsSetupDlgPort {
    std::wstring comPort;
    std::wstring devAddr;
    std::wstring devAddr2;
};

// Where the dialog runs: a snapshot taken by the caller when it opens the
// dialog, so the dialog never reaches into the console list or the port
// enumeration thread.
struct LMConsSetupDlgContext {
    // False for an open console: name, enabling, connection and port stay fixed.
    bool editable = true;
    // True when a console is being added; otherwise currentName is the name of
    // the console being edited, which it may keep.
    bool isNew = true;
    std::wstring currentName;
    // The names of the other consoles in the list.
    std::vector<std::wstring> namesInUse;
    std::vector<LMConsSetupDlgPort> ports;
    // Asks for a custom baud rate (title, current rate in, new rate out); true
    // on OK. Empty uses the program's input box. Tests replace it.
    std::function<bool(void* owner, const std::wstring& title, uint32_t& rate)> askBaudRate;
};
