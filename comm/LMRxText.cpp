#include "comm/LMRxText.h"

#include <cstdint>
#include <cstring>

#include "foundation/Utf.h"

namespace {

// True when every byte is 1-127: no zero byte to drop and nothing to repair.
bool IsPlainAscii(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    size_t i = 0;
    // Eight bytes at a time: a high bit set or a zero byte in any lane.
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        const uint64_t high = w & 0x8080808080808080ull;
        const uint64_t zero = (w - 0x0101010101010101ull) & ~w & 0x8080808080808080ull;
        if ((high | zero) != 0)
            return false;
    }
    for (; i < n; ++i) {
        if (p[i] == 0 || p[i] >= 0x80)
            return false;
    }
    return true;
}

std::string WithoutZeros(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        if (c != '\0')
            text.push_back(c);
    }
    return text;
}

}  // namespace

bool LMRxIsPlainText(std::string_view bytes) { return IsPlainAscii(bytes); }

void LMRxBytesToUtf8(std::string_view bytes, std::string& out)
{
    if (IsPlainAscii(bytes)) {
        out.assign(bytes.data(), bytes.size());
        return;
    }
    out = NWideToUtf8(NUtf8ToWide(WithoutZeros(bytes)));
}

void LMRxBytesToWide(std::string_view bytes, std::wstring& out)
{
    if (IsPlainAscii(bytes)) {
        out.resize(bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i)
            out[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
        return;
    }
    out = NUtf8ToWide(WithoutZeros(bytes));
}
