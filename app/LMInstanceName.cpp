#include "app/LMInstanceName.h"

std::wstring LMWakeUpEventName(std::wstring_view executablePath)
{
    const size_t slash = executablePath.find_last_of(L'\\');
    const std::wstring_view file = slash == std::wstring_view::npos ? executablePath : executablePath.substr(slash + 1);
    return std::wstring(file) + L"\tWakeUpEvent";
}
