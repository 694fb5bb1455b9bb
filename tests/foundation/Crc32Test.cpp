#include "foundation/Crc32.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Bit-at-a-time reference, independent of the table code under test.
uint32_t ReferenceCrc(const unsigned char* p, size_t n)
{
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    }
    return ~c;
}

TEST(Crc32, KnownVectors)
{
    EXPECT_EQ(NCrc32("", 0), 0u);
    EXPECT_EQ(NCrc32(nullptr, 0), 0u);
    EXPECT_EQ(NCrc32("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(NCrc32("a", 1), 0xE8B7BE43u);
    const char* fox = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(NCrc32(fox, std::strlen(fox)), 0x414FA339u);
    const unsigned char zeros[32] = {};
    EXPECT_EQ(NCrc32(zeros, 32), 0x190A55ADu);
}

TEST(Crc32, ContinuationEqualsWholeAtEverySplitAndAlignment)
{
    std::vector<unsigned char> data(301);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i * 131u + 7u);
    // Odd starting offsets exercise unaligned 8-byte loads; every length exercises the tail loop.
    for (size_t start = 0; start < 9; ++start) {
        for (size_t len = 0; start + len <= data.size(); len += 7) {
            const uint32_t whole = NCrc32(data.data() + start, len);
            ASSERT_EQ(whole, ReferenceCrc(data.data() + start, len)) << start << "/" << len;
            for (size_t cut = 0; cut <= len; cut += 5) {
                const uint32_t first = NCrc32(data.data() + start, cut);
                ASSERT_EQ(NCrc32(data.data() + start + cut, len - cut, first), whole);
            }
        }
    }
}

TEST(Crc32, EmptyPieceLeavesRunningValue)
{
    const uint32_t c = NCrc32("abc", 3);
    EXPECT_EQ(NCrc32(nullptr, 0, c), c);
    EXPECT_EQ(NCrc32("x", 0, c), c);
}

}  // namespace
