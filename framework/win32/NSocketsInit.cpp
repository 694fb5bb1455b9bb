#include "framework/win32/NSocketsInit.h"

NSocketsInit::~NSocketsInit()
{
    if (m_started)
        ::WSACleanup();
}

bool NSocketsInit::Start()
{
    if (m_started)
        return true;
    WSADATA data{};
    const int error = ::WSAStartup(MAKEWORD(2, 2), &data);
    if (error != 0) {
        ::SetLastError(static_cast<DWORD>(error));
        return false;
    }
    m_started = true;
    return true;
}
