#pragma once
// Serial mode strings: an optional port prefix and a serial configuration,
// applied on top of a device control block (keys not named keep their value).
//
//   [COMn[:]] BAUD=115200 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF
//   [COMn[:]] 9600,N,8,1[,flow]
//
// Case does not matter. BAUD values 3, 6, 12, 24, 48, 96, 144, 192, 384, 560
// and 576 are hundreds (96 = 9600). FLOW (and the fifth positional field) is a
// letter: H hardware, N none, P full handshake, S software, X XON/XOFF with
// the lines up.
#include <cstdint>
#include <string>
#include <string_view>

#include "transport/SerialDcb.h"

// The port named by a mode string's prefix.
struct NSerialModePort {
    bool named = false;    // the text had a port prefix
    uint32_t number = 0;   // never 0 when named
    std::wstring name;     // "COM" + the digits as written
};

enum class NSerialModePrefix {
    kCom,           // "COMn"
    kComOrDevice,   // also "\\.\COMn"
};

// Parses text onto dcb. On failure (last error nerr::kInvalidParameter) dcb
// and port are unchanged. An empty text is valid and changes nothing.
bool NParseSerialMode(std::wstring_view text, NSerialDcb& dcb, NSerialModePort* port = nullptr,
                      NSerialModePrefix prefixes = NSerialModePrefix::kCom);

// Whether text parses (onto any block; the result does not depend on it).
bool NIsValidSerialMode(std::wstring_view text);

// The canonical KEY=VALUE form of a block: "BAUD=115200 PARITY=N DATA=8 STOP=1
// XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF". An item whose value the
// grammar cannot express (an undefined stop-bit or DTR code, a parity above 4,
// a byte size outside 5-8, a rate that would read back as another rate) is
// left out, so the text always parses and never claims a wrong value.
std::wstring NSerialModeCanonical(const NSerialDcb& dcb);

// The short readable form, as in console addresses: "115200-8-N-1-NH".
std::wstring NSerialModeShort(const NSerialDcb& dcb);
// The short form of a mode string parsed onto the default block; false and
// empty when the text does not parse.
bool NSerialModeShort(std::wstring_view text, std::wstring& shortForm);

// The canonical form of a mode string parsed onto the default block; empty
// when the text does not parse (the port prefix, if any, is dropped).
std::wstring NNormalizeSerialMode(std::wstring_view text);
