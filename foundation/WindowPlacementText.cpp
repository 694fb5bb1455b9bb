#include "foundation/WindowPlacementText.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Reads one number at `pos` and the blanks around it; signed numbers must fit
// int32, unsigned ones uint32.
bool ReadField(std::wstring_view s, size_t& pos, bool isSigned, int64_t& out)
{
    while (pos < s.size() && IsBlank(s[pos])) ++pos;
    bool negative = false;
    if (isSigned && pos < s.size() && s[pos] == L'-') {
        negative = true;
        ++pos;
    }
    const size_t first = pos;
    int64_t v = 0;
    while (pos < s.size() && s[pos] >= L'0' && s[pos] <= L'9') {
        v = v * 10 + (s[pos++] - L'0');
        if (v > 0xFFFFFFFFll) return false;
    }
    if (pos == first) return false;
    if (negative) v = -v;
    if (isSigned ? (v < INT32_MIN || v > INT32_MAX) : v > UINT32_MAX) return false;
    while (pos < s.size() && IsBlank(s[pos])) ++pos;
    out = v;
    return true;
}

}  // namespace

std::wstring NWindowPlacementText::Format() const
{
    std::wstring s = std::to_wstring(flags);
    for (int64_t v : {int64_t{showCmd}, int64_t{minX}, int64_t{minY}, int64_t{maxX}, int64_t{maxY}, int64_t{left},
                      int64_t{top}, int64_t{right}, int64_t{bottom}}) {
        s += L',';
        s += std::to_wstring(v);
    }
    return s;
}

bool NWindowPlacementText::Parse(std::wstring_view text)
{
    int64_t v[10];
    size_t pos = 0;
    for (int i = 0; i < 10; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != L',') return NFail(nerr::kInvalidData);
            ++pos;
        }
        if (!ReadField(text, pos, i >= 2, v[i])) return NFail(nerr::kInvalidData);
    }
    if (pos != text.size()) return NFail(nerr::kInvalidData);
    flags = static_cast<uint32_t>(v[0]);
    showCmd = static_cast<uint32_t>(v[1]);
    int32_t* fields[] = {&minX, &minY, &maxX, &maxY, &left, &top, &right, &bottom};
    for (int i = 0; i < 8; ++i) *fields[i] = static_cast<int32_t>(v[i + 2]);
    return true;
}
