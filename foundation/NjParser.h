#pragma once
// Recursive-descent JSON parser over UTF-16 text. Used through Njv::Parse.
//
// Grammar notes: whitespace is space, tab, line feed, vertical tab, form feed and
// carriage return. Strings may not hold raw control characters (U+0000-U+001F,
// U+007F-U+009F); \uXXXX gives that code unit as it stands (surrogates are neither
// paired nor checked); a backslash before any other character stands for that
// character. Numbers follow the strict JSON grammar (no "+", no leading zeros, no
// bare "." or exponent, no Inf/NaN). "t", "f" and "n" must spell true, false, null.
//
// Limits, so that no input can exhaust the stack or the number buffer:
//   - kNjMaxDepth (1,000) nested arrays and objects. Each level costs two frames:
//     about 230 bytes on i686 and 400 on x86-64 in release builds (parser, writer
//     and equality alike, measured with -fstack-usage), so the deepest document
//     needs under 0.5 MB, well inside the 1 MB main-thread stack of a Win32 program.
//   - kMaxNumberLength (4,096) characters of one number.
#include "foundation/Njv.h"

#include <cstdint>
#include <string>

class NjParser {
public:
    static constexpr size_t kMaxNumberLength = 4096;

    NjParser(const wchar_t* begin, const wchar_t* end) : m_pos(begin), m_end(end) {}

    // One value, after optional whitespace. On success Position() is just after it;
    // on failure it is where the fault was found and Error() says why.
    bool Parse(Njv& out);
    const wchar_t* Position() const { return m_pos; }
    uint32_t Error() const { return m_error; }

private:
    bool Value(Njv& out, int depth);
    bool Array(Njv& out, int depth);
    bool Object(Njv& out, int depth);
    bool String(std::wstring& text);
    bool Word(const wchar_t* word);
    bool Number(Njv& out);
    void SkipSpace();
    bool AtEnd() const { return m_pos == m_end; }
    bool Fail(uint32_t error);

    const wchar_t* m_pos;
    const wchar_t* m_end;
    uint32_t m_error = 0;
    std::string m_digits;  // number text, reused so that recursion frames stay small
};
