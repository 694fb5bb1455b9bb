#pragma once
// The text of one Hex Mode line: per byte two upper-case hex digits and a
// blank, then ":", then per byte the character itself when it is printable
// ASCII (32-126), else ".". A group shorter than groupSize (the open rest)
// has the hex columns of its missing bytes filled with three blanks each, so
// the ":" stays in its column while the line grows.
#include <cstddef>
#include <cstdint>
#include <string>

// Replaces out (its capacity is reused, so a caller that keeps one string
// allocates nothing per line). count may not exceed groupSize.
void LMFormatHexLine(const uint8_t* bytes, size_t count, size_t groupSize, std::string& out);
