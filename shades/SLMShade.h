#pragma once
// One row of a shade set: how entries of one log kind are named, recognised,
// marked in the file log and coloured.
#include "shades/LMGuid.h"

#include <cstdint>
#include <string>
#include <string_view>

struct SLMShade {
    // "No colour": what the empty row carries in both colours.
    static constexpr uint32_t kNoColour = 0xFFFFFFFFu;
    static constexpr uint32_t kMaxColour = 0x00FFFFFFu;

    std::wstring name;        // never empty in a valid row
    LMGuid guid;              // never nil in a valid row
    uint8_t prefix = 0;       // printable ASCII, or 0 for none
    char mark[4] = {};        // three printable characters and a zero; ANSI code page
    uint32_t fore = kNoColour;  // COLORREF 0x00BBGGRR
    uint32_t back = kNoColour;

    // The row that stands in for any kind beyond the last row, and the start
    // of a row read from JSON: empty name, nil GUID, no prefix, empty mark,
    // no colours.
    static const SLMShade& Empty();

    // Printable here means ASCII 0x20..0x7E, the same set the C locale calls
    // printable; a byte of another code page's upper half is not.
    static bool IsPrintable(uint32_t c) { return c >= 0x20 && c <= 0x7E; }

    bool HasValidMark() const;
    std::string_view Mark() const;  // up to the terminating zero (at most 3)
    void SetMark(std::string_view text);  // first 3 bytes kept
    bool SameMark(const SLMShade& other) const;  // all 4 bytes
};
