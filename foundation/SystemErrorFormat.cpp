#include "foundation/SystemErrorFormat.h"

namespace {
bool IsTrimmed(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'.' ||
           c == 0x00A0 || c == 0x3002;  // no-break space, ideographic full stop
}

// Decimal without the C library's wide formatting, which differs between runtimes.
void AppendDecimal(std::wstring& out, uint32_t value)
{
    wchar_t digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0)
        out.push_back(digits[--n]);
}
}  // namespace

std::wstring NTrimSystemMessage(std::wstring_view message)
{
    size_t end = message.size();
    while (end > 0 && IsTrimmed(message[end - 1]))
        --end;
    return std::wstring(message.substr(0, end));
}

std::wstring NUnknownSystemErrorText(uint32_t code)
{
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring text = L"Unknown system error 0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text.push_back(kHex[(code >> shift) & 0xF]);
    return text;
}

std::wstring NFormatSystemErrorText(uint32_t code, std::wstring_view platformMessage, uint32_t flags)
{
    std::wstring body = NTrimSystemMessage(platformMessage);
    // A message that was only white space and full stops says nothing.
    if (body.empty())
        body = NUnknownSystemErrorText(code);
    std::wstring text;
    text.reserve(body.size() + 24);
    if (flags & nsyserr::kLeadingCrLf)
        text += L"\r\n";
    if (flags & nsyserr::kLong) {
        text += L"Error ";
        AppendDecimal(text, code);
        text += L": ";
    }
    text += body;
    if (flags & nsyserr::kTrailingCrLf)
        text += L"\r\n";
    return text;
}
