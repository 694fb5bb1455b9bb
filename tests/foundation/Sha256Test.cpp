#include "foundation/Sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Hex(const NSha256::Digest& d)
{
    static const char* x = "0123456789abcdef";
    std::string s;
    for (uint8_t b : d) {
        s += x[b >> 4];
        s += x[b & 15];
    }
    return s;
}
std::string Of(std::string_view s) { return Hex(NSha256::Of(s.data(), s.size())); }
}  // namespace

TEST(Sha256, Fips180Vectors)
{
    EXPECT_EQ(Of(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Of("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Hex(NSha256::Of(nullptr, 0)), Of(""));
}

TEST(Sha256, MillionAsInUnevenPieces)
{
    NSha256 h;
    const std::string piece(997, 'a');
    size_t left = 1000000;
    while (left > 0) {
        const size_t n = left < piece.size() ? left : piece.size();
        h.Update(piece.data(), n);
        left -= n;
    }
    EXPECT_EQ(Hex(h.Final()), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, PaddingBoundariesAgreeByteByByteAndWhole)
{
    // 55, 56 and 64 bytes are where the length no longer fits the last block.
    for (size_t len : {0u, 1u, 55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u}) {
        const std::string data(len, 'x');
        NSha256 h;
        for (char c : data) h.Update(&c, 1);
        EXPECT_EQ(Hex(h.Final()), Of(data)) << len;
    }
    EXPECT_EQ(Of(std::string(56, 'a')), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
}

TEST(Sha256, FinalStartsOver)
{
    NSha256 h;
    h.Update("junk", 4);
    h.Final();
    h.Update("abc", 3);
    EXPECT_EQ(Hex(h.Final()), Of("abc"));
}
