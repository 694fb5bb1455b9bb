#pragma once
// What one cell of the console list shows: its text and its icon resource
// (0 for none). Column 0 "Name", 1 "Host/Port", 2 "Device/Address", 3 "Status".
#include <string>

class ILMComPortDirectory;
class LMConsConfig;

struct SLMConsCell {
    std::wstring text;
    int icon = 0;
};

namespace lmcell {
constexpr const wchar_t* kHeaders[4] = {L"Name", L"Host/Port", L"Device/Address", L"Status"};
constexpr int kIconTcpIp = 260, kIconPortMissing = 261, kIconSerial = 262, kIconPortOk = 263, kIconPortBusy = 264;
constexpr int kIconOpen = 265, kIconDisabled = 266, kIconUnavailable = 267, kIconReady = 268;
}  // namespace lmcell

// ports: the enumeration's directory the list hands its configurations (may
// be null: the device column then reads "N/A").
SLMConsCell LMConsCellOf(const LMConsConfig& config, int column, ILMComPortDirectory* ports);
