#pragma once
// Windows Sockets for the life of the object (WSAStartup 2.2 / WSACleanup).
#include <winsock2.h>

class NSocketsInit {
public:
    NSocketsInit() = default;
    ~NSocketsInit();
    NSocketsInit(const NSocketsInit&) = delete;
    NSocketsInit& operator=(const NSocketsInit&) = delete;

    // False with the Winsock error in the last error.
    bool Start();
    bool IsStarted() const noexcept { return m_started; }

private:
    bool m_started = false;
};
