#include "app/win32/LMVersionInfo.h"

#include <windows.h>

#include <vector>

bool LMReadVersionInfo(const std::wstring& path, SLMVersion& version)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
        length < sizeof *fixed) {
        ::SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return false;
    }
    version.parts[0] = HIWORD(fixed->dwFileVersionMS);
    version.parts[1] = LOWORD(fixed->dwFileVersionMS);
    version.parts[2] = HIWORD(fixed->dwFileVersionLS);
    version.parts[3] = LOWORD(fixed->dwFileVersionLS);
    version.debug = (fixed->dwFileFlags & fixed->dwFileFlagsMask & VS_FF_DEBUG) != 0;

    struct SLanguage {
        WORD language;
        WORD codePage;
    };
    SLanguage* languages = nullptr;
    std::wstring block = L"\\StringFileInfo\\040904b0\\ProductName";
    if (::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&languages), &length) &&
        languages != nullptr && length >= sizeof(SLanguage)) {
        wchar_t name[64];
        wsprintfW(name, L"\\StringFileInfo\\%04x%04x\\ProductName", languages[0].language, languages[0].codePage);
        block = name;
    }
    wchar_t* product = nullptr;
    if (::VerQueryValueW(data.data(), block.c_str(), reinterpret_cast<void**>(&product), &length) &&
        product != nullptr && length > 0)
        version.productName.assign(product, wcsnlen(product, length));
    return true;
}
