#include "transport/win32/NEventSocket.h"

#include <cstring>

NEventSocket::~NEventSocket()
{
    NEventSocket::Close();
}

void NEventSocket::Close()
{
    if (m_socket != INVALID_SOCKET) {
        // closesocket may overwrite the Winsock error that the caller is
        // about to report.
        const int error = ::WSAGetLastError();
        ::closesocket(m_socket);
        ::WSASetLastError(error);
        m_socket = INVALID_SOCKET;
    }
}

void NEventSocket::Attach(SOCKET socket)
{
    Close();
    m_socket = socket;
}

bool NEventSocket::CreateStream()
{
    Close();
    m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
    return m_socket != INVALID_SOCKET;
}

bool NEventSocket::SelectEvents(WSAEVENT event, long events)
{
    if (m_socket == INVALID_SOCKET) {
        ::WSASetLastError(WSAENOTSOCK);
        return false;
    }
    if (::WSAEventSelect(m_socket, event, events) != 0)
        return false;
    m_event = events != 0 ? event : nullptr;
    return true;
}

bool NEventSocket::Accept(NEventSocket& other, sockaddr* address, int* addressLength)
{
    if (&other == this) {
        ::WSASetLastError(WSAEINVAL);
        return false;
    }
    sockaddr_storage peer{};
    int peerLength = sizeof(peer);
    const SOCKET s = ::accept(m_socket, reinterpret_cast<sockaddr*>(&peer), &peerLength);
    if (s == INVALID_SOCKET)
        return false;
    // An accepted socket inherits the listener's selection; the new owner
    // decides for itself. Clearing it leaves it non-blocking, so switch back.
    ::WSAEventSelect(s, nullptr, 0);
    u_long blocking = 0;
    ::ioctlsocket(s, FIONBIO, &blocking);
    other.Attach(s);
    other.m_event = nullptr;
    other.StoreAddress(reinterpret_cast<sockaddr*>(&peer), peerLength);
    if (address != nullptr && addressLength != nullptr) {
        const int n = peerLength < *addressLength ? peerLength : *addressLength;
        std::memcpy(address, &peer, static_cast<size_t>(n));
        *addressLength = peerLength;
    }
    return true;
}

int NEventSocket::Receive(void* buffer, int length, int flags)
{
    return ::recv(m_socket, static_cast<char*>(buffer), length, flags);
}

int NEventSocket::Send(const void* buffer, int length, int flags)
{
    return ::send(m_socket, static_cast<const char*>(buffer), length, flags);
}

void NEventSocket::StoreAddress(const sockaddr* address, int length)
{
    if (length < 0 || static_cast<size_t>(length) > sizeof(m_address))
        length = 0;
    std::memset(m_address, 0, sizeof(m_address));
    if (length > 0)
        std::memcpy(m_address, address, static_cast<size_t>(length));
    m_addressLength = length;
}
