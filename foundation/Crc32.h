#pragma once
// CRC-32 of IEEE 802.3 (the zlib / PNG / Ethernet checksum): reflected polynomial
// 0xEDB88320, register preset to all ones and inverted at the end.
#include <cstddef>
#include <cstdint>

// Returns the CRC-32 of `size` bytes at `data`. To checksum data that arrives in
// pieces, pass the previous result as `crc`: NCrc32(b, nb, NCrc32(a, na)) equals the
// CRC of a followed by b. A null `data` with size 0 returns `crc` unchanged.
uint32_t NCrc32(const void* data, size_t size, uint32_t crc = 0);
