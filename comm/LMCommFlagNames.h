#pragma once
// Readable names of serial comm events, comm errors and modem lines, as they
// appear in the console's messages about a serial port.
#include <cstdint>
#include <string>

// Names of the set bits in table order, separated by one blank; bits that no
// name covers are added as one more item "+0x%04X+".
std::wstring LMCommEventNames(uint32_t mask);
std::wstring LMCommErrorNames(uint32_t flags);

// For CTS, DSR, RING and RLSD in this order the name followed by "=on  " or
// "=off " (so the list has a fixed width).
std::wstring LMModemLineList(uint32_t status);

// value as count upper-case hex digits (more when the value needs them).
std::wstring LMHexDigits(uint32_t value, int count);
