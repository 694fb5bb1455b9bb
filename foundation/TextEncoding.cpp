#include "foundation/TextEncoding.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/Utf.h"

namespace {

// Complete sequences only, with the continuation count the lead byte
// announces; the old five- and six-byte forms count too. Stray continuation
// bytes, 0xFE/0xFF and a sequence cut off at the end mean "not UTF-8".
bool IsUtf8Shaped(const unsigned char* p, size_t n)
{
    size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i++];
        if (c < 0x80) continue;
        size_t follow;
        if ((c & 0xE0) == 0xC0)
            follow = 1;
        else if ((c & 0xF0) == 0xE0)
            follow = 2;
        else if ((c & 0xF8) == 0xF0)
            follow = 3;
        else if ((c & 0xFC) == 0xF8)
            follow = 4;
        else if ((c & 0xFE) == 0xFC)
            follow = 5;
        else
            return false;
        if (n - i < follow) return false;
        for (size_t k = 0; k < follow; ++k)
            if ((p[i++] & 0xC0) != 0x80) return false;
    }
    return true;
}

struct UnitCounts {
    uint32_t zero = 0, ascii = 0, high8 = 0, low12 = 0, bom = 0, other = 0;
    uint64_t sum = 0;

    void Add(uint16_t u)
    {
        sum += u;
        if (u == 0)
            ++zero;
        else if (u < 128)
            ++ascii;
        else if (u < 256)
            ++high8;
        else if (u < 4096)
            ++low12;
        else if (u == 0xFEFF)
            ++bom;
        else
            ++other;
    }
};

NTextEncoding DetectUtf16(const unsigned char* p, size_t n)
{
    if (n % 2 != 0) return NTextEncoding::NotText;
    UnitCounts le, be;
    for (size_t i = 0; i < n; i += 2) {
        le.Add(static_cast<uint16_t>(p[i] | (p[i + 1] << 8)));
        be.Add(static_cast<uint16_t>((p[i] << 8) | p[i + 1]));
    }
    if (le.zero != 0 || be.zero != 0) return NTextEncoding::NotText;
    if (le.bom != 0) return be.bom != 0 ? NTextEncoding::NotText : NTextEncoding::Utf16LE;
    if (be.bom != 0) return NTextEncoding::Utf16BE;
    if (le.ascii != be.ascii) return le.ascii > be.ascii ? NTextEncoding::Utf16LE : NTextEncoding::Utf16BE;
    if (le.high8 != be.high8) return le.high8 > be.high8 ? NTextEncoding::Utf16LE : NTextEncoding::Utf16BE;
    if (le.low12 != be.low12) return le.low12 > be.low12 ? NTextEncoding::Utf16LE : NTextEncoding::Utf16BE;
    if (le.sum != be.sum) return le.sum < be.sum ? NTextEncoding::Utf16LE : NTextEncoding::Utf16BE;
    return NTextEncoding::NotText;
}

std::wstring DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian)
{
    std::wstring out;
    out.reserve(n / 2);
    for (size_t i = 0; i + 1 < n; i += 2) {
        const unsigned u = bigEndian ? (p[i] << 8) | p[i + 1] : p[i] | (p[i + 1] << 8);
        out.push_back(static_cast<wchar_t>(u));
    }
    return out;
}

}  // namespace

NTextEncoding NDetectTextEncoding(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    if (n == 0) return NTextEncoding::NotText;
    bool hasZero = false, hasHigh = false;
    for (size_t i = 0; i < n; ++i) {
        hasZero |= p[i] == 0;
        hasHigh |= p[i] >= 0x80;
    }
    // A UTF-16 text of characters above U+00FF only (Japanese, say) has no
    // zero byte; its byte-order mark still says what it is. FF and FE are never
    // part of UTF-8, and an ANSI text starting with the two letters they stand
    // for is far less likely than such a file.
    const bool utf16Bom = n >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF));
    if (hasZero || utf16Bom) return DetectUtf16(p, n);
    if (!hasHigh) return NTextEncoding::SevenBit;
    return IsUtf8Shaped(p, n) ? NTextEncoding::Utf8 : NTextEncoding::Ansi;
}

std::wstring NDecodeTextAs(std::string_view bytes, NTextEncoding encoding, const NAnsiDecoder& ansi)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    switch (encoding) {
    case NTextEncoding::SevenBit:
    case NTextEncoding::Ansi:
        return ansi ? ansi(bytes) : std::wstring();
    case NTextEncoding::Utf8:
        return NUtf8ToWide(bytes);
    case NTextEncoding::Utf16LE:
        return DecodeUtf16(p, bytes.size(), false);
    case NTextEncoding::Utf16BE:
        return DecodeUtf16(p, bytes.size(), true);
    case NTextEncoding::NotText:
        break;
    }
    return {};
}

bool NDecodeText(std::string_view bytes, const NAnsiDecoder& ansi, std::wstring& text, NTextEncoding* encoding)
{
    text.clear();
    const NTextEncoding found = NDetectTextEncoding(bytes);
    if (encoding) *encoding = found;
    if (found == NTextEncoding::NotText) return NFail(nerr::kInvalidData);
    text = NDecodeTextAs(bytes, found, ansi);
    return true;
}

const char* NTextEncodingName(NTextEncoding encoding)
{
    switch (encoding) {
    case NTextEncoding::SevenBit: return "7-bit";
    case NTextEncoding::Ansi: return "ANSI";
    case NTextEncoding::Utf8: return "UTF-8";
    case NTextEncoding::Utf16LE: return "UTF-16LE";
    case NTextEncoding::Utf16BE: return "UTF-16BE";
    case NTextEncoding::NotText: break;
    }
    return "not text";
}
