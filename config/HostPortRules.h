#pragma once
// The rules for a TCP/IP console's "host[:port]" text. Each check gives the
// message of the first rule that fails, or null when the text is acceptable.
#include <cstdint>
#include <string_view>

// A host name or dotted address: segments of A-Z, a-z, 0-9 and "-" joined by dots.
const wchar_t* LMCheckHost(std::wstring_view host);
// host, optionally ":" and a port 1-65535 (digits only, read in the number
// syntax, so a leading 0 means octal). On success port holds the port, or 0
// when the text names none.
const wchar_t* LMCheckHostPort(std::wstring_view text, uint32_t* port = nullptr);
