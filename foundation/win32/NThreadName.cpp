#include "foundation/win32/NThreadName.h"

#include <windows.h>

#include <string>

#include "foundation/Utf.h"

namespace {
using SetThreadDescriptionFn = HRESULT(WINAPI*)(HANDLE thread, PCWSTR description);

// The record of the debugger's thread-naming exception.
#pragma pack(push, 8)
struct SThreadNameInfo {
    DWORD type;      // 0x1000
    LPCSTR name;
    DWORD threadId;  // -1: the calling thread
    DWORD flags;
};
#pragma pack(pop)

constexpr DWORD kSetThreadNameException = 0x406D1388;

// Without structured exception handling the exception is swallowed by a
// vectored handler, which runs only after an attached debugger has had its
// first look at it.
LONG CALLBACK SwallowThreadNameException(EXCEPTION_POINTERS* info)
{
    if (info != nullptr && info->ExceptionRecord != nullptr &&
        info->ExceptionRecord->ExceptionCode == kSetThreadNameException)
        return EXCEPTION_CONTINUE_EXECUTION;
    return EXCEPTION_CONTINUE_SEARCH;
}

void AnnounceToDebugger(const char* name)
{
    if (!::IsDebuggerPresent())
        return;
    PVOID handler = ::AddVectoredExceptionHandler(1, &SwallowThreadNameException);
    if (handler == nullptr)
        return;  // raising without a handler would end the process
    SThreadNameInfo info{0x1000, name, static_cast<DWORD>(-1), 0};
    ::RaiseException(kSetThreadNameException, 0, sizeof info / sizeof(ULONG_PTR),
                     reinterpret_cast<const ULONG_PTR*>(&info));
    ::RemoveVectoredExceptionHandler(handler);
}
}  // namespace

void NSetThreadName(const char* name)
{
    if (name == nullptr)
        return;
    // Newer systems keep the name with the thread itself.
    static const auto setDescription = reinterpret_cast<SetThreadDescriptionFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")));
    if (setDescription != nullptr) {
        const std::wstring wide = NUtf8ToWide(name);
        setDescription(::GetCurrentThread(), wide.c_str());
    }
    AnnounceToDebugger(name);
}
