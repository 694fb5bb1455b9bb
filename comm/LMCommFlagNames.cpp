#include "comm/LMCommFlagNames.h"

#include <iterator>

namespace {

struct SFlagName {
    uint32_t bit;
    const wchar_t* name;
};

const SFlagName kEventNames[] = {
    {0x1, L"EV_RXCHAR"},   {0x2, L"EV_RXFLAG"},    {0x4, L"EV_TXEMPTY"}, {0x8, L"EV_CTS"},
    {0x10, L"EV_DSR"},     {0x20, L"EV_RLSD"},     {0x40, L"EV_BREAK"},  {0x80, L"EV_ERR"},
    {0x100, L"EV_RING"},   {0x200, L"EV_PERR"},    {0x400, L"EV_RX80FULL"},
    {0x800, L"EV_EVENT1"}, {0x1000, L"EV_EVENT2"},
};

const SFlagName kErrorNames[] = {
    {0x1, L"CE_RXOVER"},  {0x2, L"CE_OVERRUN"}, {0x4, L"CE_RXPARITY"}, {0x8, L"CE_FRAME"},
    {0x10, L"CE_BREAK"},  {0x100, L"CE_TXFULL"}, {0x200, L"CE_PTO"},   {0x400, L"CE_IOE"},
    {0x800, L"CE_DNS"},   {0x1000, L"CE_OOP"},  {0x8000, L"CE_MODE"},
};

const SFlagName kModemLines[] = {{0x10, L"CTS"}, {0x20, L"DSR"}, {0x40, L"RING"}, {0x80, L"RLSD"}};

template <size_t N>
std::wstring Names(uint32_t value, const SFlagName (&table)[N])
{
    std::wstring text;
    uint32_t rest = value;
    for (const SFlagName& f : table) {
        if ((value & f.bit) == 0)
            continue;
        if (!text.empty())
            text.push_back(L' ');
        text += f.name;
        rest &= ~f.bit;
    }
    if (rest != 0) {
        if (!text.empty())
            text.push_back(L' ');
        text += L"+0x" + LMHexDigits(rest, 4) + L"+";
    }
    return text;
}

}  // namespace

std::wstring LMHexDigits(uint32_t value, int count)
{
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring digits;
    do {
        digits.insert(digits.begin(), kHex[value & 15]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(digits.size()) < count)
        digits.insert(digits.begin(), L'0');
    return digits;
}

std::wstring LMCommEventNames(uint32_t mask) { return Names(mask, kEventNames); }

std::wstring LMCommErrorNames(uint32_t flags) { return Names(flags, kErrorNames); }

std::wstring LMModemLineList(uint32_t status)
{
    std::wstring text;
    for (const SFlagName& f : kModemLines) {
        text += f.name;
        text += (status & f.bit) != 0 ? L"=on  " : L"=off ";
    }
    return text;
}
