// libFuzzer target: the JSON parser and writer.
// The input bytes are taken as UTF-16LE code units (an odd last byte is dropped), so
// every code unit value reaches the parser. Whatever parses must write, and what is
// written must parse back to an equal value, in both layouts.
#include "foundation/Njv.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text(size / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));

    Njv value;
    size_t used = 0;
    if (!value.Parse(text, &used)) {
        if (!value.IsUndefined() || used > text.size())
            std::abort();
        return 0;
    }
    if (used == 0 || used > text.size())
        std::abort();
    for (bool pretty : {false, true}) {
        for (bool escape : {false, true}) {
            std::wstring out;
            if (!value.Write(out, pretty, escape))
                std::abort();  // a parsed tree has no cycles and respects the depth limit
            Njv back;
            size_t backUsed = 0;
            if (!back.Parse(out, &backUsed) || backUsed != out.size() || !back.Equals(value))
                std::abort();
        }
    }
    return 0;
}
