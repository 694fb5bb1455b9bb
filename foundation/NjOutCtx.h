#pragma once
// Output context of the JSON writer: where the text goes, how it is laid out, and
// the chain of enclosing arrays and objects being written.
//
// Pretty layout: CR LF line ends, four blanks per depth level, a value that follows
// a key is preceded by one blank instead of its indentation. Compact layout has no
// whitespace at all.
#include <cstddef>
#include <string>
#include <string_view>

class NjEle;

class NjOutCtx {
public:
    NjOutCtx(std::wstring& out, bool pretty, bool escapeNonAscii);

    // Called by an array or object before it writes itself: false when it is one of
    // the containers already being written around this point (it contains itself,
    // directly or further down) or when it would nest deeper than kNjMaxDepth.
    bool MayEnter(const NjEle& container) const;
    // Context for the members of `container`, one level deeper.
    NjOutCtx Child(const NjEle& container, bool afterKey) const;

    bool Pretty() const { return m_pretty; }
    int Depth() const { return m_depth; }

    // Starts a value: its indentation, or the blank after a key.
    void BeginValue();
    // Pretty only: a line end, and a line end followed by indentation.
    void LineEnd();
    void NewLine(int depth);
    void Put(std::wstring_view text) { m_out->append(text); }
    void Put(wchar_t c) { m_out->push_back(c); }
    // Quoted and escaped.
    void PutString(std::wstring_view text);
    // Shortest round-trip text; the plain form unless the exponent form is shorter.
    void PutNumber(double value);

    void SetAfterKey(bool afterKey) { m_afterKey = afterKey; }

private:
    std::wstring* m_out;
    bool m_pretty;
    bool m_escapeNonAscii;
    int m_depth = 0;
    bool m_afterKey = false;
    const NjOutCtx* m_parent = nullptr;
    const NjEle* m_container = nullptr;  // whose members this context writes
};
