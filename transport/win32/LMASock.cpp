#include "transport/win32/LMASock.h"

#include <ws2tcpip.h>

#include <cstring>

#include <string>
#include <vector>

namespace {

std::string ToAnsi(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

LMASock::LMASock()
{
    m_event.Create(false, false);
}

LMASock::~LMASock()
{
    // The socket goes first: closing it ends its event selection.
    Close();
}

bool LMASock::Connect(const std::wstring& host, uint16_t port, bool& pending)
{
    pending = false;
    if (!m_event) {
        ::WSASetLastError(static_cast<int>(::GetLastError()));
        return false;
    }
    if (!CreateStream())
        return false;
    if (!SelectEvents(m_event.Get(), kEvents)) {
        Close();
        return false;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = 0;
    if (::bind(Handle(), reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0) {
        Close();  // keeps the Winsock error
        return false;
    }

    // A name with characters the ANSI code page lacks cannot be looked up
    // and must not turn into some other name made of "?".
    const std::string name = ToAnsi(host);
    if (name.empty() || name.find('?') != std::string::npos || host.find(L'?') != std::wstring::npos) {
        ::WSASetLastError(name.empty() ? WSAEINVAL : WSAHOST_NOT_FOUND);
        return false;
    }
    in_addr address{};
    address.s_addr = ::inet_addr(name.c_str());
    if (address.s_addr == INADDR_NONE) {
        ::WSASetLastError(0);
        const hostent* entry = ::gethostbyname(name.c_str());
        if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list == nullptr ||
            entry->h_addr_list[0] == nullptr) {
            if (::WSAGetLastError() == 0)
                ::WSASetLastError(WSAEINVAL);
            return false;
        }
        std::memcpy(&address, entry->h_addr_list[0], sizeof(address));
    }

    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr = address;
    StoreAddress(reinterpret_cast<sockaddr*>(&peer), sizeof(peer));
    if (::connect(Handle(), reinterpret_cast<sockaddr*>(&peer), sizeof(peer)) == 0)
        return true;
    if (::WSAGetLastError() == WSAEWOULDBLOCK) {
        pending = true;
        return true;
    }
    return false;
}

bool LMASock::ConnectResult(int& connectError, bool& otherEvents)
{
    connectError = 0;
    otherEvents = false;
    WSANETWORKEVENTS events{};
    // Passing the event resets it; it is auto-reset anyway.
    if (::WSAEnumNetworkEvents(Handle(), m_event.Get(), &events) != 0)
        return false;
    if ((events.lNetworkEvents & FD_CONNECT) == 0) {
        connectError = WSAEWOULDBLOCK;  // still pending
    } else {
        connectError = events.iErrorCode[FD_CONNECT_BIT];
    }
    otherEvents = (events.lNetworkEvents & ~FD_CONNECT) != 0;
    // Data that came with the connection must still wake the reader.
    if (events.lNetworkEvents & (FD_READ | FD_CLOSE))
        m_event.Set();
    return true;
}

bool LMASock::SendAll(const void* data, size_t size, uint32_t timeoutMs)
{
    const char* p = static_cast<const char*>(data);
    const DWORD start = ::GetTickCount();
    while (size > 0) {
        const int piece = size > static_cast<size_t>(kSendPiece) ? kSendPiece : static_cast<int>(size);
        const int sent = Send(p, piece, 0);
        if (sent > 0) {
            p += sent;
            size -= static_cast<size_t>(sent);
            continue;
        }
        if (sent == 0 || ::WSAGetLastError() != WSAEWOULDBLOCK)
            return false;
        // The socket's buffer is full. The event selection covers no FD_WRITE
        // (the worker's wait set must not fire on every send), so look at the
        // socket's writability directly, briefly, until the time limit.
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) {
            ::WSASetLastError(WSAETIMEDOUT);
            return false;
        }
        fd_set writable;
        FD_ZERO(&writable);
        FD_SET(Handle(), &writable);
        fd_set failed;
        FD_ZERO(&failed);
        FD_SET(Handle(), &failed);
        timeval wait{0, 50000};
        if (::select(0, nullptr, &writable, &failed, &wait) == SOCKET_ERROR)
            return false;
        if (FD_ISSET(Handle(), &failed)) {
            ::WSASetLastError(WSAECONNRESET);
            return false;
        }
    }
    return true;
}

std::wstring LMASock::PeerName() const
{
    sockaddr_in peer{};
    int length = sizeof(peer);
    if (::getpeername(Handle(), reinterpret_cast<sockaddr*>(&peer), &length) != 0 || peer.sin_family != AF_INET)
        return {};
    const char* dotted = ::inet_ntoa(peer.sin_addr);
    std::wstring text;
    for (const char* c = dotted; c != nullptr && *c != '\0'; ++c)
        text += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    text += L':';
    text += std::to_wstring(ntohs(peer.sin_port));
    return text;
}
