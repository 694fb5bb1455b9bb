#include "app/LMConsListOrder.h"

#include <optional>

namespace {
wchar_t Fold(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Key names are GUIDs in braces or ASCII names; other characters must match exactly.
bool EqualNoCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}
}  // namespace

std::vector<size_t> LMLoadOrder(const std::vector<uint32_t>& listIndex)
{
    const size_t count = listIndex.size();
    std::vector<std::optional<size_t>> slots(count);
    std::vector<size_t> overflow;
    for (size_t k = 0; k < count; ++k) {
        const uint32_t index = listIndex[k];
        if (index < count && !slots[index])
            slots[index] = k;
        else
            overflow.push_back(k);
    }
    std::vector<size_t> order;
    order.reserve(count);
    for (const auto& slot : slots)
        if (slot)
            order.push_back(*slot);
    order.insert(order.end(), overflow.begin(), overflow.end());
    return order;
}

std::vector<std::wstring> LMStaleKeyNames(const std::vector<std::wstring>& listed,
                                          const std::vector<std::wstring>& kept)
{
    std::vector<std::wstring> stale;
    for (const std::wstring& name : listed) {
        bool used = false;
        for (const std::wstring& k : kept)
            if (EqualNoCase(name, k)) {
                used = true;
                break;
            }
        if (!used)
            stale.push_back(name);
    }
    return stale;
}
