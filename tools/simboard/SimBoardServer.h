#pragma once
// The simulated board's listener: accepts connections on 127.0.0.1 and serves
// each on a thread of its own with a fresh SimBoardProtocol. POSIX sockets
// natively, Windows Sockets on Win32.
#include <cstdint>

class SimBoardServer {
public:
    SimBoardServer();
    ~SimBoardServer();
    SimBoardServer(const SimBoardServer&) = delete;
    SimBoardServer& operator=(const SimBoardServer&) = delete;

    // Binds and listens; port 0 picks a free port. False with a message on stderr.
    bool Listen(uint16_t port);
    // The port actually bound.
    uint16_t Port() const { return m_port; }
    // Accepts and serves connections until the listener fails.
    int Run(bool quiet);

private:
    intptr_t m_listener;
    uint16_t m_port = 0;
};
