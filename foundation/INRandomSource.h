#pragma once
// A source of random bytes. The program's one is NRandomCrypto (platform
// cryptographic provider); portable code takes this interface so that tests
// can hand in a predictable sequence.
#include <cstddef>
#include <cstdint>

class INRandomSource {
public:
    virtual ~INRandomSource() = default;
    // Fills buffer completely, or returns false with the last error set.
    virtual bool GetBytes(void* buffer, size_t size) = 0;

    // One byte; 0 when the source fails.
    uint8_t NextByte()
    {
        uint8_t b = 0;
        return GetBytes(&b, 1) ? b : 0;
    }
    uint32_t NextUInt32()
    {
        uint32_t v = 0;
        return GetBytes(&v, sizeof v) ? v : 0;
    }
};
