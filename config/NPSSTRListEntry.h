#pragma once
// A string list bound to a REG_MULTI_SZ value (loads from REG_MULTI_SZ only).
#include "config/NPSEntry.h"
#include "config/NSTRList.h"

class NPSSTRListEntry : public NPSEntry {
public:
    NPSSTRListEntry(std::wstring name, NSTRList* variable);

    // The element count as 32 bits, then each element's UTF-16 bytes.
    uint32_t CurrentCrc() const override;
    std::wstring Describe() const override;

protected:
    bool Accept(const NRegValue& value) override;
    uint32_t Encode(std::vector<uint8_t>& bytes) const override;

private:
    NSTRList* m_variable;
};
