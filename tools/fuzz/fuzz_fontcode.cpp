// Font codes from arbitrary text. Invariants: what decodes encodes to a code
// that decodes to the same font, and encoding that again gives the same code;
// a refused code leaves the spec alone.
#include "foundation/FontCode.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {
void Check(bool ok)
{
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring code;
    for (size_t i = 0; i < size; ++i) code.push_back(data[i] >= 0xF0 ? static_cast<wchar_t>(0x3000 + data[i]) : static_cast<wchar_t>(data[i]));

    NFontSpec spec;
    spec.faceName = L"untouched";
    if (!NDecodeFontCode(code, spec)) {
        Check(spec.faceName == L"untouched");
        return 0;
    }
    Check(!spec.faceName.empty() && spec.faceName.size() <= NFontSpec::kMaxFaceName);
    Check(spec.pointSize > 0 && spec.pointSize <= NFontSpec::kMaxPointSize);
    Check(spec.weight <= 1000);

    const std::wstring encoded = NEncodeFontCode(spec);
    NFontSpec again;
    Check(NDecodeFontCode(encoded, again));
    Check(again.faceName == spec.faceName);
    Check(again.pointSize == spec.pointSize);
    Check(again.italic == spec.italic && again.underline == spec.underline && again.strikeOut == spec.strikeOut);
    // Weight 0 has no code and comes back as normal.
    Check(again.weight == (spec.weight == 0 ? 400u : spec.weight));
    Check(NEncodeFontCode(again) == encoded);
    return 0;
}
