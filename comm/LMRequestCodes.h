#pragma once
// Request codes of the communication worker. A code is a 32-bit value whose
// four bytes, read from the most significant, spell four characters, so a
// code reads the same in a debugger's hex view as in the source.
#include <cstdint>
#include <string>

constexpr uint32_t LMFourCC(char a, char b, char c, char d)
{
    return (static_cast<uint32_t>(static_cast<uint8_t>(a)) << 24) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 8) | static_cast<uint32_t>(static_cast<uint8_t>(d));
}

namespace lmreq {
constexpr uint32_t kReset = LMFourCC('R', 'S', 'T', '!');       // reset procedure
constexpr uint32_t kSequence = LMFourCC('S', 'E', 'Q', 'U');    // sequence procedure
constexpr uint32_t kUserCommand = LMFourCC('U', 'S', 'R', 'C'); // send a user command line
constexpr uint32_t kUserBreak = LMFourCC('U', 'S', 'R', 'B');   // user break
constexpr uint32_t kBaudTest = LMFourCC('B', 'R', 'T', 'S');    // ends the connection
constexpr uint32_t kFlood = LMFourCC('F', 'L', 'O', 'D');       // toggles the debugging test
constexpr uint32_t kPortMode = LMFourCC('P', 'M', 'O', 'D');    // switch serial mode
constexpr uint32_t kSettings = LMFourCC('C', 'S', 'E', 'T');    // settings changed; only wakes the worker
constexpr uint32_t kNone = 0xFFFFFFFFu;                         // what an empty queue gives
}  // namespace lmreq

static_assert(lmreq::kReset == 0x52535421u);
static_assert(lmreq::kFlood == 0x464c4f44u);

// The four characters of a code ("RST!"); bytes outside printable ASCII are
// shown as "\xHH" so that a stray code in a log stays readable.
std::string LMRequestCodeText(uint32_t code);
