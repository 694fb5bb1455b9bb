// simboard: a simulated target board for trying Lumbra's TCP/IP consoles,
// its benchmarks and end-to-end tests without hardware.
//
//   simboard [--port N] [--quiet]
//
// Listens on 127.0.0.1:N (default 5000; 0 picks a free port) and prints
// "listening on 127.0.0.1:<port>" on stdout once it accepts connections.
// The command set is described in SimBoardProtocol.h and printed by "help".
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/simboard/SimBoardServer.h"

namespace {

void Usage()
{
    std::fprintf(stderr,
                 "usage: simboard [--port N] [--quiet]\n"
                 "  Listens on 127.0.0.1:N (default 5000, 0 = any free port) and answers like a\n"
                 "  target board: each command line (CR, LF or CR LF) is answered with its output\n"
                 "  and the reply line \"=\" + CRC-32 of the command in hex; the empty command gets \"=0\".\n"
                 "  Commands: echo TEXT, unsol TEXT (\"_\"), note TEXT (\"*\"), problem TEXT (\"!\"),\n"
                 "  prompt TEXT (no line end), stall TEXT (no reply), flood N (N lines of 80\n"
                 "  characters), delay MS, update (\"=UPDATE\"), close, reset (SO_LINGER 0), help.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    long port = 5000;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            char* end = nullptr;
            port = std::strtol(argv[++i], &end, 10);
            if (end == argv[i] || *end != '\0' || port < 0 || port > 65535) {
                std::fprintf(stderr, "simboard: invalid port \"%s\"\n", argv[i]);
                return 2;
            }
        } else if (std::strcmp(argv[i], "--quiet") == 0) {
            quiet = true;
        } else {
            Usage();
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        }
    }
    SimBoardServer server;
    if (!server.Listen(static_cast<uint16_t>(port)))
        return 1;
    std::printf("listening on 127.0.0.1:%u\n", server.Port());
    std::fflush(stdout);
    return server.Run(quiet);
}
