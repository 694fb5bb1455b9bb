#pragma once
// Standard Base64 (RFC 4648 alphabet "A-Za-z0-9+/", "=" padding), as the
// firmware update sends its chunks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

std::string NBase64Encode(const void* data, size_t size);

// Strict: the length must be a multiple of 4, "=" may only end the text (at
// most two), no white space or other characters, and the bits that padding
// leaves over must be zero, so every accepted text is the one NBase64Encode
// writes. On failure returns false with nerr::kInvalidData and clears `out`.
bool NBase64Decode(std::string_view text, std::vector<uint8_t>& out);
