#pragma once
// Test double: a random source that replays a byte sequence (cycling), or fails.
#include "foundation/ErrorCodes.h"
#include "foundation/INRandomSource.h"
#include "foundation/LastError.h"

#include <cstdint>
#include <vector>

class FakeRandom : public INRandomSource {
public:
    explicit FakeRandom(std::vector<uint8_t> bytes, bool fail = false) : m_bytes(std::move(bytes)), m_fail(fail) {}
    bool GetBytes(void* buffer, size_t size) override
    {
        if (m_fail || m_bytes.empty()) {
            NSetLastError(nerr::kInvalidParameter);
            return false;
        }
        auto* out = static_cast<uint8_t*>(buffer);
        for (size_t i = 0; i < size; ++i)
            out[i] = m_bytes[m_pos++ % m_bytes.size()];
        return true;
    }
    size_t m_pos = 0;

private:
    std::vector<uint8_t> m_bytes;
    bool m_fail;
};
