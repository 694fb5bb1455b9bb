#pragma once
// The system's port configuration dialog for one COM port, started from the
// port's default configuration with a mode's device-control settings copied
// in.
#include <windows.h>

#include <string>

#include "transport/SerialDcb.h"

// True when the user confirmed; dcb then holds the chosen settings. False on
// Cancel (failedStep empty) or failure: failedStep names the step that failed
// and the thread's last error says why.
bool LMRunPortSetupDialog(HWND owner, const std::wstring& port, NSerialDcb& dcb, std::wstring& failedStep);
