#include "config/RegText.h"

void NAppendUtf16Bytes(std::wstring_view text, std::vector<uint8_t>& out)
{
    out.reserve(out.size() + text.size() * 2);
    for (wchar_t c : text) {
        const auto unit = static_cast<uint16_t>(static_cast<uint32_t>(c) > 0xFFFF ? 0xFFFD : c);
        out.push_back(static_cast<uint8_t>(unit & 0xFF));
        out.push_back(static_cast<uint8_t>(unit >> 8));
    }
}

std::vector<uint8_t> NEncodeRegSz(std::wstring_view text)
{
    std::vector<uint8_t> out;
    NAppendUtf16Bytes(text, out);
    out.push_back(0);
    out.push_back(0);
    return out;
}

namespace {
wchar_t UnitAt(const uint8_t* data, size_t i)
{
    return static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
}
}  // namespace

std::wstring NDecodeRegSz(const uint8_t* data, size_t size)
{
    std::wstring out;
    if (data == nullptr) return out;
    const size_t units = size / 2;
    for (size_t i = 0; i < units; ++i) {
        const wchar_t c = UnitAt(data, i);
        if (c == 0) break;
        out.push_back(c);
    }
    return out;
}

std::vector<uint8_t> NEncodeRegMultiSz(const NSTRList& list)
{
    std::vector<uint8_t> out;
    for (const std::wstring& s : list) {
        NAppendUtf16Bytes(s, out);
        out.push_back(0);
        out.push_back(0);
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

NSTRList NDecodeRegMultiSz(const uint8_t* data, size_t size)
{
    NSTRList out;
    if (data == nullptr) return out;
    size_t units = size / 2;
    while (units > 0 && UnitAt(data, units - 1) == 0) --units;
    if (units == 0) return out;
    std::wstring current;
    for (size_t i = 0; i < units; ++i) {
        const wchar_t c = UnitAt(data, i);
        if (c == 0) {
            out.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    out.push_back(std::move(current));
    return out;
}
