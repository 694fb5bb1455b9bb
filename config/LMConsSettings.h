#pragma once
// The settings of one console. Booleans and numbers are single atomic fields
// that any thread may read without a lock; strings and the command list are
// read and written only under the owning LMConsConfig's lock.
#include <string>

#include "config/NSTRList.h"
#include "config/TNAtom.h"

class NPSStore;

struct LMConsSettings {
    enum EConMode : unsigned int { kTcpIp = 0, kDeviceSerial = 1, kComSerial = 2 };

    TNAtom8<bool> Enabled{true};
    std::wstring Name;
    TNAtom32<unsigned int> ConMode{kComSerial};
    std::wstring HostPort;
    std::wstring DevAddr;
    std::wstring COMPort{L"COM1"};
    std::wstring SerMode{L"BAUD=115200 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF"};
    std::wstring AltMode{L"BAUD=9600 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF"};
    std::wstring FolderFw{L"%LOCALAPPDATA%\\Lumbra\\Firmware"};
    std::wstring FolderBatch{L"%LOCALAPPDATA%\\Lumbra\\Batches"};
    std::wstring FolderCmd{L"%LOCALAPPDATA%\\Lumbra\\Commands"};
    std::wstring FolderShades{L"%LOCALAPPDATA%\\Lumbra\\Shades"};
    std::wstring BatchEditor{L"notepad.exe"};
    NSTRList Commands;
    TNAtom8<bool> BatchIgnoreErrors{false};
    TNAtom8<bool> AutoConnect{true};
    TNAtom8<bool> Logging{true};
    TNAtom32<unsigned int> RxTerm{4};
    TNAtom32<unsigned int> RxWrap{80};
    TNAtom32<unsigned int> RxTO{0};
    TNAtom32<unsigned int> TxTerm{0};
    TNAtom8<bool> IgnoreNDE{false};
    TNAtom8<bool> SuppressFWUpd{false};
    std::wstring LogFontEnc{L"Consolas,10"};
    TNAtom32<unsigned int> LogDepth{5000};
    TNAtom32<unsigned int> ListIndex{0};
    std::wstring Shades;
    std::wstring ConWndPos;
    std::wstring ConWndCBPos;
    std::wstring ConWndTBPos;
    std::wstring ConWndBBPos;
    std::wstring CmdWndPos;

    static constexpr size_t kEntryCount = 32;
    static constexpr unsigned int kMaxRxWrap = 4096;
    static constexpr unsigned int kMaxLogDepth = 2147483647u;

    // The one defaults record, built before the program starts and never changed.
    static const LMConsSettings& Defaults();

    // The record check: a name, a known mode and terminations, a wrap and a
    // depth in range, a font and a shades text. Ports and modes are not part of it.
    bool IsAcceptable() const;

    // Binds every field to store under its own name, in table order.
    void Register(NPSStore& store);
};
