#include "config/win32/LMConsSetupDlgPortSetup.h"

#include <vector>

namespace {

// The system tells how large the record is only after a first attempt, and a
// driver may grow it between calls: read again a few times, not forever.
bool ReadDefaultConfig(const std::wstring& port, std::vector<uint8_t>& buffer)
{
    buffer.assign(4096, 0);
    for (int attempt = 0; attempt <= 3; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        auto* config = reinterpret_cast<COMMCONFIG*>(buffer.data());
        config->dwSize = size;
        if (::GetDefaultCommConfigW(port.c_str(), config, &size)) {
            if (size < sizeof(COMMCONFIG) && buffer.size() < sizeof(COMMCONFIG)) {
                ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
                return false;
            }
            return true;
        }
        const DWORD error = ::GetLastError();
        if ((error != ERROR_INSUFFICIENT_BUFFER && error != ERROR_MORE_DATA) || attempt == 3) {
            ::SetLastError(error);
            return false;
        }
        buffer.assign(size > buffer.size() ? size : buffer.size() * 2, 0);
    }
    return false;
}

}  // namespace

bool LMRunPortSetupDialog(HWND owner, const std::wstring& port, NSerialDcb& dcb, std::wstring& failedStep)
{
    failedStep.clear();
    std::vector<uint8_t> buffer;
    if (!ReadDefaultConfig(port, buffer)) {
        failedStep = L"getting port default config for dialog";
        return false;
    }
    if (buffer.size() < sizeof(COMMCONFIG)) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        failedStep = L"port setup dialog";
        return false;
    }
    auto* config = reinterpret_cast<COMMCONFIG*>(buffer.data());
    NCopyDcb(dcb, config->dcb);
    if (!::CommConfigDialogW(port.c_str(), owner, config)) {
        const DWORD error = ::GetLastError();
        // Cancel is not a failure.
        if (error == ERROR_CANCELLED || error == 0)
            return false;
        ::SetLastError(error);
        failedStep = L"invoking port setup dialog";
        return false;
    }
    NCopyDcb(config->dcb, dcb);
    return true;
}
