#pragma once
// JSON values. Njv is the holder programs work with; it shares one element (NjEle):
// a number, string, array, object, bool, null or undefined. Copying a holder shares
// the element; arrays and objects are changed in place through any holder that
// shares them.
//
//     Njv doc;
//     if (!doc.Parse(text)) ...                       // NGetLastError(): kInvalidData
//     Njv rows;
//     doc.GetMember(L"Rows", rows);
//     std::wstring out;
//     doc.Write(out, /*pretty=*/true);
//
// A holder may be read and assigned from several threads at once: the element
// pointer is exchanged atomically, and every operation first takes a reference to
// the element it works on, so an element is never destroyed under a reader.
//
// Parsing: strict JSON numbers, strings with \uXXXX escapes taken as UTF-16 code
// units as they stand, no raw control characters in strings. Nesting deeper than
// kNjMaxDepth (1,000) arrays and objects fails, as does a number of more than
// 4,096 characters or out of the double range (a non-zero number that would read as
// zero or infinity). Nothing after the value is examined.
//
// This header also brings in every element class.
#include "foundation/NClassInfo.h"
#include "foundation/NjEle.h"

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class Njv : public NClassInfo {
    N_DECLARE_CLASS_INFO(Njv)
public:
    Njv() noexcept;
    Njv(const Njv& other) noexcept;
    Njv(Njv&& other) noexcept;
    Njv& operator=(const Njv& other) noexcept;
    Njv& operator=(Njv&& other) noexcept;
    ~Njv() override;

    static Njv MakeNumber(double value);
    static Njv MakeString(std::wstring_view text);
    static Njv MakeBool(bool value);
    static Njv MakeNull();
    static Njv MakeArray();
    static Njv MakeObject();
    // Takes over one reference to `element` (a new element comes with one); null
    // gives an undefined holder.
    static Njv Adopt(NjEle* element) noexcept;

    int Type() const;
    bool IsUndefined() const { return Type() == kNjUndefined; }
    bool IsNull() const { return Type() == kNjNull; }
    bool IsBool() const { return Type() == kNjBool; }
    bool IsNumber() const { return Type() == kNjNumber; }
    bool IsString() const { return Type() == kNjString; }
    bool IsArray() const { return Type() == kNjArray; }
    bool IsObject() const { return Type() == kNjObject; }
    void SetUndefined() noexcept;

    // Array elements, object members, string length; 0 otherwise.
    size_t Count() const;

    // Scalars: false (and `value` untouched) when the holder is of another kind.
    bool GetBool(bool& value) const;
    bool GetNumber(double& value) const;
    bool GetString(std::wstring& value) const;

    // Objects.
    bool GetMember(std::wstring_view key, Njv& out) const;
    bool HasMember(std::wstring_view key) const;
    bool SetMember(std::wstring_view key, const Njv& value);
    bool TakeMember(std::wstring_view key, Njv& out);
    bool RemoveMember(std::wstring_view key);
    bool ListKeys(std::vector<std::wstring>& keys) const;
    bool ForEachMember(const NjMemberVisitor& visit) const;

    // Arrays. A negative index counts from the end.
    bool GetAt(ptrdiff_t index, Njv& out) const;
    bool Append(const Njv& value);
    bool InsertAt(ptrdiff_t index, const Njv& value);
    bool SetAt(ptrdiff_t index, const Njv& value);
    bool RemoveRange(size_t start, size_t count);

    // Arrays and objects.
    bool Clear();

    // Same kind and payload; arrays element by element, objects by key (in any order).
    bool Equals(const Njv& other) const { return EqualsAt(other, 0); }
    bool EqualsAt(const Njv& other, int depth) const;

    // Parses one value from [cursor, end). On success the holder holds it and cursor
    // points just after it; on failure the holder is undefined, the last error is
    // kInvalidData and cursor points where the fault was found.
    bool Parse(const wchar_t*& cursor, const wchar_t* end);
    // Parses the value at the start of text; *used (if given) receives how many
    // code units it took, or the offset of the fault.
    bool Parse(std::wstring_view text, size_t* used = nullptr);
    // A whole document: one value with nothing but whitespace after it.
    bool ParseWhole(std::wstring_view text);

    // Appends the value's text to out. Fails with kInvalidData, leaving out as it was,
    // for an undefined value, an array or object that contains itself, or nesting
    // deeper than kNjMaxDepth.
    bool Write(std::wstring& out, bool pretty, bool escapeNonAscii = false) const;
    bool WriteTo(NjOutCtx& ctx) const;

private:
    NjEle* Lock() const noexcept;
    void Unlock(NjEle* element) const noexcept;
    // The element with a reference taken; the caller releases it.
    NjEle* Pin() const noexcept;
    void Replace(NjEle* referenced) noexcept;

    // Never null; while an operation copies the pointer out it briefly holds kBusy.
    mutable std::atomic<NjEle*> m_ele;
};

#include "foundation/NjArr.h"
#include "foundation/NjBoo.h"
#include "foundation/NjNul.h"
#include "foundation/NjNum.h"
#include "foundation/NjObj.h"
#include "foundation/NjStr.h"
#include "foundation/NjUnd.h"
