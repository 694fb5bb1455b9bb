#include "comm/LMRequestCodes.h"

std::string LMRequestCodeText(uint32_t code)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto b = static_cast<uint8_t>(code >> shift);
        if (b >= 32 && b <= 126) {
            text.push_back(static_cast<char>(b));
        } else {
            text += "\\x";
            text.push_back(kHex[b >> 4]);
            text.push_back(kHex[b & 15]);
        }
    }
    return text;
}
