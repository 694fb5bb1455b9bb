#include "comm/LMConsoleAddress.h"

#include "transport/SerialMode.h"

std::wstring LMConsoleAddress(uint32_t conMode, std::wstring_view hostPort, std::wstring_view devAddr,
                              std::wstring_view comPort, std::wstring_view serialMode)
{
    if (conMode == 0)
        return L"telnet://" + std::wstring(hostPort);
    if (conMode != 1 && conMode != 2)
        return L"*** ERROR ***";
    std::wstring shortForm;
    if (!NSerialModeShort(serialMode, shortForm))
        shortForm.assign(serialMode);
    return L"serial://" + std::wstring(conMode == 1 ? devAddr : comPort) + L"/" + shortForm;
}
