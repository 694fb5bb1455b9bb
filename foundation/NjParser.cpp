#include "foundation/NjParser.h"

#include "foundation/ErrorCodes.h"
#include "foundation/HexDigit.h"
#include "foundation/NjEscape.h"

#include <charconv>
#include <cmath>
#include <new>

namespace {
bool IsSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

bool IsControl(wchar_t c)
{
    const uint32_t u = static_cast<uint32_t>(c);
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}
}  // namespace

bool NjParser::Fail(uint32_t error)
{
    if (m_error == 0)
        m_error = error;
    return false;
}

void NjParser::SkipSpace()
{
    while (m_pos != m_end && IsSpace(*m_pos))
        ++m_pos;
}

bool NjParser::Parse(Njv& out)
{
    m_error = 0;
    try {
        return Value(out, 0);
    } catch (const std::bad_alloc&) {
        return Fail(nerr::kNotEnoughMemory);
    }
}

bool NjParser::Value(Njv& out, int depth)
{
    SkipSpace();
    if (AtEnd() || *m_pos == L'\0')
        return Fail(nerr::kInvalidData);
    switch (*m_pos) {
    case L'"': {
        std::wstring text;
        if (!String(text))
            return false;
        out = Njv::MakeString(text);
        return !out.IsUndefined() || Fail(nerr::kNotEnoughMemory);
    }
    case L'[': return Array(out, depth);
    case L'{': return Object(out, depth);
    case L't':
        if (!Word(L"true"))
            return false;
        out = Njv::MakeBool(true);
        return true;
    case L'f':
        if (!Word(L"false"))
            return false;
        out = Njv::MakeBool(false);
        return true;
    case L'n':
        if (!Word(L"null"))
            return false;
        out = Njv::MakeNull();
        return true;
    default: return Number(out);
    }
}

bool NjParser::Array(Njv& out, int depth)
{
    if (depth >= kNjMaxDepth)
        return Fail(nerr::kInvalidData);
    ++m_pos;  // '['
    Njv array = Njv::MakeArray();
    if (array.IsUndefined())
        return Fail(nerr::kNotEnoughMemory);
    SkipSpace();
    if (!AtEnd() && *m_pos == L']') {
        ++m_pos;
        out = std::move(array);
        return true;
    }
    for (;;) {
        Njv item;
        if (!Value(item, depth + 1))
            return false;
        if (!array.Append(item))
            return Fail(nerr::kNotEnoughMemory);
        SkipSpace();
        if (AtEnd())
            return Fail(nerr::kInvalidData);
        if (*m_pos == L']') {
            ++m_pos;
            out = std::move(array);
            return true;
        }
        if (*m_pos != L',')
            return Fail(nerr::kInvalidData);
        ++m_pos;
        SkipSpace();
        if (!AtEnd() && *m_pos == L']')
            return Fail(nerr::kInvalidData);  // trailing comma
    }
}

bool NjParser::Object(Njv& out, int depth)
{
    if (depth >= kNjMaxDepth)
        return Fail(nerr::kInvalidData);
    ++m_pos;  // '{'
    Njv object = Njv::MakeObject();
    if (object.IsUndefined())
        return Fail(nerr::kNotEnoughMemory);
    SkipSpace();
    if (!AtEnd() && *m_pos == L'}') {
        ++m_pos;
        out = std::move(object);
        return true;
    }
    std::wstring key;
    for (;;) {
        SkipSpace();
        // Only a string can be a key: anything else fails here, where it starts.
        if (AtEnd() || *m_pos != L'"')
            return Fail(nerr::kInvalidData);
        if (!String(key))
            return false;
        SkipSpace();
        if (AtEnd() || *m_pos != L':')
            return Fail(nerr::kInvalidData);
        ++m_pos;
        Njv value;
        if (!Value(value, depth + 1))
            return false;
        if (!object.SetMember(key, value))
            return Fail(nerr::kNotEnoughMemory);
        SkipSpace();
        if (AtEnd())
            return Fail(nerr::kInvalidData);
        if (*m_pos == L'}') {
            ++m_pos;
            out = std::move(object);
            return true;
        }
        if (*m_pos != L',')
            return Fail(nerr::kInvalidData);
        ++m_pos;
        SkipSpace();
        if (!AtEnd() && *m_pos == L'}')
            return Fail(nerr::kInvalidData);  // trailing comma
    }
}

bool NjParser::String(std::wstring& text)
{
    text.clear();
    ++m_pos;  // opening quote
    for (;;) {
        if (AtEnd() || *m_pos == L'\0' || IsControl(*m_pos))
            return Fail(nerr::kInvalidData);
        const wchar_t c = *m_pos++;
        if (c == L'"')
            return true;
        if (c != L'\\') {
            text.push_back(c);
            continue;
        }
        if (AtEnd() || *m_pos == L'\0' || IsControl(*m_pos))
            return Fail(nerr::kInvalidData);
        const wchar_t e = *m_pos++;
        switch (e) {
        case L'u': {
            uint32_t unit = 0;
            for (int i = 0; i < 4; ++i) {
                const int h = AtEnd() ? -1 : NHexDigitValue(*m_pos);
                if (h < 0)
                    return Fail(nerr::kInvalidData);
                unit = unit * 16 + static_cast<uint32_t>(h);
                ++m_pos;
            }
            text.push_back(static_cast<wchar_t>(unit));
            break;
        }
        default: text.push_back(NjUnescape(e)); break;
        }
    }
}

bool NjParser::Word(const wchar_t* word)
{
    const wchar_t* p = m_pos;
    for (; *word != L'\0'; ++word, ++p)
        if (p == m_end || *p != *word)
            return Fail(nerr::kInvalidData);
    m_pos = p;
    return true;
}

bool NjParser::Number(Njv& out)
{
    const wchar_t* const start = m_pos;
    const wchar_t* p = m_pos;
    bool nonZero = false;  // a non-zero mantissa digit: the number cannot read as 0
    if (p != m_end && *p == L'-')
        ++p;
    if (p == m_end || !IsDigit(*p))
        return Fail(nerr::kInvalidData);
    if (*p == L'0') {
        ++p;
        // "01" is no number, not a 0 followed by text the caller might ignore.
        if (p != m_end && IsDigit(*p)) {
            m_pos = p;
            return Fail(nerr::kInvalidData);
        }
    } else {
        while (p != m_end && IsDigit(*p))
            ++p;
        nonZero = true;
    }
    if (p != m_end && *p == L'.') {
        ++p;
        if (p == m_end || !IsDigit(*p)) {
            m_pos = p;
            return Fail(nerr::kInvalidData);
        }
        for (; p != m_end && IsDigit(*p); ++p)
            nonZero = nonZero || *p != L'0';
    }
    if (p != m_end && (*p == L'e' || *p == L'E')) {
        ++p;
        if (p != m_end && (*p == L'+' || *p == L'-'))
            ++p;
        if (p == m_end || !IsDigit(*p)) {
            m_pos = p;
            return Fail(nerr::kInvalidData);
        }
        while (p != m_end && IsDigit(*p))
            ++p;
    }
    const size_t length = static_cast<size_t>(p - start);
    if (length > kMaxNumberLength)
        return Fail(nerr::kInvalidData);
    m_digits.assign(length, '\0');
    for (size_t i = 0; i < length; ++i)
        m_digits[i] = static_cast<char>(start[i]);
    // from_chars rather than the C library: no locale (a decimal comma would break
    // every file) and the same result on every platform.
    double value = 0;
    const auto r = std::from_chars(m_digits.data(), m_digits.data() + length, value);
    if (r.ec != std::errc() || r.ptr != m_digits.data() + length || std::isinf(value) || (value == 0 && nonZero))
        return Fail(nerr::kInvalidData);  // out of range: cursor stays at the number's start
    out = Njv::MakeNumber(value);
    if (out.IsUndefined())
        return Fail(nerr::kNotEnoughMemory);
    m_pos = p;
    return true;
}
