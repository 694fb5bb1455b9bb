#include "foundation/NjNumberText.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace {
// "1e-07" -> "1e-7", "1e+21" -> "1e21": the exponent as short as JSON allows.
std::string_view TrimExponent(char* text, size_t length)
{
    std::string_view s(text, length);
    const size_t e = s.find('e');
    if (e == std::string_view::npos)
        return s;
    size_t w = e + 1;
    size_t r = e + 1;
    if (r < length && text[r] == '+')
        ++r;
    else if (r < length && text[r] == '-')
        text[w++] = text[r++];
    while (r + 1 < length && text[r] == '0')
        ++r;
    while (r < length)
        text[w++] = text[r++];
    return std::string_view(text, w);
}
}  // namespace

std::wstring NjNumberText(double value)
{
    if (std::isnan(value))
        return std::signbit(value) ? L"-Nan" : L"Nan";
    if (std::isinf(value))
        return std::signbit(value) ? L"-Inf" : L"Inf";
    // The plain form of the smallest subnormal needs 327 characters.
    char plain[400];
    char expo[64];
    const auto p = std::to_chars(plain, plain + sizeof plain, value, std::chars_format::fixed);
    const auto x = std::to_chars(expo, expo + sizeof expo, value, std::chars_format::scientific);
    std::string_view best;
    if (p.ec == std::errc() && x.ec == std::errc()) {
        const std::string_view ps(plain, static_cast<size_t>(p.ptr - plain));
        const std::string_view xs = TrimExponent(expo, static_cast<size_t>(x.ptr - expo));
        best = xs.size() < ps.size() ? xs : ps;
    } else if (x.ec == std::errc()) {
        best = TrimExponent(expo, static_cast<size_t>(x.ptr - expo));
    } else {
        best = std::string_view(plain, static_cast<size_t>(p.ptr - plain));
    }
    return std::wstring(best.begin(), best.end());
}
