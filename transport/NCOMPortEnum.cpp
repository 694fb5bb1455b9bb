#include "transport/NCOMPortEnum.h"

namespace {

wchar_t Fold(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

bool NCOMPortEnum::EqualNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i]))
            return false;
    return true;
}

const NCOMPortEnum::SNCPEEntry* NCOMPortEnum::FindPort(std::wstring_view portName) const
{
    for (const SNCPEEntry& e : entries)
        if (EqualNoCase(e.portName, portName))
            return &e;
    return nullptr;
}

const NCOMPortEnum::SNCPEEntry* NCOMPortEnum::FindDevice(std::wstring_view deviceAddress) const
{
    if (deviceAddress.empty())  // an entry without paths must not match an unset address
        return nullptr;
    for (const SNCPEEntry& e : entries)
        if (EqualNoCase(e.instancePath, deviceAddress) || EqualNoCase(e.interfacePath, deviceAddress))
            return &e;
    return nullptr;
}

std::wstring NCOMPortEnum::InterfacePath(std::wstring_view instancePath)
{
    std::wstring path = L"\\\\?\\";
    for (wchar_t c : instancePath)
        path += c == L'\\' ? L'#' : c;
    path += L'#';
    path += kPortsClassGuid;
    return path;
}

int32_t NCOMPortEnum::StatusFromAttributeQuery(uint32_t error)
{
    switch (error) {
    case 0: return kPresent;
    case 1: case 5: case 87: return kPresentRefused;  // invalid function, access denied, invalid parameter
    case 121: return kPresentBusy;                      // semaphore time-out
    default: return kAbsent;
    }
}

int32_t NCOMPortEnum::StatusFromPortTest(uint32_t error, bool mutexTimedOut)
{
    if (mutexTimedOut)
        return kPresentBusy;
    switch (error) {
    case 0: return kPresentFree;
    case 5: case 121: return kPresentBusy;
    default: return kAbsent;
    }
}
