// Encoding detection and the UTF conversions on arbitrary bytes.
// Invariants: detection is total and decoding agrees with it; repaired UTF-8
// is well formed, so UTF-8 -> UTF-16 -> UTF-8 -> UTF-16 is stable after the
// first trip; UTF-16 text survives a trip through UTF-8 unless it held lone
// surrogates; a UTF-16 decoding reproduces the input bytes exactly.
#include "foundation/TextEncoding.h"
#include "foundation/Utf.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
std::wstring Latin1(std::string_view bytes)
{
    std::wstring w;
    for (unsigned char c : bytes) w.push_back(static_cast<wchar_t>(c));
    return w;
}

void Check(bool ok)
{
    if (!ok) std::abort();
}

bool HasLoneSurrogate(const std::wstring& w)
{
    for (size_t i = 0; i < w.size(); ++i) {
        const auto u = static_cast<uint32_t>(w[i]);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < w.size() && static_cast<uint32_t>(w[i + 1]) >= 0xDC00 &&
                static_cast<uint32_t>(w[i + 1]) <= 0xDFFF) {
                ++i;
                continue;
            }
            return true;
        }
        if (u >= 0xDC00 && u <= 0xDFFF) return true;
    }
    return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const NTextEncoding enc = NDetectTextEncoding(bytes);
    std::wstring text;
    NTextEncoding seen{};
    const bool ok = NDecodeText(bytes, Latin1, text, &seen);
    Check(seen == enc);
    Check(ok == (enc != NTextEncoding::NotText));
    if (enc == NTextEncoding::SevenBit || enc == NTextEncoding::Ansi) Check(text.size() == size);
    if (enc == NTextEncoding::Utf16LE || enc == NTextEncoding::Utf16BE) {
        Check(text.size() * 2 == size);
        for (size_t i = 0; i < text.size(); ++i) {
            const auto u = static_cast<uint32_t>(text[i]);
            const uint32_t lo = enc == NTextEncoding::Utf16LE ? data[2 * i] : data[2 * i + 1];
            const uint32_t hi = enc == NTextEncoding::Utf16LE ? data[2 * i + 1] : data[2 * i];
            Check(u == (lo | (hi << 8)));
        }
    }

    const std::wstring wide = NUtf8ToWide(bytes);
    for (wchar_t c : wide) Check(static_cast<uint32_t>(c) <= 0xFFFF);
    Check(!HasLoneSurrogate(wide));
    const std::string utf8 = NWideToUtf8(wide);
    Check(NUtf8ToWide(utf8) == wide);
    Check(NWideToUtf8(NUtf8ToWide(utf8)) == utf8);
    if (enc == NTextEncoding::SevenBit) Check(utf8 == bytes);

    // The same bytes as UTF-16 code units.
    std::wstring units;
    for (size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    const std::wstring back = NUtf8ToWide(NWideToUtf8(units));
    if (!HasLoneSurrogate(units)) Check(back == units);
    Check(back.size() <= units.size() * 2 + 1);
    return 0;
}
