#include "foundation/Crc32.h"

#include <array>

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;

// Slice-by-8 tables: table[0] is the classic byte table; table[k][b] is the CRC of byte b
// followed by k zero bytes, so eight bytes can be folded in with eight lookups and no
// dependency chain between them. Built at compile time: no start-up race between threads.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables MakeTables()
{
    Tables t{};
    for (uint32_t b = 0; b < 256; ++b) {
        uint32_t c = b;
        for (int i = 0; i < 8; ++i)
            c = (c & 1u) ? (c >> 1) ^ kPolynomial : (c >> 1);
        t[0][b] = c;
    }
    for (uint32_t b = 0; b < 256; ++b)
        for (size_t k = 1; k < 8; ++k)
            t[k][b] = (t[k - 1][b] >> 8) ^ t[0][t[k - 1][b] & 0xFFu];
    return t;
}

constexpr Tables kTables = MakeTables();

inline uint32_t Load32LE(const unsigned char* p)
{
    // Byte-wise assembly: alignment-free and independent of the host byte order.
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

uint32_t NCrc32(const void* data, size_t size, uint32_t crc)
{
    if (data == nullptr || size == 0)
        return crc;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    uint32_t c = ~crc;
    while (size >= 8) {
        const uint32_t lo = Load32LE(p) ^ c;
        const uint32_t hi = Load32LE(p + 4);
        c = kTables[7][lo & 0xFFu] ^ kTables[6][(lo >> 8) & 0xFFu] ^ kTables[5][(lo >> 16) & 0xFFu] ^
            kTables[4][lo >> 24] ^ kTables[3][hi & 0xFFu] ^ kTables[2][(hi >> 8) & 0xFFu] ^
            kTables[1][(hi >> 16) & 0xFFu] ^ kTables[0][hi >> 24];
        p += 8;
        size -= 8;
    }
    while (size-- > 0)
        c = (c >> 8) ^ kTables[0][(c ^ *p++) & 0xFFu];
    return ~c;
}
