// libFuzzer target: LMShades::FromJson on arbitrary text. Whatever the input,
// the import either succeeds with a set that exports and re-imports to itself,
// or fails leaving exactly the defaults.
#include "foundation/Utf.h"
#include "shades/LMShades.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::wstring defaults = LMShades().ToJson(false);
    std::wstring text = NUtf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    LMShades s;
    if (s.FromJson(text)) {
        if (s.RowCount() < LMShades::kBuiltInRows || s.RowCount() > LMShades::kMaxRows)
            std::abort();
        std::wstring out = s.ToJson(false);
        LMShades again;
        if (!again.FromJson(out) || again.ToJson(false) != out)
            std::abort();
        if (s.ToJson(true).empty())
            std::abort();
    } else if (s.ToJson(false) != defaults) {
        std::abort();
    }
    for (uint32_t c : {0u, 0x21u, 0x23u, 0x3Du, 0x7Eu, 0x121u})
        if (s.ClassifyLine(c) >= s.RowCount())
            std::abort();
    return 0;
}
