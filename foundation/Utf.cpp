#include "foundation/Utf.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::wstring& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<wchar_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::wstring NUtf8ToWide(std::string_view utf8)
{
    std::wstring out;
    out.reserve(utf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t n = utf8.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char lead = p[i++];
        if (lead < 0x80) {
            out.push_back(static_cast<wchar_t>(lead));
            continue;
        }
        size_t len;
        char32_t cp;
        if (lead >= 0xC2 && lead <= 0xDF) {
            len = 1;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            len = 2;
            cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            len = 3;
            cp = lead & 0x07;
        } else {
            AppendUtf16(out, kReplacement);
            continue;
        }
        // The platform gives one U+FFFD for a sequence that the end of the
        // input cuts short, whatever its bytes.
        if (n - i < len) {
            AppendUtf16(out, kReplacement);
            break;
        }
        // Otherwise bytes are taken while they can still continue a valid
        // sequence; the byte that shows an overlong form or a surrogate is taken
        // with the failure, the one that shows a value past U+10FFFF is not.
        // This mirrors the platform byte for byte, including where it differs
        // from the "maximal subpart" rule.
        bool ok = false;
        unsigned c;
        switch (len) {
        case 3:
            if ((c = p[i] ^ 0x80u) >= 0x40) break;
            cp = (cp << 6) | c;
            ++i;
            if (cp < 0x10) break;
            [[fallthrough]];
        case 2:
            if ((c = p[i] ^ 0x80u) >= 0x40) break;
            cp = (cp << 6) | c;
            if (cp >= (0x110000 >> 6)) break;
            ++i;
            if (cp < 0x20) break;
            if (cp >= (0xD800 >> 6) && cp <= (0xDFFF >> 6)) break;
            [[fallthrough]];
        case 1:
            if ((c = p[i] ^ 0x80u) >= 0x40) break;
            cp = (cp << 6) | c;
            ++i;
            ok = cp >= 0x80;
            break;
        }
        AppendUtf16(out, ok ? cp : kReplacement);
    }
    return out;
}

std::string NWideToUtf8(std::wstring_view wide)
{
    std::string out;
    out.reserve(wide.size());
    const size_t n = wide.size();
    for (size_t i = 0; i < n; ++i) {
        const auto u = static_cast<uint32_t>(wide[i]);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n) {
            const auto u2 = static_cast<uint32_t>(wide[i + 1]);
            if (u2 >= 0xDC00 && u2 <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (u2 - 0xDC00));
                ++i;
                continue;
            }
        }
        if ((u >= 0xD800 && u <= 0xDFFF) || u > 0xFFFF)
            AppendUtf8(out, kReplacement);
        else
            AppendUtf8(out, u);
    }
    return out;
}
