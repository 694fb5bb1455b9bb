#pragma once
// The integrity stamp of the program's executable file. The image holds one
// stamp block: a 16-byte marker followed by a 32-byte SHA-256 digest of the
// whole file as it is with the digest bytes zeroed. After linking, the build
// writes the digest (ApplyImageStamp); at start-up the program checks it
// (CheckImageStamp), so any change to the file after the build shows.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lmstamp {
constexpr size_t kMarkerSize = 16;
constexpr size_t kDigestSize = 32;
constexpr size_t kBlockSize = kMarkerSize + kDigestSize;

enum class EResult {
    kValid,       // the digest matches
    kAltered,     // a digest is there and does not match
    kNotStamped,  // the digest bytes are still all zero
    kNoBlock,     // no stamp block, or more than one
};

// The marker bytes. Kept out of the image except in the stamp block itself,
// so that searching the file finds exactly one.
std::vector<uint8_t> Marker();

// Offset of the digest in image, or SIZE_MAX when the file does not hold
// exactly one marker.
size_t FindDigest(const std::vector<uint8_t>& image);

EResult CheckImageStamp(const std::vector<uint8_t>& image);

// Writes the digest into image; false when it holds no single stamp block.
bool ApplyImageStamp(std::vector<uint8_t>& image);
}  // namespace lmstamp
