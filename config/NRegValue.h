#pragma once
// One registry value as read: type code, size and the data. The buffer is two
// bytes longer than the data and those bytes are zero, so string data is
// always terminated; it is wiped before it is freed or replaced, since values
// may hold anything a user typed.
#include <cstddef>
#include <cstdint>
#include <memory>

// Registry type codes (the platform's values).
namespace nreg {
constexpr uint32_t kNone = 0, kSz = 1, kExpandSz = 2, kBinary = 3, kDword = 4, kDwordBigEndian = 5, kMultiSz = 7;
// Access masks (the platform's values).
constexpr uint32_t kKeyCreateSubKey = 0x0004;
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWrite = 0x20006;
constexpr uint32_t kKeyReadWrite = kKeyRead | kKeyWrite;  // 0x2001F
}  // namespace nreg

class NRegValue {
public:
    NRegValue() = default;
    NRegValue(const NRegValue&) = delete;
    NRegValue& operator=(const NRegValue&) = delete;
    virtual ~NRegValue();

    uint32_t Type() const noexcept { return m_type; }
    uint32_t Size() const noexcept { return m_size; }
    // Null when Size() is 0; otherwise Size() + 2 bytes, the last two zero.
    const uint8_t* Data() const noexcept { return m_data.get(); }
    uint8_t* MutableData() noexcept { return m_data.get(); }

    // Discards the previous contents and makes room for size bytes (plus the
    // two zero bytes); false when the memory cannot be had.
    bool Allocate(uint32_t size);
    void SetType(uint32_t type) noexcept { m_type = type; }
    // Sets the data size after a read that filled less than was allocated.
    void SetSize(uint32_t size) noexcept;
    uint32_t Capacity() const noexcept { return m_capacity; }
    // Type and a copy of the bytes.
    bool Assign(uint32_t type, const void* data, uint32_t size);
    void Clear();

private:
    uint32_t m_type = nreg::kNone;
    uint32_t m_size = 0;
    uint32_t m_capacity = 0;  // allocated bytes minus the two terminating zeros
    std::unique_ptr<uint8_t[]> m_data;
};

// Overwrites memory so that the compiler cannot drop the stores as dead.
void NWipeMemory(void* data, size_t size) noexcept;
