#pragma once
// Hash key of the foundation's hash tables: a run of bytes with its CRC-32.
// Keys made from text hold the text's UTF-16 code units as little-endian bytes
// (no terminator), so a key hashes the same on every platform and keys are
// case-sensitive. Short keys (most member names) live inline, without a heap block.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class NHTKey {
public:
    static constexpr size_t kInlineBytes = 10;

    NHTKey() noexcept;
    explicit NHTKey(std::wstring_view text);
    NHTKey(const void* bytes, size_t size);
    NHTKey(const NHTKey& other);
    NHTKey(NHTKey&& other) noexcept;
    NHTKey& operator=(const NHTKey& other);
    NHTKey& operator=(NHTKey&& other) noexcept;
    ~NHTKey();

    // False only when the heap block for a long key could not be had; such a key is
    // empty and tables refuse it.
    bool IsValid() const noexcept { return !m_bad; }
    size_t Size() const noexcept { return m_size; }
    uint32_t Hash() const noexcept { return m_hash; }
    const uint8_t* Data() const noexcept { return IsInline() ? m_inline : m_heap; }

    // The key's bytes read back as UTF-16 code units (an odd last byte is dropped).
    std::wstring ToWide() const;

    bool operator==(const NHTKey& other) const noexcept;
    bool operator!=(const NHTKey& other) const noexcept { return !(*this == other); }

private:
    bool IsInline() const noexcept { return m_size <= kInlineBytes; }
    void Assign(const uint8_t* bytes, size_t size, uint32_t hash);
    void Free() noexcept;

    size_t m_size = 0;
    uint32_t m_hash = 0;
    bool m_bad = false;
    union {
        uint8_t m_inline[kInlineBytes + 2];
        uint8_t* m_heap;
    };
};
