#include "config/TNPSEntry.h"

bool NReadRegDword(const NRegValue& value, uint32_t& out)
{
    if (value.Size() != 4 || value.Data() == nullptr) return false;
    const uint8_t* b = value.Data();
    if (value.Type() == nreg::kDword)
        out = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
              (static_cast<uint32_t>(b[3]) << 24);
    else if (value.Type() == nreg::kDwordBigEndian)
        out = static_cast<uint32_t>(b[3]) | (static_cast<uint32_t>(b[2]) << 8) | (static_cast<uint32_t>(b[1]) << 16) |
              (static_cast<uint32_t>(b[0]) << 24);
    else
        return false;
    return true;
}
