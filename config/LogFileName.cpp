#include "config/LogFileName.h"

std::wstring LMEscapeLogName(std::wstring_view name)
{
    static constexpr wchar_t kEscaped[] = L"\\/:*?\"<>| ";
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring out;
    out.reserve(name.size());
    for (wchar_t c : name) {
        if (std::wstring_view(kEscaped).find(c) != std::wstring_view::npos) {
            out += L'%';
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::wstring LMComposeLogFileName(std::wstring_view folder, std::wstring_view name)
{
    std::wstring path(folder);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    path += LMEscapeLogName(name);
    path += L".log";
    return path;
}
