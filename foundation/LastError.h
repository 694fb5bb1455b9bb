#pragma once
// The calling thread's last error, shared by the portable core and the platform
// edge. On Windows this is the platform's own last-error value, so a failure set
// deep in portable code is what GetLastError() shows to the caller.
#include <cstdint>

uint32_t NGetLastError();
void NSetLastError(uint32_t code);

// Sets the last error and returns false: `return NFail(nerr::kInvalidToken);`
inline bool NFail(uint32_t code)
{
    NSetLastError(code);
    return false;
}
