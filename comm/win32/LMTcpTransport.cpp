#include "comm/win32/LMTcpTransport.h"

int LMTcpTransport::Receive(void* buffer, int length)
{
    const int got = m_socket->Receive(buffer, length);
    m_lastError = got < 0 ? WSAGetLastError() : 0;
    return got;
}

bool LMTcpTransport::SendAll(const void* data, size_t size)
{
    const bool ok = m_socket->SendAll(data, size);
    m_lastError = ok ? 0 : WSAGetLastError();
    return ok;
}
