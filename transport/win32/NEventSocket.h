#pragma once
// A stream socket that reports its network events through a Winsock event
// object (WSAEventSelect) instead of blocking, so that a worker can wait on it
// together with its own events.
//
// Only one thread uses an object. The socket is owned (closed by Close and
// the destructor); the event object belongs to whoever selected it.
#include <winsock2.h>

#include <cstdint>

class NEventSocket {
public:
    NEventSocket() = default;
    virtual ~NEventSocket();
    NEventSocket(const NEventSocket&) = delete;
    NEventSocket& operator=(const NEventSocket&) = delete;

    // Accepts a pending connection into other (closing what other held) and
    // clears event selection on the new socket, so it is blocking again.
    // address/addressLength may be null. False with the Winsock error.
    virtual bool Accept(NEventSocket& other, sockaddr* address, int* addressLength);
    // closesocket; the handle becomes INVALID_SOCKET.
    virtual void Close();
    // recv / send results: bytes, 0 when the peer closed (Receive), or
    // SOCKET_ERROR with the Winsock error (WSAEWOULDBLOCK: nothing now).
    virtual int Receive(void* buffer, int length, int flags = 0);
    virtual int Send(const void* buffer, int length, int flags = 0);

    SOCKET Handle() const { return m_socket; }
    bool IsOpen() const { return m_socket != INVALID_SOCKET; }
    // Takes over an open socket (closing the one held).
    void Attach(SOCKET socket);
    // The event object selected by SelectEvents; null when none.
    WSAEVENT Event() const { return m_event; }

    // socket(AF_INET, SOCK_STREAM, 0). False with the Winsock error.
    bool CreateStream();
    // WSAEventSelect(socket, event, events); the socket becomes non-blocking.
    bool SelectEvents(WSAEVENT event, long events);

    // The stored peer address (filled by a connect or an accept).
    const sockaddr* Address() const { return reinterpret_cast<const sockaddr*>(m_address); }
    int AddressLength() const { return m_addressLength; }

protected:
    void StoreAddress(const sockaddr* address, int length);

private:
    SOCKET m_socket = INVALID_SOCKET;
    WSAEVENT m_event = nullptr;
    int m_addressLength = 0;
    alignas(8) unsigned char m_address[128] = {};
};
