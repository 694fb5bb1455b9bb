#include "app/win32/LMModulePath.h"

std::wstring LMModulePath(HMODULE module)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0)
            return std::wstring();
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        if (path.size() >= 32768)
            return std::wstring();
        path.resize(path.size() * 2);
    }
}
