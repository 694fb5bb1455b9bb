// Window placement texts from arbitrary text. Invariants: an accepted text
// formats to a text that parses to the same fields, and formatting is the
// identity on texts written without blanks; a refused text changes nothing.
#include "foundation/WindowPlacementText.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
void Check(bool ok)
{
    if (!ok) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i < size; ++i) text.push_back(static_cast<wchar_t>(data[i]));

    NWindowPlacementText p;
    p.left = 4242;
    const NWindowPlacementText before = p;
    if (!p.Parse(text)) {
        Check(p == before);
    } else {
        const std::wstring formatted = p.Format();
        NWindowPlacementText q;
        Check(q.Parse(formatted));
        Check(q == p);
        Check(q.Format() == formatted);
    }

    // Fields from the input: their text must parse back to them.
    if (size >= 40) {
        NWindowPlacementText r;
        std::memcpy(&r.flags, data, 4);
        std::memcpy(&r.showCmd, data + 4, 4);
        int32_t* f[] = {&r.minX, &r.minY, &r.maxX, &r.maxY, &r.left, &r.top, &r.right, &r.bottom};
        for (int i = 0; i < 8; ++i) std::memcpy(f[i], data + 8 + 4 * i, 4);
        NWindowPlacementText s;
        Check(s.Parse(r.Format()));
        Check(s == r);
    }
    return 0;
}
