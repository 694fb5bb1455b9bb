#pragma once
// The checks the console setup dialog runs on every change: every rule is
// evaluated and each failing one contributes its message, in a fixed order.
// Portable (no platform header), so the rules are tested without a window.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/win32/LMConsSetupDlgRecord.h"

// The controls' contents as the dialog read them.
struct LMConsSetupDlgInput {
    std::wstring name;
    bool enabled = true;
    bool logging = true;
    bool autoConnect = true;
    bool ignoreNDE = false;
    int rxTerm = -1;  // selection index, -1 none
    int txTerm = -1;
    std::wstring rxWrap;
    std::wstring rxTimeout;
    std::wstring logDepth;
    uint32_t conMode = 0;
    std::wstring hostPort;
    std::wstring comPort;  // the drop-down's text, "*" marks a port not in the enumeration
    std::wstring devAddr;
};

// The first failing host[:port] rule's message, or empty when the text is a
// valid "host" or "host:port".
std::wstring LMSetupDlgHostPortProblem(std::wstring_view text);

// Device names that cannot serve as file names (the console name becomes one).
bool LMSetupDlgIsReservedName(std::wstring_view name);

// "COM" followed by a port number from 1 up, ignoring case.
bool LMSetupDlgIsComPortName(std::wstring_view name);

// Case-insensitive comparison as the console list uses it for names and ports.
bool LMSetupDlgEqualNoCase(std::wstring_view a, std::wstring_view b);

// The text of a port drop-down item without the "*" of a port that is not in
// the enumeration.
std::wstring LMSetupDlgStripMark(std::wstring_view item);

// Runs all rules. Each value that passes is written into `record`, a failing
// one leaves the previous value; the four check boxes are always written. A
// valid serial port also copies the partner field from the enumeration.
// `portValid` tells whether the port or host part passed. Returns the
// messages, empty when the input is acceptable.
std::vector<std::wstring> LMConsSetupDlgValidate(const LMConsSetupDlgInput& input,
                                                 const LMConsSetupDlgContext& context, LMConsSetupDlgRecord& record,
                                                 bool& portValid);
