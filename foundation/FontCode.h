#pragma once
// The text form of a font ("Consolas,10", "Courier New,9.5,IB"): the face
// name, the point size and an optional string of style letters. Stored in the
// registry, so decoding must refuse anything it cannot read back exactly.
#include <cstdint>
#include <string>
#include <string_view>

struct NFontSpec {
    std::wstring faceName;   // 1 to 31 characters, no surrounding white space
    double pointSize = 10;   // above 0, at most kMaxPointSize
    uint32_t weight = 400;   // 0 to 1000; 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    static constexpr size_t kMaxFaceName = 31;
    // The largest size the platform's font dialog offers; it also keeps the
    // conversion to a logical height far from integer overflow.
    static constexpr double kMaxPointSize = 1638;
};

// Parts separated by ",": face name (white space trimmed), point size (decimal
// digits with an optional fraction, white space trimmed), optional styles
// (white space ignored): "B" bold, "N" normal, "I" italic, "U" underline,
// "S" strikeout, "W" + 1 to 4 digits an explicit weight of at most 1000; a
// later weight letter overrides an earlier one. Letters are upper case only.
// The size is rounded to hundredths of a point; one that rounds to 0 is refused.
// On failure returns false with nerr::kInvalidData and leaves `spec` unchanged.
bool NDecodeFontCode(std::wstring_view code, NFontSpec& spec);

// The style part is written only when not empty: "I", "U", "S" as set, then
// "B" for weight 700 or "W" + the weight for 1 to 1000 except 400. The size is
// written with at most two decimals, without trailing zeros.
std::wstring NEncodeFontCode(const NFontSpec& spec);
