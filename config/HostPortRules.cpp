#include "config/HostPortRules.h"

#include "foundation/NumberSyntax.h"

namespace {
// A character within one of the inclusive ranges given as pairs ("AZaz09-");
// a last single character stands for itself.
bool InRanges(wchar_t c, std::wstring_view ranges)
{
    size_t i = 0;
    for (; i + 1 < ranges.size(); i += 2)
        if (c >= ranges[i] && c <= ranges[i + 1]) return true;
    return i < ranges.size() && c == ranges[i];
}
}  // namespace

const wchar_t* LMCheckHost(std::wstring_view host)
{
    for (;;) {
        if (host.empty()) return L"Empty host";
        if (host[0] == L'.') return L"Invalid (empty) host segment";
        const size_t dot = host.find(L'.');
        const std::wstring_view segment = host.substr(0, dot);
        for (wchar_t c : segment)
            if (!InRanges(c, L"AZaz09-")) return L"Invalid host character";
        if (dot == std::wstring_view::npos) return nullptr;
        host.remove_prefix(dot + 1);
    }
}

const wchar_t* LMCheckHostPort(std::wstring_view text, uint32_t* port)
{
    if (text.empty()) return L"Empty host[:port]";
    const size_t colon = text.find(L':');
    if (colon == 0) return L"Invalid host (port only?)";
    if (colon != std::wstring_view::npos && colon + 1 == text.size()) return L"Invalid (: + empty?) port";
    if (colon == std::wstring_view::npos) {
        const wchar_t* m = LMCheckHost(text);
        if (m == nullptr && port != nullptr) *port = 0;
        return m;
    }
    const std::wstring_view digits = text.substr(colon + 1);
    for (wchar_t c : digits)
        if (!InRanges(c, L"09")) return L"Invalid port character(s)";
    uint32_t value = 0;
    if (!NParseUnsigned(digits, 65535, value) || value == 0) return L"Invalid port value";
    const wchar_t* m = LMCheckHost(text.substr(0, colon));
    if (m == nullptr && port != nullptr) *port = value;
    return m;
}
