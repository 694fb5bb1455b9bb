#pragma once
// Line termination of a console: how received bytes are cut into lines
// (RxTerm) and what is appended to a transmitted line (TxTerm). The values
// are those stored in a console's configuration.
#include <cstdint>
#include <string_view>

namespace lmrx {
constexpr uint32_t kCR = 0;         // "CR": byte 13
constexpr uint32_t kLF = 1;         // "LF": byte 10
constexpr uint32_t kCRLF = 2;       // "CR+LF": the pair 13 10
constexpr uint32_t kCROrLF = 3;     // "CR or LF": whichever comes first
constexpr uint32_t kAutomatic = 4;  // as "CR or LF", and the second byte of a CR LF or LF CR pair is swallowed
constexpr uint32_t kHexMode = 5;    // "Hex Mode": fixed groups shown as hex and characters
constexpr uint32_t kCount = 6;
}  // namespace lmrx

namespace lmtx {
constexpr uint32_t kCR = 0;
constexpr uint32_t kLF = 1;
constexpr uint32_t kCRLF = 2;
constexpr uint32_t kNone = 3;
constexpr uint32_t kCount = 4;
}  // namespace lmtx

// The bytes appended to a transmitted line; empty for "None" and for values
// out of range (a stored value that no dialog can produce sends no terminator
// rather than a guessed one).
std::string_view LMTxTerminator(uint32_t txTerm);
