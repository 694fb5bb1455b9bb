#include "transport/SerialMode.h"

#include <span>
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

// The parity letters in the order of their values.
constexpr wchar_t kParityLetters[] = L"NOEMS";

bool SetParity(std::wstring_view v, NSerialDcb& dcb)
{
    if (v.empty()) return false;
    for (uint8_t i = 0; i < 5; ++i) {
        if (v[0] == kParityLetters[i]) {
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

// A value word and the field value it stands for. Reading takes any word of
// a table; printing takes the first word of a value, so that word comes first.
struct SWord {
    const wchar_t* text;
    uint8_t value;
};

constexpr SWord kOnOffWords[] = {{L"OFF", 0}, {L"ON", 1}};
constexpr SWord kStopWords[] = {{L"1", NSerialDcb::kOneStopBit},
                                {L"1.5", NSerialDcb::kOne5StopBits},
                                {L"15", NSerialDcb::kOne5StopBits},
                                {L"2", NSerialDcb::kTwoStopBits}};
constexpr SWord kDtrWords[] = {
    {L"OFF", NSerialDcb::kDtrDisable}, {L"ON", NSerialDcb::kDtrEnable}, {L"HS", NSerialDcb::kDtrHandshake}};
constexpr SWord kRtsWords[] = {{L"OFF", NSerialDcb::kRtsDisable},
                               {L"ON", NSerialDcb::kRtsEnable},
                               {L"HS", NSerialDcb::kRtsHandshake},
                               {L"TG", NSerialDcb::kRtsToggle}};

bool ReadWord(std::wstring_view v, std::span<const SWord> words, uint8_t& field)
{
    for (const SWord& w : words) {
        if (v == w.text) {
            field = w.value;
            return true;
        }
    }
    return false;
}

// Null for a value no word stands for.
const wchar_t* WordOf(uint8_t value, std::span<const SWord> words)
{
    for (const SWord& w : words)
        if (w.value == value) return w.text;
    return nullptr;
}

bool SetStop(std::wstring_view v, NSerialDcb& dcb) { return ReadWord(v, kStopWords, dcb.StopBits); }

// What each flow letter sets; kKeep leaves the DSR sensitivity as it was.
constexpr uint8_t kKeep = 0xFF;
struct SFlow {
    wchar_t letter;
    uint8_t xon;  // both directions
    uint8_t ctsFlow;
    uint8_t dsrFlow;
    uint8_t dtr;
    uint8_t dsrSensitivity;
    uint8_t rts;
};
constexpr SFlow kFlows[] = {
    {L'H', 0, 1, 0, NSerialDcb::kDtrEnable, 0, NSerialDcb::kRtsHandshake},
    {L'N', 0, 0, 0, NSerialDcb::kDtrEnable, 0, NSerialDcb::kRtsDisable},
    {L'P', 0, 1, 1, NSerialDcb::kDtrHandshake, kKeep, NSerialDcb::kRtsHandshake},
    {L'S', 1, 0, 0, NSerialDcb::kDtrEnable, 0, NSerialDcb::kRtsDisable},
    {L'X', 1, 0, 0, NSerialDcb::kDtrEnable, kKeep, NSerialDcb::kRtsEnable},
};

// Only the first letter counts: "FLOW=Hardware" is "FLOW=H".
bool SetFlow(std::wstring_view v, NSerialDcb& dcb)
{
    if (v.empty()) return false;
    for (const SFlow& f : kFlows) {
        if (f.letter != v[0]) continue;
        dcb.fOutX = dcb.fInX = f.xon;
        dcb.fOutxCtsFlow = f.ctsFlow;
        dcb.fOutxDsrFlow = f.dsrFlow;
        dcb.fDtrControl = f.dtr;
        if (f.dsrSensitivity != kKeep) dcb.fDsrSensitivity = f.dsrSensitivity;
        dcb.fRtsControl = f.rts;
        return true;
    }
    return false;
}

struct SKey {
    std::wstring_view key;
    bool (*set)(std::wstring_view value, NSerialDcb& dcb);
};
constexpr SKey kKeys[] = {
    {L"BAUD", SetBaud},
    {L"PARITY", SetParity},
    {L"DATA", SetData},
    {L"STOP", SetStop},
    {L"FLOW", SetFlow},
    {L"XON",
     [](std::wstring_view v, NSerialDcb& dcb) {
         uint8_t on = 0;
         if (!ReadWord(v, kOnOffWords, on)) return false;
         dcb.fOutX = dcb.fInX = on;
         return true;
     }},
    {L"ODSR", [](std::wstring_view v, NSerialDcb& dcb) { return ReadWord(v, kOnOffWords, dcb.fOutxDsrFlow); }},
    {L"OCTS", [](std::wstring_view v, NSerialDcb& dcb) { return ReadWord(v, kOnOffWords, dcb.fOutxCtsFlow); }},
    {L"IDSR", [](std::wstring_view v, NSerialDcb& dcb) { return ReadWord(v, kOnOffWords, dcb.fDsrSensitivity); }},
    {L"DTR", [](std::wstring_view v, NSerialDcb& dcb) { return ReadWord(v, kDtrWords, dcb.fDtrControl); }},
    {L"RTS", [](std::wstring_view v, NSerialDcb& dcb) { return ReadWord(v, kRtsWords, dcb.fRtsControl); }},
};

bool SetItem(std::wstring_view key, std::wstring_view v, NSerialDcb& dcb)
{
    if (v.empty()) return false;
    for (const SKey& k : kKeys)
        if (k.key == key) return k.set(v, dcb);
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
    // A word only where one reads back as this value.
    auto word = [&item](const wchar_t* key, uint8_t value, std::span<const SWord> words) {
        if (const wchar_t* text = WordOf(value, words)) item(key, text);
    };
    auto onOff = [&word](const wchar_t* key, bool on) { word(key, on ? 1 : 0, kOnOffWords); };
    // A rate of 0 is refused on reading and an abbreviation reads as hundreds.
    if (dcb.BaudRate != 0 && !IsHundredsAbbreviation(dcb.BaudRate)) item(L"BAUD", std::to_wstring(dcb.BaudRate));
    if (!dcb.fParity) item(L"PARITY", L"N");
    else if (dcb.Parity <= 4) item(L"PARITY", std::wstring(1, kParityLetters[dcb.Parity]));
    if (dcb.ByteSize >= 5 && dcb.ByteSize <= 8) item(L"DATA", std::to_wstring(dcb.ByteSize));
    word(L"STOP", dcb.StopBits, kStopWords);
    onOff(L"XON", dcb.fOutX || dcb.fInX);
    onOff(L"ODSR", dcb.fOutxDsrFlow);
    onOff(L"OCTS", dcb.fOutxCtsFlow);
    word(L"DTR", dcb.fDtrControl, kDtrWords);
    word(L"RTS", dcb.fRtsControl, kRtsWords);
    onOff(L"IDSR", dcb.fDsrSensitivity);
    return out;
}

std::wstring NSerialModeShort(const NSerialDcb& dcb)
{
    std::wstring out = std::to_wstring(dcb.BaudRate);
    out += L'-';
    out += std::to_wstring(dcb.ByteSize);
    out += L'-';
    if (!dcb.fParity) out += L'N';
    else out += dcb.Parity <= 4 ? kParityLetters[dcb.Parity] : L'?';
    out += L'-';
    const wchar_t* stop = WordOf(dcb.StopBits, kStopWords);
    out += stop != nullptr ? stop : L"?";
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
