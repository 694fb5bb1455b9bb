#include "config/NPSEntry.h"

#include "foundation/ErrorCodes.h"

NPSEntry::~NPSEntry() = default;

bool NPSEntry::IsModified() const { return CurrentCrc() != m_checksum; }

void NPSEntry::SetModified(bool modified)
{
    const uint32_t crc = CurrentCrc();
    m_checksum = modified ? ~crc : crc;
}

bool NPSEntry::Load(INRegKey& key, bool required)
{
    NRegValue value;
    if (key.QueryValue(m_name, value) && Accept(value)) {
        m_checksum = CurrentCrc();
        m_inRegistry = 1;
        return true;
    }
    m_inRegistry = 0;
    return !required;
}

bool NPSEntry::Save(INRegKey& key, bool force)
{
    if (!force && m_inRegistry && !IsModified()) return true;
    if (!key.IsOpen()) {
        key.SetLastError(nerr::kInvalidHandle);
        return false;
    }
    // Taken before the bytes: should another thread change a number meanwhile,
    // the checksum is the older one and the next save writes again.
    const uint32_t crc = CurrentCrc();
    std::vector<uint8_t> bytes;
    const uint32_t type = Encode(bytes);
    const bool ok = key.SetValue(m_name, type, bytes.data(), static_cast<uint32_t>(bytes.size()));
    NWipeMemory(bytes.data(), bytes.size());
    if (!ok) return false;
    m_inRegistry = 1;
    m_checksum = crc;
    return true;
}
