#include "config/NRegValue.h"

#include <cstring>
#include <new>

void NWipeMemory(void* data, size_t size) noexcept
{
    volatile uint8_t* p = static_cast<volatile uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) p[i] = 0;
}

NRegValue::~NRegValue() { Clear(); }

void NRegValue::Clear()
{
    if (m_data) NWipeMemory(m_data.get(), static_cast<size_t>(m_capacity) + 2);
    m_data.reset();
    m_type = nreg::kNone;
    m_size = 0;
    m_capacity = 0;
}

bool NRegValue::Allocate(uint32_t size)
{
    const uint32_t type = m_type;
    Clear();
    m_type = type;
    if (size == 0) return true;
    if (size > 0xFFFFFFFFu - 2) return false;
    m_data.reset(new (std::nothrow) uint8_t[static_cast<size_t>(size) + 2]);
    if (!m_data) return false;
    std::memset(m_data.get(), 0, static_cast<size_t>(size) + 2);
    m_capacity = size;
    m_size = size;
    return true;
}

void NRegValue::SetSize(uint32_t size) noexcept
{
    if (size > m_capacity) size = m_capacity;
    if (m_data) {
        // Everything past the data reads as zero, so strings stay terminated.
        NWipeMemory(m_data.get() + size, static_cast<size_t>(m_capacity - size) + 2);
    }
    m_size = size;
    if (m_size == 0 && m_data) {
        m_data.reset();
        m_capacity = 0;
    }
}

bool NRegValue::Assign(uint32_t type, const void* data, uint32_t size)
{
    if (!Allocate(size)) return false;
    m_type = type;
    if (size != 0) std::memcpy(m_data.get(), data, size);
    return true;
}
