#pragma once
// Encoding detection and decoding of the bytes of a text file (command files,
// batch files, shades files). Files come from any editor, so the encoding is
// guessed from the bytes alone; a byte-order mark is not required and, when
// present, is kept as the first character of the text.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

enum class NTextEncoding : uint8_t {
    SevenBit,  // only bytes below 128, read in the ANSI code page
    Ansi,      // the system ANSI code page
    Utf8,
    Utf16LE,
    Utf16BE,
    NotText,
};

// Converts bytes in the system ANSI code page to UTF-16. On Windows this is the
// platform conversion (foundation/win32/AnsiCodePage.h); tests pass a stand-in.
using NAnsiDecoder = std::function<std::wstring(std::string_view)>;

// Empty data is not text. Data without zero bytes is 7-bit when every byte is
// below 128, else UTF-8 when it consists of complete sequences (lead byte and
// as many continuation bytes as it announces, up to the old six-byte form),
// else ANSI. Data with zero bytes, or starting with a UTF-16 byte-order mark,
// is read as 16-bit units both ways: odd length or a zero unit is not text; a
// 0xFEFF unit decides (in both readings: not text); then the reading with
// more units 1-127, then 128-255, then 256-4095, then the smaller sum of the
// units wins; a complete tie is not text.
NTextEncoding NDetectTextEncoding(std::string_view bytes);

// Detects and decodes. Not text (empty data included) returns false with
// nerr::kInvalidData and leaves `text` empty. `encoding` may be null.
bool NDecodeText(std::string_view bytes, const NAnsiDecoder& ansi, std::wstring& text,
                 NTextEncoding* encoding = nullptr);

// Decodes bytes already known to be in `encoding` (NotText gives empty text).
std::wstring NDecodeTextAs(std::string_view bytes, NTextEncoding encoding, const NAnsiDecoder& ansi);

// A short English name for messages and test output: "7-bit", "ANSI", "UTF-8",
// "UTF-16LE", "UTF-16BE", "not text".
const char* NTextEncodingName(NTextEncoding encoding);
