#include "foundation/win32/AnsiCodePage.h"

#include <windows.h>

#include <climits>

std::wstring NAnsiCodePage::ToWide(std::string_view ansi)
{
    if (ansi.empty()) return {};
    if (ansi.size() > INT_MAX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return {};
    }
    const int inLen = static_cast<int>(ansi.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), inLen, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<size_t>(n), L'\0');
    const int done = MultiByteToWideChar(CP_ACP, 0, ansi.data(), inLen, out.data(), n);
    out.resize(done > 0 ? static_cast<size_t>(done) : 0);
    return out;
}

std::string NAnsiCodePage::FromWide(std::wstring_view wide)
{
    if (wide.empty()) return {};
    if (wide.size() > INT_MAX) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return {};
    }
    const int inLen = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), inLen, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    const int done = WideCharToMultiByte(CP_ACP, 0, wide.data(), inLen, out.data(), n, nullptr, nullptr);
    out.resize(done > 0 ? static_cast<size_t>(done) : 0);
    return out;
}
