#include "app/LMImageStamp.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {
std::vector<uint8_t> ImageWithBlock(size_t before = 1000, size_t after = 500)
{
    std::vector<uint8_t> image(before);
    std::iota(image.begin(), image.end(), uint8_t{7});
    const std::vector<uint8_t> marker = lmstamp::Marker();
    image.insert(image.end(), marker.begin(), marker.end());
    image.insert(image.end(), lmstamp::kDigestSize, 0);
    for (size_t i = 0; i < after; ++i)
        image.push_back(static_cast<uint8_t>(i * 31));
    return image;
}
}  // namespace

TEST(LMImageStamp, StampedImageChecksValid)
{
    std::vector<uint8_t> image = ImageWithBlock();
    EXPECT_EQ(lmstamp::CheckImageStamp(image), lmstamp::EResult::kNotStamped);
    ASSERT_TRUE(lmstamp::ApplyImageStamp(image));
    EXPECT_EQ(lmstamp::CheckImageStamp(image), lmstamp::EResult::kValid);
    // Stamping again gives the same digest: the digest bytes do not count.
    std::vector<uint8_t> again = image;
    ASSERT_TRUE(lmstamp::ApplyImageStamp(again));
    EXPECT_EQ(again, image);
}

TEST(LMImageStamp, AnyFlippedByteIsAnAlteration)
{
    std::vector<uint8_t> image = ImageWithBlock();
    ASSERT_TRUE(lmstamp::ApplyImageStamp(image));
    const size_t digestAt = lmstamp::FindDigest(image);
    for (size_t at : {size_t{0}, size_t{999}, digestAt, digestAt + 31, image.size() - 1}) {
        std::vector<uint8_t> copy = image;
        copy[at] ^= 0x01;
        EXPECT_EQ(lmstamp::CheckImageStamp(copy), lmstamp::EResult::kAltered) << "byte " << at;
    }
    std::vector<uint8_t> longer = image;
    longer.push_back(0);
    EXPECT_EQ(lmstamp::CheckImageStamp(longer), lmstamp::EResult::kAltered);
}

TEST(LMImageStamp, MissingDoubledOrTruncatedBlockIsRefused)
{
    std::vector<uint8_t> none(4096, 0x90);
    EXPECT_EQ(lmstamp::CheckImageStamp(none), lmstamp::EResult::kNoBlock);
    EXPECT_FALSE(lmstamp::ApplyImageStamp(none));

    std::vector<uint8_t> twice = ImageWithBlock();
    const std::vector<uint8_t> second = ImageWithBlock(10, 10);
    twice.insert(twice.end(), second.begin(), second.end());
    EXPECT_EQ(lmstamp::CheckImageStamp(twice), lmstamp::EResult::kNoBlock);
    EXPECT_FALSE(lmstamp::ApplyImageStamp(twice));

    std::vector<uint8_t> cut = ImageWithBlock(100, 0);
    cut.resize(cut.size() - 1);  // digest one byte short
    EXPECT_EQ(lmstamp::CheckImageStamp(cut), lmstamp::EResult::kNoBlock);
    EXPECT_EQ(lmstamp::CheckImageStamp({}), lmstamp::EResult::kNoBlock);
}
