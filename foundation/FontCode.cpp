#include "foundation/FontCode.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/NumberSyntax.h"

#include <cmath>
#include <vector>

namespace {

std::wstring_view Trim(std::wstring_view s)
{
    while (!s.empty() && NIsNumberSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && NIsNumberSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Decimal digits with an optional fraction, read by hand so that the
// result never depends on the C library's locale.
bool ParsePointSize(std::wstring_view s, double& size)
{
    double whole = 0, scale = 1;
    bool dot = false;
    int digits = 0;
    for (wchar_t c : s) {
        if (c == L'.' && !dot) {
            dot = true;
        } else if (c >= L'0' && c <= L'9') {
            if (++digits > 12) return false;  // beyond any sane size; keeps the sum exact
            if (dot) {
                scale *= 10;
                whole += (c - L'0') / scale;
            } else {
                whole = whole * 10 + (c - L'0');
            }
        } else {
            return false;
        }
    }
    // Kept in hundredths, the precision the code is written with, so that a
    // decoded size encodes to a code that decodes to the same size.
    whole = std::round(whole * 100) / 100;
    if (digits == 0 || whole <= 0 || whole > NFontSpec::kMaxPointSize) return false;
    size = whole;
    return true;
}

bool ParseStyles(std::wstring_view part, NFontSpec& spec)
{
    std::wstring s;
    for (wchar_t c : part)
        if (!NIsNumberSpace(c)) s.push_back(c);
    for (size_t i = 0; i < s.size();) {
        const wchar_t c = s[i++];
        switch (c) {
        case L'B': spec.weight = 700; break;
        case L'N': spec.weight = 400; break;
        case L'I': spec.italic = true; break;
        case L'U': spec.underline = true; break;
        case L'S': spec.strikeOut = true; break;
        case L'W': {
            uint32_t w = 0;
            size_t n = 0;
            while (n < 4 && i < s.size() && s[i] >= L'0' && s[i] <= L'9') {
                w = w * 10 + static_cast<uint32_t>(s[i++] - L'0');
                ++n;
            }
            if (n == 0 || w > 1000) return false;
            spec.weight = w;
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

}  // namespace

bool NDecodeFontCode(std::wstring_view code, NFontSpec& spec)
{
    std::vector<std::wstring_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t comma = code.find(L',', start);
        parts.push_back(code.substr(start, comma == std::wstring_view::npos ? std::wstring_view::npos : comma - start));
        if (comma == std::wstring_view::npos) break;
        start = comma + 1;
    }
    if (parts.size() < 2 || parts.size() > 3) return NFail(nerr::kInvalidData);

    NFontSpec result;
    const std::wstring_view face = Trim(parts[0]);
    if (face.empty() || face.size() > NFontSpec::kMaxFaceName) return NFail(nerr::kInvalidData);
    result.faceName.assign(face);
    if (!ParsePointSize(Trim(parts[1]), result.pointSize)) return NFail(nerr::kInvalidData);
    if (parts.size() == 3 && !ParseStyles(parts[2], result)) return NFail(nerr::kInvalidData);
    spec = std::move(result);
    return true;
}

std::wstring NEncodeFontCode(const NFontSpec& spec)
{
    std::wstring code = spec.faceName;
    code += L',';
    // Hundredths of a point, so that decoding and encoding again is stable.
    const double rounded = std::round(spec.pointSize * 100);
    const auto hundredths = rounded > 0 && rounded < 1e15 ? static_cast<uint64_t>(rounded) : 0;
    code += std::to_wstring(hundredths / 100);
    if (const auto frac = hundredths % 100; frac != 0) {
        code += L'.';
        code += static_cast<wchar_t>(L'0' + frac / 10);
        if (frac % 10 != 0) code += static_cast<wchar_t>(L'0' + frac % 10);
    }
    std::wstring styles;
    if (spec.italic) styles += L'I';
    if (spec.underline) styles += L'U';
    if (spec.strikeOut) styles += L'S';
    if (spec.weight == 700)
        styles += L'B';
    else if (spec.weight >= 1 && spec.weight <= 1000 && spec.weight != 400)
        styles += L'W' + std::to_wstring(spec.weight);
    if (!styles.empty()) code += L',' + styles;
    return code;
}
