#pragma once
// The system error text for a Win32 or Windows Sockets error number, as shown
// in log entries and message boxes (shaping in foundation/SystemErrorFormat.h).
#include <cstdint>
#include <string>

#include "foundation/SystemErrorFormat.h"

// The platform's message for code, untrimmed; empty when it has none.
std::wstring NLookupSystemMessage(uint32_t code);

// flags: nsyserr::kLong, kLeadingCrLf, kTrailingCrLf. Leaves the caller's last
// error as it was, so it can be called between a failure and its report.
std::wstring NSystemErrorText(uint32_t code, uint32_t flags = nsyserr::kShort);

// The text for the calling thread's last error.
std::wstring NLastSystemErrorText(uint32_t flags = nsyserr::kShort);
