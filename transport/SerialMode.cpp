#include "transport/SerialMode.h"

#include <vector>

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

namespace {

// The characters trimmed from both ends of a mode string and separating items.
bool IsModeSpace(wchar_t c)
{
    return c == L'\b' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r' || c == L' ';
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Only ASCII matters: every keyword is ASCII, and any other character makes
// the text invalid whatever its case.
std::wstring TrimUpper(std::wstring_view text)
{
    size_t b = 0, e = text.size();
    while (b < e && IsModeSpace(text[b])) ++b;
    while (e > b && IsModeSpace(text[e - 1])) --e;
    std::wstring out(text.substr(b, e - b));
    for (wchar_t& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
}

// Digits only, at least one, no overflow of 32 bits.
bool ParseDecimal(std::wstring_view s, uint32_t& value)
{
    if (s.empty()) return false;
    uint64_t v = 0;
    for (wchar_t c : s) {
        if (!IsDigit(c)) return false;
        v = v * 10 + static_cast<unsigned>(c - L'0');
        if (v > 0xFFFFFFFFull) return false;
    }
    value = static_cast<uint32_t>(v);
    return true;
}

constexpr uint32_t kHundreds[] = {3, 6, 12, 24, 48, 96, 144, 192, 384, 560, 576};

bool IsHundredsAbbreviation(uint32_t v)
{
    for (uint32_t a : kHundreds)
        if (a == v) return true;
    return false;
}

bool SetBaud(std::wstring_view v, NSerialDcb& dcb)
{
    uint32_t n = 0;
    if (!ParseDecimal(v, n) || n == 0) return false;
    dcb.BaudRate = IsHundredsAbbreviation(n) ? n * 100 : n;
    return true;
}

bool SetParity(std::wstring_view v, NSerialDcb& dcb)
{
    if (v.empty()) return false;
    static constexpr wchar_t kLetters[] = L"NOEMS";
    for (uint8_t i = 0; i < 5; ++i) {
        if (v[0] == kLetters[i]) {
            dcb.Parity = i;
            dcb.fParity = i != NSerialDcb::kNoParity;
            return true;
        }
    }
    return false;
}

bool SetData(std::wstring_view v, NSerialDcb& dcb)
{
    uint32_t n = 0;
    if (!ParseDecimal(v, n) || n < 5 || n > 8) return false;
    dcb.ByteSize = static_cast<uint8_t>(n);
    return true;
}

bool SetStop(std::wstring_view v, NSerialDcb& dcb)
{
    if (v == L"1") dcb.StopBits = NSerialDcb::kOneStopBit;
    else if (v == L"15" || v == L"1.5") dcb.StopBits = NSerialDcb::kOne5StopBits;
    else if (v == L"2") dcb.StopBits = NSerialDcb::kTwoStopBits;
    else return false;
    return true;
}

bool SetFlow(std::wstring_view v, NSerialDcb& dcb)
{
    if (v.empty()) return false;
    switch (v[0]) {
    case L'H':
        dcb.fOutX = dcb.fInX = 0;
        dcb.fOutxCtsFlow = 1;
        dcb.fOutxDsrFlow = 0;
        dcb.fDtrControl = NSerialDcb::kDtrEnable;
        dcb.fDsrSensitivity = 0;
        dcb.fRtsControl = NSerialDcb::kRtsHandshake;
        return true;
    case L'N':
        dcb.fOutX = dcb.fInX = 0;
        dcb.fOutxCtsFlow = 0;
        dcb.fOutxDsrFlow = 0;
        dcb.fDtrControl = NSerialDcb::kDtrEnable;
        dcb.fDsrSensitivity = 0;
        dcb.fRtsControl = NSerialDcb::kRtsDisable;
        return true;
    case L'P':
        dcb.fOutX = dcb.fInX = 0;
        dcb.fOutxCtsFlow = 1;
        dcb.fOutxDsrFlow = 1;
        dcb.fDtrControl = NSerialDcb::kDtrHandshake;
        dcb.fRtsControl = NSerialDcb::kRtsHandshake;
        return true;
    case L'S':
        dcb.fOutX = dcb.fInX = 1;
        dcb.fOutxCtsFlow = 0;
        dcb.fOutxDsrFlow = 0;
        dcb.fDtrControl = NSerialDcb::kDtrEnable;
        dcb.fDsrSensitivity = 0;
        dcb.fRtsControl = NSerialDcb::kRtsDisable;
        return true;
    case L'X':
        dcb.fOutX = dcb.fInX = 1;
        dcb.fOutxCtsFlow = 0;
        dcb.fOutxDsrFlow = 0;
        dcb.fDtrControl = NSerialDcb::kDtrEnable;
        dcb.fRtsControl = NSerialDcb::kRtsEnable;
        return true;
    default:
        return false;
    }
}

bool SetOnOff(std::wstring_view v, uint8_t& flag)
{
    if (v == L"ON") flag = 1;
    else if (v == L"OFF") flag = 0;
    else return false;
    return true;
}

bool SetItem(std::wstring_view key, std::wstring_view v, NSerialDcb& dcb)
{
    if (v.empty()) return false;
    if (key == L"BAUD") return SetBaud(v, dcb);
    if (key == L"PARITY") return SetParity(v, dcb);
    if (key == L"DATA") return SetData(v, dcb);
    if (key == L"STOP") return SetStop(v, dcb);
    if (key == L"FLOW") return SetFlow(v, dcb);
    if (key == L"XON") {
        uint8_t on = 0;
        if (!SetOnOff(v, on)) return false;
        dcb.fOutX = dcb.fInX = on;
        return true;
    }
    if (key == L"ODSR") return SetOnOff(v, dcb.fOutxDsrFlow);
    if (key == L"OCTS") return SetOnOff(v, dcb.fOutxCtsFlow);
    if (key == L"IDSR") return SetOnOff(v, dcb.fDsrSensitivity);
    if (key == L"DTR") {
        if (v == L"ON") dcb.fDtrControl = NSerialDcb::kDtrEnable;
        else if (v == L"OFF") dcb.fDtrControl = NSerialDcb::kDtrDisable;
        else if (v == L"HS") dcb.fDtrControl = NSerialDcb::kDtrHandshake;
        else return false;
        return true;
    }
    if (key == L"RTS") {
        if (v == L"ON") dcb.fRtsControl = NSerialDcb::kRtsEnable;
        else if (v == L"OFF") dcb.fRtsControl = NSerialDcb::kRtsDisable;
        else if (v == L"HS") dcb.fRtsControl = NSerialDcb::kRtsHandshake;
        else if (v == L"TG") dcb.fRtsControl = NSerialDcb::kRtsToggle;
        else return false;
        return true;
    }
    return false;
}

std::wstring_view TrimSpace(std::wstring_view s)
{
    while (!s.empty() && IsModeSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsModeSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool ParsePositional(std::wstring_view rest, NSerialDcb& dcb)
{
    std::vector<std::wstring_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = rest.find(L',', start);
        fields.push_back(TrimSpace(rest.substr(start, comma == std::wstring_view::npos ? std::wstring_view::npos : comma - start)));
        if (comma == std::wstring_view::npos) break;
        start = comma + 1;
    }
    if (fields.size() < 4 || fields.size() > 5) return false;
    if (!SetBaud(fields[0], dcb) || !SetParity(fields[1], dcb) || !SetData(fields[2], dcb) || !SetStop(fields[3], dcb))
        return false;
    return fields.size() == 4 || SetFlow(fields[4], dcb);
}

bool ParseItems(std::wstring_view rest, NSerialDcb& dcb)
{
    size_t i = 0;
    while (i < rest.size()) {
        while (i < rest.size() && IsModeSpace(rest[i])) ++i;
        if (i >= rest.size()) break;
        size_t e = i;
        while (e < rest.size() && !IsModeSpace(rest[e])) ++e;
        const std::wstring_view item = rest.substr(i, e - i);
        const size_t eq = item.find(L'=');
        if (eq == std::wstring_view::npos || !SetItem(item.substr(0, eq), item.substr(eq + 1), dcb)) return false;
        i = e;
    }
    return true;
}

// Takes "COMn", optionally "\\.\COMn", then an optional ":" and white space.
bool TakePort(std::wstring_view& rest, NSerialModePrefix prefixes, NSerialModePort& port)
{
    std::wstring_view s = rest;
    if (prefixes == NSerialModePrefix::kComOrDevice && s.substr(0, 4) == L"\\\\.\\") s.remove_prefix(4);
    else if (s.substr(0, 3) != L"COM") return true;  // no prefix
    if (s.substr(0, 3) != L"COM") return false;     // "\\.\" and no COM
    size_t n = 3;
    while (n < s.size() && IsDigit(s[n])) ++n;
    if (n == 3) {
        // "COM" and no digits: not a prefix, unless the device form announced one.
        return s.size() == rest.size();
    }
    uint32_t number = 0;
    if (!ParseDecimal(s.substr(3, n - 3), number) || number == 0) return false;
    port.named = true;
    port.number = number;
    port.name = L"COM" + std::wstring(s.substr(3, n - 3));
    s.remove_prefix(n);
    if (!s.empty() && s[0] == L':') s.remove_prefix(1);
    while (!s.empty() && IsModeSpace(s[0])) s.remove_prefix(1);
    rest = s;
    return true;
}

}  // namespace

bool NParseSerialMode(std::wstring_view text, NSerialDcb& dcb, NSerialModePort* port, NSerialModePrefix prefixes)
{
    const std::wstring upper = TrimUpper(text);
    std::wstring_view rest = upper;
    NSerialModePort newPort;
    NSerialDcb work = dcb;
    if (!TakePort(rest, prefixes, newPort)) return NFail(nerr::kInvalidParameter);
    const bool ok = rest.find(L',') != std::wstring_view::npos ? ParsePositional(rest, work) : ParseItems(rest, work);
    if (!ok) return NFail(nerr::kInvalidParameter);
    dcb = work;
    if (port != nullptr) *port = std::move(newPort);
    return true;
}

bool NIsValidSerialMode(std::wstring_view text)
{
    NSerialDcb dcb;
    return NParseSerialMode(text, dcb);
}

std::wstring NSerialModeCanonical(const NSerialDcb& dcb)
{
    std::wstring out;
    auto item = [&out](const wchar_t* key, std::wstring_view value) {
        if (!out.empty()) out += L' ';
        out += key;
        out += L'=';
        out += value;
    };
    auto onOff = [](bool on) { return on ? L"ON" : L"OFF"; };
    // A rate of 0 is refused on reading and an abbreviation reads as hundreds.
    if (dcb.BaudRate != 0 && !IsHundredsAbbreviation(dcb.BaudRate)) item(L"BAUD", std::to_wstring(dcb.BaudRate));
    if (!dcb.fParity) item(L"PARITY", L"N");
    else if (dcb.Parity <= 4) item(L"PARITY", std::wstring(1, L"NOEMS"[dcb.Parity]));
    if (dcb.ByteSize >= 5 && dcb.ByteSize <= 8) item(L"DATA", std::to_wstring(dcb.ByteSize));
    static const wchar_t* const kStop[] = {L"1", L"1.5", L"2"};
    if (dcb.StopBits <= 2) item(L"STOP", kStop[dcb.StopBits]);
    item(L"XON", onOff(dcb.fOutX || dcb.fInX));
    item(L"ODSR", onOff(dcb.fOutxDsrFlow));
    item(L"OCTS", onOff(dcb.fOutxCtsFlow));
    static const wchar_t* const kDtr[] = {L"OFF", L"ON", L"HS"};
    if (dcb.fDtrControl <= 2) item(L"DTR", kDtr[dcb.fDtrControl]);
    static const wchar_t* const kRts[] = {L"OFF", L"ON", L"HS", L"TG"};
    if (dcb.fRtsControl <= 3) item(L"RTS", kRts[dcb.fRtsControl]);
    item(L"IDSR", onOff(dcb.fDsrSensitivity));
    return out;
}

std::wstring NSerialModeShort(const NSerialDcb& dcb)
{
    std::wstring out = std::to_wstring(dcb.BaudRate);
    out += L'-';
    out += std::to_wstring(dcb.ByteSize);
    out += L'-';
    if (!dcb.fParity) out += L'N';
    else out += dcb.Parity <= 4 ? L"NOEMS"[dcb.Parity] : L'?';
    out += L'-';
    static const wchar_t* const kStop[] = {L"1", L"1.5", L"2"};
    out += dcb.StopBits <= 2 ? kStop[dcb.StopBits] : L"?";
    out += L'-';
    if (dcb.fOutX || dcb.fInX) out += L"SH";
    else if (dcb.fRtsControl != NSerialDcb::kRtsDisable) out += L"HH";
    else out += L"NH";
    return out;
}

bool NSerialModeShort(std::wstring_view text, std::wstring& shortForm)
{
    NSerialDcb dcb = NSerialDcb::Default();
    if (!NParseSerialMode(text, dcb)) {
        shortForm.clear();
        return false;
    }
    shortForm = NSerialModeShort(dcb);
    return true;
}

std::wstring NNormalizeSerialMode(std::wstring_view text)
{
    NSerialDcb dcb = NSerialDcb::Default();
    if (!NParseSerialMode(text, dcb)) return std::wstring();
    return NSerialModeCanonical(dcb);
}
