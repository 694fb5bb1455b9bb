#include "foundation/LastError.h"

#if defined(_WIN32)
// Declared here rather than through windows.h: the portable core stays free of
// the platform headers, and these two functions have been stable since NT 3.1.
extern "C" __declspec(dllimport) unsigned long __stdcall GetLastError(void);
extern "C" __declspec(dllimport) void __stdcall SetLastError(unsigned long code);

uint32_t NGetLastError() { return static_cast<uint32_t>(GetLastError()); }
void NSetLastError(uint32_t code) { SetLastError(code); }
#else
namespace {
thread_local uint32_t t_lastError = 0;
}
uint32_t NGetLastError() { return t_lastError; }
void NSetLastError(uint32_t code) { t_lastError = code; }
#endif
