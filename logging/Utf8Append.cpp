#include "logging/Utf8Append.h"

#include <cstdint>

void NAssignUtf8(std::string& out, std::wstring_view wide)
{
    out.clear();
    size_t i = 0;
    const size_t n = wide.size();
    // Most lines are ASCII: copy them in one go.
    while (i < n && static_cast<uint32_t>(wide[i]) < 0x80)
        ++i;
    if (i == n) {
        out.resize(n);
        for (size_t k = 0; k < n; ++k)
            out[k] = static_cast<char>(wide[k]);
        return;
    }
    out.reserve(n * 3);
    for (size_t k = 0; k < i; ++k)
        out.push_back(static_cast<char>(wide[k]));
    for (; i < n; ++i) {
        uint32_t c = static_cast<uint32_t>(wide[i]);
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n) {
            uint32_t d = static_cast<uint32_t>(wide[i + 1]);
            if (d >= 0xDC00 && d <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
                ++i;
            } else {
                c = 0xFFFD;
            }
        } else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0xFFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | c >> 6));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | c >> 12));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | c >> 18));
            out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}
