#include "foundation/Base64.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

#include <gtest/gtest.h>

#include <random>

namespace {
std::string Enc(std::string_view s) { return NBase64Encode(s.data(), s.size()); }
std::string Dec(std::string_view s)
{
    std::vector<uint8_t> out;
    EXPECT_TRUE(NBase64Decode(s, out)) << s;
    return std::string(out.begin(), out.end());
}
}  // namespace

TEST(Base64, Rfc4648Vectors)
{
    const std::pair<const char*, const char*> vectors[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},  {"foob", "Zm9vYg=="},  {"fooba", "Zm9vYmE="},
                                                           {"foobar", "Zm9vYmFy"}};
    for (auto [plain, coded] : vectors) {
        EXPECT_EQ(Enc(plain), coded);
        EXPECT_EQ(Dec(coded), plain);
    }
    const std::string all = "\xFB\xFF\xBF";
    EXPECT_EQ(Enc(all), "+/+/");
}

TEST(Base64, FirmwareChunkIsEightyEightCharacters)
{
    std::string chunk(64, '\xFF');
    EXPECT_EQ(Enc(chunk).size(), 88u);
}

TEST(Base64, DecodingRefusesAnythingEncodingWouldNotWrite)
{
    for (const char* bad : {"Zg=", "Zg", "Z", "Zm9v\n", " Zm9v", "Zm9v====", "Z===", "Zg==Zg==", "Zm=v", "Zh==",
                            "Zm9=", "Zm-v", "Zm_v"}) {
        std::vector<uint8_t> out{1, 2, 3};
        NSetLastError(0);
        EXPECT_FALSE(NBase64Decode(bad, out)) << bad;
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(NGetLastError(), nerr::kInvalidData);
    }
    std::vector<uint8_t> out;
    EXPECT_FALSE(NBase64Decode(std::string_view("Zm9\0", 4), out));
}

TEST(Base64, RandomDataRoundTrips)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> data(rng() % 70);
        for (auto& b : data) b = static_cast<uint8_t>(rng());
        const std::string text = NBase64Encode(data.data(), data.size());
        EXPECT_EQ(text.size() % 4, 0u);
        std::vector<uint8_t> back;
        ASSERT_TRUE(NBase64Decode(text, back));
        ASSERT_EQ(back, data);
    }
}
