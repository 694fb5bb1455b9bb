#pragma once
// The communication worker's connection to a TCP/IP console: an event socket
// with its own auto-reset network event, which the worker waits on together
// with its stop and request events. One object per connection; it never
// reconnects by itself.
#include <cstdint>
#include <string>

#include "foundation/win32/Handles.h"
#include "transport/win32/NEventSocket.h"

class LMASock : public NEventSocket {
public:
    static constexpr int kReceiveBuffer = 65536;
    static constexpr int kSendPiece = 1048576;
    static constexpr long kEvents = FD_READ | FD_CONNECT | FD_CLOSE;

    LMASock();
    ~LMASock() override;

    // The network event (never null once constructed unless the system
    // refused to create it, which Connect then reports).
    HANDLE NetworkEvent() const { return m_event.Get(); }

    // Creates the socket, selects the network events, binds to any local
    // address and starts connecting to host:port. True when connected at
    // once or pending (pending = true: wait for FD_CONNECT); false with the
    // Winsock error (WSAEINVAL when the name resolved to nothing).
    bool Connect(const std::wstring& host, uint16_t port, bool& pending);

    // After the network event fired while connecting: the FD_CONNECT error
    // (0 = connected) in connectError, and whether other events came.
    // False with the Winsock error when the events cannot be read.
    bool ConnectResult(int& connectError, bool& otherEvents);

    // Sends all of data in pieces of at most 1 MiB, repeating partial sends
    // and waiting for the socket to take more when it would block, up to
    // timeoutMs in all. False with the Winsock error (WSAETIMEDOUT when the
    // peer stopped taking data).
    bool SendAll(const void* data, size_t size, uint32_t timeoutMs = 30000);

    // "a.b.c.d:port" of the peer; empty when getpeername fails.
    std::wstring PeerName() const;

private:
    NEventHandle m_event;
};
