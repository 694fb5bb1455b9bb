#include "config/NPSSTRListEntry.h"

#include "config/RegText.h"
#include "foundation/Crc32.h"

NPSSTRListEntry::NPSSTRListEntry(std::wstring name, NSTRList* variable) : NPSEntry(std::move(name)), m_variable(variable)
{
    TakeChecksum();
}

uint32_t NPSSTRListEntry::CurrentCrc() const
{
    if (m_variable == nullptr) return NCrc32(nullptr, 0);
    const uint32_t count = static_cast<uint32_t>(m_variable->size());
    const uint8_t countBytes[4] = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8),
                                   static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 24)};
    uint32_t crc = NCrc32(countBytes, 4);
    std::vector<uint8_t> bytes;
    for (const std::wstring& s : *m_variable) {
        bytes.clear();
        NAppendUtf16Bytes(s, bytes);
        crc = NCrc32(bytes.data(), bytes.size(), crc);
    }
    return crc;
}

std::wstring NPSSTRListEntry::Describe() const
{
    return L"List of " + std::to_wstring(m_variable != nullptr ? m_variable->size() : 0) + L" strings";
}

bool NPSSTRListEntry::Accept(const NRegValue& value)
{
    if (m_variable == nullptr || value.Type() != nreg::kMultiSz) return false;
    *m_variable = NDecodeRegMultiSz(value.Data(), value.Size());
    return true;
}

uint32_t NPSSTRListEntry::Encode(std::vector<uint8_t>& bytes) const
{
    bytes = NEncodeRegMultiSz(m_variable != nullptr ? *m_variable : NSTRList());
    return nreg::kMultiSz;
}
