#pragma once
// The text that names a console's connection in messages:
// "telnet://" + host[:port], or "serial://" + port + "/" + the short form of
// the serial mode in use (serial://COM3/115200-8-N-1-NH). A serial mode that
// does not parse is shown as written, so the message still tells what was
// tried; an unknown connection mode gives "*** ERROR ***".
#include <cstdint>
#include <string>
#include <string_view>

std::wstring LMConsoleAddress(uint32_t conMode, std::wstring_view hostPort, std::wstring_view devAddr,
                              std::wstring_view comPort, std::wstring_view serialMode);
