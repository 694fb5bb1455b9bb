#include "config/RegRootName.h"

#include <string>

namespace {
bool EqualNoCase(std::wstring_view a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != 0; ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'a' && x <= L'z') x = static_cast<wchar_t>(x - L'a' + L'A');
        if (y >= L'a' && y <= L'z') y = static_cast<wchar_t>(y - L'a' + L'A');
        if (x != y) return false;
    }
    return i == a.size() && b[i] == 0;
}

struct SRootNames {
    NRegRoot root;
    const wchar_t* names[3];
};
const SRootNames kRoots[] = {
    {NRegRoot::kClassesRoot, {L"HKEY_CLASSES_ROOT", L"HCR", L"HKCR"}},
    {NRegRoot::kCurrentConfig, {L"HKEY_CURRENT_CONFIG", L"HCC", L"HKCC"}},
    {NRegRoot::kCurrentUser, {L"HKEY_CURRENT_USER", L"HCU", L"HKCU"}},
    {NRegRoot::kLocalMachine, {L"HKEY_LOCAL_MACHINE", L"HLM", L"HKLM"}},
    {NRegRoot::kUsers, {L"HKEY_USERS", L"HU", L"HKU"}},
    {NRegRoot::kPerformanceData, {L"HKEY_PERFORMANCE_DATA", L"HPD", L"HKPD"}},
    {NRegRoot::kDynData, {L"HKEY_DYN_DATA", L"HDD", L"HKDD"}},
};
}  // namespace

NRegRoot NRegRootFromName(std::wstring_view name)
{
    for (const SRootNames& r : kRoots)
        for (const wchar_t* n : r.names)
            if (EqualNoCase(name, n)) return r.root;
    return NRegRoot::kNone;
}

bool NSplitRegPath(std::wstring_view path, NRegRoot& root, std::wstring& subPath)
{
    const size_t slash = path.find(L'\\');
    root = NRegRootFromName(path.substr(0, slash));
    if (root == NRegRoot::kNone) return false;
    subPath.clear();
    if (slash == std::wstring_view::npos) return true;
    // Components joined by single separators; empty ones would name no key.
    size_t i = slash + 1;
    while (i <= path.size()) {
        size_t e = path.find(L'\\', i);
        if (e == std::wstring_view::npos) e = path.size();
        if (e > i) {
            if (!subPath.empty()) subPath += L'\\';
            subPath += path.substr(i, e - i);
        }
        i = e + 1;
    }
    return true;
}
