#include "console/win32/LMConsViewText.h"

#include <windows.h>

#include <vector>

#include "transport/SerialMode.h"

std::wstring LMConsTitleAddress(const LMConsSettings& settings)
{
    switch (settings.ConMode.Get()) {
    case LMConsSettings::kTcpIp: return settings.HostPort;
    case LMConsSettings::kDeviceSerial: return settings.DevAddr;
    case LMConsSettings::kComSerial: return settings.COMPort;
    default: return L"*** ERROR ***";
    }
}

std::wstring LMConsFrameTitle(const LMConsSettings& settings)
{
    return settings.Name + L" @ " + LMConsTitleAddress(settings) + L" - Lumbra";
}

std::wstring LMConsLoadedSetupNote(const LMConsSettings& settings)
{
    std::wstring mode;
    if (settings.ConMode.Get() != LMConsSettings::kTcpIp) {
        if (!NSerialModeShort(settings.SerMode, mode))
            mode = settings.SerMode;
    }
    return L"Loaded setup " + LMConsTitleAddress(settings) + L" @ " + mode;
}

namespace {
std::wstring Number(unsigned n)
{
    return std::to_wstring(n);
}
}  // namespace

std::wstring LMConsProgramVersionText()
{
    // Read once: the resource does not change while the program runs.
    static const std::wstring text = [] {
        wchar_t path[MAX_PATH * 2] = {};
        const DWORD length = ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
        if (length == 0 || length >= std::size(path))
            return std::wstring(L"Lumbra");
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
        if (size == 0)
            return std::wstring(L"Lumbra");
        std::vector<BYTE> data(size);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT fixedLength = 0;
        if (!::GetFileVersionInfoW(path, 0, size, data.data()) ||
            !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength) ||
            fixed == nullptr || fixedLength < sizeof *fixed)
            return std::wstring(L"Lumbra");
        struct SLanguage {
            WORD language;
            WORD codePage;
        };
        std::wstring block = L"\\StringFileInfo\\040904b0\\ProductName";
        SLanguage* languages = nullptr;
        UINT langLength = 0;
        if (::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&languages),
                             &langLength) &&
            languages != nullptr && langLength >= sizeof(SLanguage)) {
            wchar_t name[64];
            wsprintfW(name, L"\\StringFileInfo\\%04x%04x\\ProductName", languages[0].language,
                      languages[0].codePage);
            block = name;
        }
        std::wstring product = L"Lumbra";
        wchar_t* value = nullptr;
        UINT valueLength = 0;
        if (::VerQueryValueW(data.data(), block.c_str(), reinterpret_cast<void**>(&value), &valueLength) &&
            value != nullptr && valueLength > 0)
            product.assign(value, wcsnlen(value, valueLength));
        const bool debug = (fixed->dwFileFlags & fixed->dwFileFlagsMask & VS_FF_DEBUG) != 0;
        std::wstring version = Number(HIWORD(fixed->dwFileVersionMS)) + L"." + Number(LOWORD(fixed->dwFileVersionMS)) +
                               L"." + Number(HIWORD(fixed->dwFileVersionLS));
        if (LOWORD(fixed->dwFileVersionLS) != 0)
            version += L"." + Number(LOWORD(fixed->dwFileVersionLS));
        return product + (debug ? L" Debug " : L" Release ") + version;
    }();
    return text;
}
