#include "transport/HostPort.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

bool NHostPort::Parse(std::wstring_view text)
{
    host.clear();
    port = 0;
    std::wstring_view hostText = text;
    uint32_t value = kDefaultPort;
    const size_t colon = text.rfind(L':');
    if (colon != std::wstring_view::npos) {
        hostText = text.substr(0, colon);
        const std::wstring_view portText = text.substr(colon + 1);
        value = 0;
        bool ok = !portText.empty() && portText.size() <= 5;
        for (wchar_t c : portText) {
            if (c < L'0' || c > L'9') {
                ok = false;
                break;
            }
            value = value * 10 + static_cast<uint32_t>(c - L'0');
        }
        if (!ok || value == 0 || value > 65535) {
            NSetLastError(nerr::kInvalidParameter);
            return false;
        }
    }
    if (hostText.empty()) {
        NSetLastError(nerr::kInvalidParameter);
        return false;
    }
    host.assign(hostText);
    port = static_cast<uint16_t>(value);
    return true;
}
