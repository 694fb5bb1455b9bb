#pragma once
// The connection a worker reads and writes once it is established, so that
// the worker can be driven by a test double as well as by a TCP socket.
#include <windows.h>

#include <cstddef>
#include <string>

class ILMCommTransport {
public:
    // What Receive's negative result with this error means: nothing now.
    static constexpr int kWouldBlock = 10035;  // WSAEWOULDBLOCK

    virtual ~ILMCommTransport() = default;
    // Signalled when input (or the peer's close) may be waiting.
    virtual HANDLE Event() const = 0;
    // Bytes read (> 0), 0 when the peer closed, < 0 on failure with the
    // error in LastError (kWouldBlock: no more data now).
    virtual int Receive(void* buffer, int length) = 0;
    // Sends everything; false with the error in LastError.
    virtual bool SendAll(const void* data, size_t size) = 0;
    virtual int LastError() const = 0;
    // The peer for messages ("a.b.c.d:port").
    virtual std::wstring PeerName() const = 0;
};
