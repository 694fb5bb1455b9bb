#pragma once
// A connected LMASock as the worker's transport.
#include <memory>

#include "comm/win32/ILMCommTransport.h"
#include "transport/win32/LMASock.h"

class LMTcpTransport final : public ILMCommTransport {
public:
    explicit LMTcpTransport(std::unique_ptr<LMASock> socket) : m_socket(std::move(socket)) {}

    HANDLE Event() const override { return m_socket->NetworkEvent(); }
    int Receive(void* buffer, int length) override;
    bool SendAll(const void* data, size_t size) override;
    int LastError() const override { return m_lastError; }
    std::wstring PeerName() const override { return m_socket->PeerName(); }

private:
    std::unique_ptr<LMASock> m_socket;
    int m_lastError = 0;
};
