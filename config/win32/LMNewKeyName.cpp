#include "config/win32/LMNewKeyName.h"

#include <rpc.h>

std::wstring LMNewConsoleKeyName()
{
    UUID uuid{};
    const RPC_STATUS status = ::UuidCreate(&uuid);
    if (status != RPC_S_OK && status != RPC_S_UUID_LOCAL_ONLY) return L"{}";
    RPC_WSTR text = nullptr;
    if (::UuidToStringW(&uuid, &text) != RPC_S_OK || text == nullptr) return L"{}";
    std::wstring name = L"{";
    for (const wchar_t* p = reinterpret_cast<const wchar_t*>(text); *p != 0; ++p)
        name += (*p >= L'A' && *p <= L'F') ? static_cast<wchar_t>(*p - L'A' + L'a') : *p;
    name += L'}';
    ::RpcStringFreeW(&text);
    return name;
}
