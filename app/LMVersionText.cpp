#include "app/LMVersionText.h"

namespace {
std::wstring Number(uint16_t n)
{
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + n % 10));
        n = static_cast<uint16_t>(n / 10);
    } while (n != 0);
    return digits;
}
}  // namespace

std::wstring LMFormatVersion(std::wstring_view format, const SLMVersion& version)
{
    std::wstring out;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        const wchar_t code = format[++i];
        switch (code) {
        case L'p':
            out += version.productName;
            break;
        case L'g':
            out += version.debug ? L"Debug" : L"Release";
            break;
        case L'V':
            out += Number(version.parts[0]) + L"." + Number(version.parts[1]) + L"." + Number(version.parts[2]);
            if (version.parts[3] != 0)
                out += L"." + Number(version.parts[3]);
            break;
        case L'%':
            out += L'%';
            break;
        default:
            out += L'%';
            out += code;
            break;
        }
    }
    return out;
}
