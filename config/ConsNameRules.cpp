#include "config/ConsNameRules.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/NumberSyntax.h"
#include "shades/NameFold.h"

std::wstring_view LMTrimSpace(std::wstring_view t)
{
    while (!t.empty() && NIsNumberSpace(t.front())) t.remove_prefix(1);
    while (!t.empty() && NIsNumberSpace(t.back())) t.remove_suffix(1);
    return t;
}

namespace {
bool ReadsAsSignedInteger(std::wstring_view t)
{
    while (!t.empty() && NIsNumberSpace(t.front())) t.remove_prefix(1);
    if (!t.empty() && (t.front() == L'+' || t.front() == L'-')) t.remove_prefix(1);
    // A too large number is still a number: the name stays refused.
    uint32_t value = 0;
    NSetLastError(0);
    return NParseUnsigned(t, 0xFFFFFFFFu, value) || NGetLastError() == nerr::kInvalidParameter;
}
}  // namespace

bool LMIsReservedConsoleName(std::wstring_view name)
{
    for (const wchar_t* device : {L"COM", L"CON", L"AUX", L"PRN", L"NUL"})
        if (NNamesEqualNoCase(name, device)) return true;
    if (name.size() < 3) return false;
    const std::wstring_view head = name.substr(0, 3);
    if (!NNamesEqualNoCase(head, L"COM") && !NNamesEqualNoCase(head, L"LPT")) return false;
    return ReadsAsSignedInteger(name.substr(3));
}

bool LMIsValidComPortName(std::wstring_view name)
{
    if (name.size() < 4 || name.size() > 6 || !NNamesEqualNoCase(name.substr(0, 3), L"COM")) return false;
    unsigned value = 0;
    for (wchar_t c : name.substr(3)) {
        if (c < L'0' || c > L'9') return false;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    return value >= 1 && value <= 999;
}
