#pragma once
// The address of a TCP/IP console, "host[:port]". The text is split at its
// last ":"; without one the port is 23 (telnet). The port must be a decimal
// number from 1 to 65535; the host is a dotted IPv4 address or a name.
#include <cstdint>
#include <string>
#include <string_view>

struct NHostPort {
    static constexpr uint16_t kDefaultPort = 23;

    std::wstring host;
    uint16_t port = 0;

    // False (last error nerr::kInvalidParameter) for an empty host or a port
    // text that is not a decimal number from 1 to 65535; the record is then
    // left with an empty host and port 0 so that nothing half-parsed is used.
    bool Parse(std::wstring_view text);
};
