#include "comm/LMHexLine.h"

void LMFormatHexLine(const uint8_t* bytes, size_t count, size_t groupSize, std::string& out)
{
    static const char kHex[] = "0123456789ABCDEF";
    if (count > groupSize)
        count = groupSize;
    out.resize(groupSize * 3 + 1 + count);
    char* p = out.data();
    for (size_t i = 0; i < count; ++i) {
        *p++ = kHex[bytes[i] >> 4];
        *p++ = kHex[bytes[i] & 15];
        *p++ = ' ';
    }
    for (size_t i = count; i < groupSize; ++i) {
        *p++ = ' ';
        *p++ = ' ';
        *p++ = ' ';
    }
    *p++ = ':';
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[i];
        *p++ = (b >= 32 && b <= 126) ? static_cast<char>(b) : '.';
    }
}
