#include "tools/simboard/SimBoardServer.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "tools/simboard/SimBoardProtocol.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using SockLen = int;
namespace {
constexpr intptr_t kNoSocket = static_cast<intptr_t>(INVALID_SOCKET);
SOCKET S(intptr_t s) { return static_cast<SOCKET>(s); }
void CloseSocket(intptr_t s) { ::closesocket(S(s)); }
int LastSocketError() { return ::WSAGetLastError(); }
}  // namespace
#else
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
using SockLen = socklen_t;
namespace {
constexpr intptr_t kNoSocket = -1;
int S(intptr_t s) { return static_cast<int>(s); }
void CloseSocket(intptr_t s) { ::close(S(s)); }
int LastSocketError() { return errno; }
}  // namespace
#endif

namespace {

// Blocking send of everything; false once the peer is gone.
bool SendAll(intptr_t s, const char* data, size_t size)
{
    while (size > 0) {
        const int chunk = size > (1u << 20) ? (1 << 20) : static_cast<int>(size);
#ifdef _WIN32
        const int sent = ::send(S(s), data, chunk, 0);
#else
        const ssize_t sent = ::send(S(s), data, static_cast<size_t>(chunk), MSG_NOSIGNAL);
#endif
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

// Ends the connection with a reset instead of an orderly close.
void Reset(intptr_t s)
{
    linger lg{};
    lg.l_onoff = 1;
    lg.l_linger = 0;
    ::setsockopt(S(s), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&lg), sizeof(lg));
    CloseSocket(s);
}

bool Flood(intptr_t s, uint32_t lines)
{
    // Batches of lines keep the number of send calls low so that the
    // connection, not the board, sets the pace.
    std::string batch;
    batch.reserve(64 * 1024 + 128);
    for (uint32_t i = 0; i < lines; ++i) {
        batch += SimBoardProtocol::FloodLine(i);
        if (batch.size() >= 64 * 1024) {
            if (!SendAll(s, batch.data(), batch.size()))
                return false;
            batch.clear();
        }
    }
    return SendAll(s, batch.data(), batch.size());
}

void Serve(intptr_t s, bool quiet)
{
    SimBoardProtocol protocol;
    const std::string banner = SimBoardProtocol::Banner();
    bool open = SendAll(s, banner.data(), banner.size());
    char buffer[4096];
    while (open) {
        const int got = static_cast<int>(::recv(S(s), buffer, sizeof(buffer), 0));
        if (got <= 0)
            break;
        for (const SimBoardProtocol::SAction& action : protocol.Feed(buffer, static_cast<size_t>(got))) {
            switch (action.kind) {
            case SimBoardProtocol::EAction::kWrite:
                open = SendAll(s, action.text.data(), action.text.size());
                break;
            case SimBoardProtocol::EAction::kFlood:
                open = Flood(s, action.count);
                break;
            case SimBoardProtocol::EAction::kDelay:
                std::this_thread::sleep_for(std::chrono::milliseconds(action.count));
                break;
            case SimBoardProtocol::EAction::kClose:
#ifdef _WIN32
                ::shutdown(S(s), SD_SEND);
#else
                ::shutdown(S(s), SHUT_WR);
#endif
                CloseSocket(s);
                s = kNoSocket;
                open = false;
                break;
            case SimBoardProtocol::EAction::kReset:
                Reset(s);
                s = kNoSocket;
                open = false;
                break;
            }
            if (!open)
                break;
        }
    }
    if (s != kNoSocket)
        CloseSocket(s);
    if (!quiet)
        std::fprintf(stderr, "simboard: connection ended\n");
}

}  // namespace

SimBoardServer::SimBoardServer() : m_listener(kNoSocket)
{
#ifdef _WIN32
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
#else
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

SimBoardServer::~SimBoardServer()
{
    if (m_listener != kNoSocket)
        CloseSocket(m_listener);
#ifdef _WIN32
    ::WSACleanup();
#endif
}

bool SimBoardServer::Listen(uint16_t port)
{
    m_listener = static_cast<intptr_t>(::socket(AF_INET, SOCK_STREAM, 0));
    if (m_listener == kNoSocket) {
        std::fprintf(stderr, "simboard: socket failed (%d)\n", LastSocketError());
        return false;
    }
    int yes = 1;
#ifndef _WIN32
    // Lets a restarted board take its port back at once; on Windows the same
    // option would let two listeners share the port, so it is left off there.
    ::setsockopt(S(m_listener), SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&yes), sizeof(yes));
#endif
    (void)yes;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(S(m_listener), reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
        ::listen(S(m_listener), 16) != 0) {
        std::fprintf(stderr, "simboard: cannot listen on 127.0.0.1:%u (%d)\n", port, LastSocketError());
        return false;
    }
    SockLen len = sizeof(addr);
    ::getsockname(S(m_listener), reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    return true;
}

int SimBoardServer::Run(bool quiet)
{
    for (;;) {
        const intptr_t s = static_cast<intptr_t>(::accept(S(m_listener), nullptr, nullptr));
        if (s == kNoSocket) {
            std::fprintf(stderr, "simboard: accept failed (%d)\n", LastSocketError());
            return 1;
        }
        int yes = 1;
        ::setsockopt(S(s), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&yes), sizeof(yes));
        if (!quiet)
            std::fprintf(stderr, "simboard: connection accepted\n");
        std::thread(Serve, s, quiet).detach();
    }
}
