#pragma once
// The text form of a window placement ("0,1,-1,-1,-1,-1,103,75,619,334"): the
// ten fields that follow the length of the platform's placement record, in
// the order flags, show command, minimised x and y, maximised x and y, and the
// normal rectangle's left, top, right and bottom.
#include <cstdint>
#include <string>
#include <string_view>

struct NWindowPlacementText {
    uint32_t flags = 0;
    uint32_t showCmd = 0;
    int32_t minX = 0, minY = 0;
    int32_t maxX = 0, maxY = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    // "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d"
    std::wstring Format() const;

    // Exactly ten decimal numbers separated by ","; blanks and tabs may stand
    // around each. The first two are unsigned, the others may carry "-". A
    // "+", an out-of-range number, a missing or an eleventh field, or anything
    // else after the last number refuses the whole text, since applying half a
    // placement could put a window off screen. On failure returns false with
    // nerr::kInvalidData and leaves the object unchanged.
    bool Parse(std::wstring_view text);

    friend bool operator==(const NWindowPlacementText&, const NWindowPlacementText&) = default;
};
