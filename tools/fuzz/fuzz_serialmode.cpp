// Serial mode strings on arbitrary text. Invariants: a refused text leaves the
// block alone; an accepted one yields a canonical form that parses, reads back
// to the same settings, and normalises to itself.
#include "transport/SerialMode.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
void Check(bool ok)
{
    if (!ok) std::abort();
}

// The settings the canonical form expresses, when they are expressible.
bool SameSettings(const NSerialDcb& a, const NSerialDcb& b)
{
    return a.BaudRate == b.BaudRate && a.fParity == b.fParity && a.Parity == b.Parity && a.ByteSize == b.ByteSize &&
           a.StopBits == b.StopBits && (a.fOutX || a.fInX) == (b.fOutX || b.fInX) && a.fOutxDsrFlow == b.fOutxDsrFlow &&
           a.fOutxCtsFlow == b.fOutxCtsFlow && a.fDtrControl == b.fDtrControl && a.fRtsControl == b.fRtsControl &&
           a.fDsrSensitivity == b.fDsrSensitivity;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const auto prefixes = (data[0] & 1) ? NSerialModePrefix::kComOrDevice : NSerialModePrefix::kCom;
    std::wstring text;
    for (size_t i = 1; i < size; ++i) text.push_back(data[i] == 0xFF ? L'\u0130' : static_cast<wchar_t>(data[i]));

    NSerialDcb dcb;
    dcb.XonChar = 3;
    const NSerialDcb before = dcb;
    NSerialModePort port;
    port.name = L"unchanged";
    if (!NParseSerialMode(text, dcb, &port, prefixes)) {
        Check(dcb == before);
        Check(port.name == L"unchanged" && !port.named);
        Check(NNormalizeSerialMode(text).empty() || prefixes == NSerialModePrefix::kComOrDevice);
        return 0;
    }
    Check(!port.named || (port.number != 0 && port.name.size() > 3 && port.name.compare(0, 3, L"COM") == 0));
    Check(dcb.XonChar == 3);
    Check(dcb.ByteSize >= 5 && dcb.ByteSize <= 8 && dcb.StopBits <= 2 && dcb.BaudRate != 0);

    const std::wstring canonical = NSerialModeCanonical(dcb);
    NSerialDcb again;
    again.BaudRate = 1;  // anything the text does not name would show
    Check(NParseSerialMode(canonical, again));
    Check(SameSettings(dcb, again));
    Check(NNormalizeSerialMode(canonical) == canonical);

    std::wstring shortForm;
    if (prefixes == NSerialModePrefix::kCom) {
        Check(NSerialModeShort(text, shortForm) && !shortForm.empty());
        const std::wstring normal = NNormalizeSerialMode(text);
        Check(!normal.empty());
        Check(NNormalizeSerialMode(normal) == normal);
    }
    return 0;
}
