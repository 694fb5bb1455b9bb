#include "app/LMImageStamp.h"

#include <algorithm>
#include <cstring>

#include "foundation/Sha256.h"

namespace lmstamp {
namespace {
// The marker, each byte XOR 0x5A: the plain bytes must appear in the file only
// in the stamp block, never in the code that looks for it.
constexpr uint8_t kMaskedMarker[kMarkerSize] = {0x16, 0x2F, 0x37, 0x38, 0x28, 0x3B, 0x09, 0x2E,
                                                0x3B, 0x37, 0x2A, 0x7A, 0x6B, 0x5B, 0x6D, 0x7B};
constexpr uint8_t kMask = 0x5A;

NSha256::Digest DigestWithZeroedStamp(const std::vector<uint8_t>& image, size_t at)
{
    static const uint8_t zeros[kDigestSize] = {};
    NSha256 sha;
    sha.Update(image.data(), at);
    sha.Update(zeros, kDigestSize);
    sha.Update(image.data() + at + kDigestSize, image.size() - at - kDigestSize);
    return sha.Final();
}
}  // namespace

std::vector<uint8_t> Marker()
{
    std::vector<uint8_t> marker(kMarkerSize);
    for (size_t i = 0; i < kMarkerSize; ++i)
        marker[i] = static_cast<uint8_t>(kMaskedMarker[i] ^ kMask);
    return marker;
}

size_t FindDigest(const std::vector<uint8_t>& image)
{
    const std::vector<uint8_t> marker = Marker();
    size_t found = SIZE_MAX;
    auto from = image.begin();
    for (;;) {
        auto hit = std::search(from, image.end(), marker.begin(), marker.end());
        if (hit == image.end())
            break;
        if (found != SIZE_MAX)
            return SIZE_MAX;
        found = static_cast<size_t>(hit - image.begin()) + kMarkerSize;
        from = hit + 1;
    }
    if (found == SIZE_MAX || image.size() - found < kDigestSize)
        return SIZE_MAX;
    return found;
}

EResult CheckImageStamp(const std::vector<uint8_t>& image)
{
    const size_t at = FindDigest(image);
    if (at == SIZE_MAX)
        return EResult::kNoBlock;
    const uint8_t* stored = image.data() + at;
    if (std::all_of(stored, stored + kDigestSize, [](uint8_t b) { return b == 0; }))
        return EResult::kNotStamped;
    const NSha256::Digest digest = DigestWithZeroedStamp(image, at);
    return std::memcmp(digest.data(), stored, kDigestSize) == 0 ? EResult::kValid : EResult::kAltered;
}

bool ApplyImageStamp(std::vector<uint8_t>& image)
{
    const size_t at = FindDigest(image);
    if (at == SIZE_MAX)
        return false;
    const NSha256::Digest digest = DigestWithZeroedStamp(image, at);
    std::memcpy(image.data() + at, digest.data(), kDigestSize);
    return true;
}
}  // namespace lmstamp
