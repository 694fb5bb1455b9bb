#pragma once
// Validation of console setup input as the user types it. Every rule is
// checked and each failing one adds its message, in a fixed order; every
// value that passes is written into the working record at once.
#include <string>
#include <vector>

#include "config/LMConsSettings.h"

class ILMComPortDirectory;

struct SLMConsInput {
    std::wstring name;               // as entered
    std::wstring currentName;        // of the console being edited
    bool adding = false;             // a new console: there is no current name
    std::vector<std::wstring> namesInUse;  // the other consoles' names
    int rxTerm = -1;                 // selection, -1 for none
    std::wstring rxWrap;
    std::wstring rxTimeout;
    int txTerm = -1;
    int conMode = LMConsSettings::kComSerial;
    std::wstring hostPort;
    std::wstring devAddr;
    std::wstring comPort;
    std::wstring logDepth;
};

struct SLMConsValidation {
    std::vector<std::wstring> messages;  // empty when the input is acceptable
    bool portValid = false;              // the host or port part is valid
};

// Checks input and updates record (which the caller holds exclusively).
// ports may be null: serial ports then count as not present.
SLMConsValidation LMValidateConsInput(const SLMConsInput& input, LMConsSettings& record, ILMComPortDirectory* ports);
