#pragma once
// SHA-256 (FIPS 180-4), for the integrity digest of firmware files.
#include <array>
#include <cstddef>
#include <cstdint>

class NSha256 {
public:
    using Digest = std::array<uint8_t, 32>;

    NSha256();
    void Update(const void* data, size_t size);
    // Completes the digest; the object then starts over as if new.
    Digest Final();

    static Digest Of(const void* data, size_t size);

private:
    void Block(const uint8_t* block);

    std::array<uint32_t, 8> m_state;
    std::array<uint8_t, 64> m_buffer;
    size_t m_buffered;
    uint64_t m_length;  // bytes hashed so far
};
