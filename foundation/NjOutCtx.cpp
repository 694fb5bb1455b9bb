#include "foundation/NjOutCtx.h"

#include "foundation/NjEle.h"
#include "foundation/NjEscape.h"
#include "foundation/NjNumberText.h"

NjOutCtx::NjOutCtx(std::wstring& out, bool pretty, bool escapeNonAscii)
    : m_out(&out), m_pretty(pretty), m_escapeNonAscii(escapeNonAscii)
{
}

bool NjOutCtx::MayEnter(const NjEle& container) const
{
    if (m_depth >= kNjMaxDepth)
        return false;
    for (const NjOutCtx* c = this; c != nullptr; c = c->m_parent)
        if (c->m_container == &container)
            return false;
    return true;
}

NjOutCtx NjOutCtx::Child(const NjEle& container, bool afterKey) const
{
    NjOutCtx child(*m_out, m_pretty, m_escapeNonAscii);
    child.m_depth = m_depth + 1;
    child.m_afterKey = afterKey;
    child.m_parent = this;
    child.m_container = &container;
    return child;
}

void NjOutCtx::BeginValue()
{
    if (!m_pretty)
        return;
    if (m_afterKey)
        m_out->push_back(L' ');
    else
        m_out->append(static_cast<size_t>(m_depth) * 4, L' ');
}

void NjOutCtx::LineEnd()
{
    if (m_pretty)
        m_out->append(L"\r\n");
}

void NjOutCtx::NewLine(int depth)
{
    if (!m_pretty)
        return;
    m_out->append(L"\r\n");
    m_out->append(static_cast<size_t>(depth) * 4, L' ');
}

namespace {
bool IsHighSurrogate(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void PutEscape(std::wstring& out, uint32_t unit)
{
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    out.append(L"\\u");
    for (int shift = 12; shift >= 0; shift -= 4)
        out.push_back(kHex[(unit >> shift) & 0xF]);
}
}  // namespace

void NjOutCtx::PutString(std::wstring_view text)
{
    std::wstring& out = *m_out;
    out.reserve(out.size() + text.size() + 2);
    out.push_back(L'"');
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t c = static_cast<uint32_t>(text[i]);
        if (const wchar_t letter = c <= 0xFFFF ? NjEscapeLetter(static_cast<wchar_t>(c)) : 0) {
            out.push_back(L'\\');
            out.push_back(letter);
            continue;
        }
        if (c > 0xFFFF) {
            // Only where wchar_t is 32 bits and someone stored a whole code point:
            // written as the UTF-16 pair it stands for.
            if (m_escapeNonAscii && c <= 0x10FFFF) {
                PutEscape(out, 0xD800 + ((c - 0x10000) >> 10));
                PutEscape(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                out.push_back(text[i]);
            }
            continue;
        }
        // DEL and the C1 controls are escaped even without the flag: the parser refuses
        // them raw, and what we write must read back. A surrogate without its partner
        // is escaped too, since it would not survive the UTF-8 file it is going into.
        bool escape = c < 0x20 || (c >= 0x7F && c <= 0x9F) || (m_escapeNonAscii && c >= 0x7F);
        if (!escape && IsHighSurrogate(c)) {
            if (i + 1 < text.size() && IsLowSurrogate(static_cast<uint32_t>(text[i + 1]))) {
                out.push_back(text[i]);
                out.push_back(text[++i]);
                continue;
            }
            escape = true;
        } else if (!escape && IsLowSurrogate(c)) {
            escape = true;
        }
        if (escape)
            PutEscape(out, c);
        else
            out.push_back(text[i]);
    }
    out.push_back(L'"');
}

void NjOutCtx::PutNumber(double value)
{
    m_out->append(NjNumberText(value));
}
