#include "foundation/win32/SystemErrorText.h"

#include <windows.h>

#include <iterator>

namespace {
// FormatMessageW into a caller buffer: the buffer FORMAT_MESSAGE_ALLOCATE_BUFFER
// hands out would need LocalFree on every path.
std::wstring FormatFrom(DWORD source, HMODULE module, DWORD code, DWORD language)
{
    wchar_t buffer[2048];
    const DWORD n = ::FormatMessageW(source | FORMAT_MESSAGE_IGNORE_INSERTS,
                                     module, code, language, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    return std::wstring(buffer, n);
}
}  // namespace

std::wstring NLookupSystemMessage(uint32_t code)
{
    const DWORD saved = ::GetLastError();
    std::wstring text = FormatFrom(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
    if (text.empty())
        text = FormatFrom(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0);
    // Socket errors live in the system table on current Windows; older systems
    // and some compatibility layers keep them with the sockets library only.
    if (text.empty() && code >= 10000 && code < 12000) {
        if (HMODULE sockets = ::GetModuleHandleW(L"ws2_32.dll"))
            text = FormatFrom(FORMAT_MESSAGE_FROM_HMODULE, sockets, code, 0);
    }
    ::SetLastError(saved);
    return text;
}

std::wstring NSystemErrorText(uint32_t code, uint32_t flags)
{
    const DWORD saved = ::GetLastError();
    std::wstring text = NFormatSystemErrorText(code, NLookupSystemMessage(code), flags);
    ::SetLastError(saved);
    return text;
}

std::wstring NLastSystemErrorText(uint32_t flags) { return NSystemErrorText(::GetLastError(), flags); }
