#include "foundation/NHTKey.h"

#include "foundation/Crc32.h"

#include <cstring>
#include <new>
#include <vector>

NHTKey::NHTKey() noexcept : m_inline{} {}

NHTKey::NHTKey(std::wstring_view text) : m_inline{}
{
    const size_t size = text.size() * 2;
    uint8_t small[kInlineBytes];
    std::vector<uint8_t> big;
    uint8_t* bytes = small;
    if (size > kInlineBytes) {
        big.resize(size);
        bytes = big.data();
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t unit = static_cast<uint32_t>(text[i]) & 0xFFFFu;
        bytes[2 * i] = static_cast<uint8_t>(unit);
        bytes[2 * i + 1] = static_cast<uint8_t>(unit >> 8);
    }
    Assign(bytes, size, NCrc32(bytes, size));
}

NHTKey::NHTKey(const void* bytes, size_t size) : m_inline{}
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    if (p == nullptr)
        size = 0;
    Assign(p, size, NCrc32(p, size));
}

NHTKey::NHTKey(const NHTKey& other) : m_inline{}
{
    m_bad = other.m_bad;
    Assign(other.Data(), other.m_size, other.m_hash);
}

NHTKey::NHTKey(NHTKey&& other) noexcept : m_inline{}
{
    *this = std::move(other);
}

NHTKey& NHTKey::operator=(const NHTKey& other)
{
    if (this != &other) {
        NHTKey copy(other);
        *this = std::move(copy);
    }
    return *this;
}

NHTKey& NHTKey::operator=(NHTKey&& other) noexcept
{
    if (this == &other)
        return *this;
    Free();
    m_size = other.m_size;
    m_hash = other.m_hash;
    m_bad = other.m_bad;
    if (other.IsInline())
        std::memcpy(m_inline, other.m_inline, sizeof m_inline);
    else
        m_heap = other.m_heap;
    other.m_size = 0;
    other.m_hash = 0;
    other.m_bad = false;
    std::memset(other.m_inline, 0, sizeof other.m_inline);
    return *this;
}

NHTKey::~NHTKey()
{
    Free();
}

void NHTKey::Free() noexcept
{
    if (!IsInline())
        delete[] m_heap;
    m_size = 0;
    std::memset(m_inline, 0, sizeof m_inline);
}

void NHTKey::Assign(const uint8_t* bytes, size_t size, uint32_t hash)
{
    if (size <= kInlineBytes) {
        std::memset(m_inline, 0, sizeof m_inline);
        if (size > 0)
            std::memcpy(m_inline, bytes, size);
    } else {
        // Two zero bytes after the data: the bytes of a text key then also read as a
        // terminated UTF-16 string.
        uint8_t* heap = new (std::nothrow) uint8_t[size + 2];
        if (heap == nullptr) {
            m_bad = true;
            m_size = 0;
            m_hash = 0;
            std::memset(m_inline, 0, sizeof m_inline);
            return;
        }
        std::memcpy(heap, bytes, size);
        heap[size] = 0;
        heap[size + 1] = 0;
        m_heap = heap;
    }
    m_size = size;
    m_hash = hash;
}

std::wstring NHTKey::ToWide() const
{
    const uint8_t* p = Data();
    std::wstring text(m_size / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(p[2 * i] | (p[2 * i + 1] << 8));
    return text;
}

bool NHTKey::operator==(const NHTKey& other) const noexcept
{
    return m_size == other.m_size && m_hash == other.m_hash && m_bad == other.m_bad &&
           (m_size == 0 || std::memcmp(Data(), other.Data(), m_size) == 0);
}
