#pragma once
// Base of every JSON element. Programs work with elements through the holder Njv;
// elements are the shared payload behind it.
//
// The virtual operations keep a fixed slot order after the class information and the
// destructor: type, count, payload, get member, get at index, visit members, list
// keys, has member, equals, write, add reference, release, append, set member,
// insert at index, take member, set at index, remove range, remove member, clear.
// An element answers 0, false or nothing for the operations that do not apply to it.
#include "foundation/NClassInfo.h"
#include "foundation/NHTKey.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class Njv;
class NjOutCtx;

// Type codes.
enum NjType : int {
    kNjUndefined = -1,
    kNjNull = 0,
    kNjBool = 1,
    kNjNumber = 2,
    kNjString = 3,
    kNjArray = 4,
    kNjObject = 5,
};

// Nesting limit of parsing, writing and comparing. Recursion costs stack per level,
// and the main thread of a Win32 program has 1 MB of it; no real document nests more
// than a few dozen levels.
constexpr int kNjMaxDepth = 1000;

// Visitor of object members; returning false stops the walk.
using NjMemberVisitor = std::function<bool(const std::wstring& key, const Njv& value)>;

class NjEle : public NClassInfo {
    N_DECLARE_CLASS_INFO(NjEle)
public:
    NjEle(const NjEle&) = delete;
    NjEle& operator=(const NjEle&) = delete;
    ~NjEle() override;

    virtual int Type() const;
    // Array elements, object members or string length in code units.
    virtual size_t Count() const;
    // const bool*, const double* or the string's code units; null otherwise.
    virtual const void* Payload() const;
    virtual bool GetMember(const NHTKey& key, Njv& out) const;
    // A negative index counts from the end; outside the array `out` is left alone.
    virtual bool GetAt(ptrdiff_t index, Njv& out) const;
    // Members in insertion order, from a snapshot: the visitor may change the object.
    virtual bool ForEachMember(const NjMemberVisitor& visit) const;
    virtual bool ListKeys(std::vector<std::wstring>& keys) const;
    virtual bool HasMember(const NHTKey& key) const;
    // `depth` is the nesting reached so far; past kNjMaxDepth the answer is false.
    virtual bool Equals(const NjEle& other, int depth) const;
    virtual bool Write(NjOutCtx& ctx) const;
    virtual void AddRef();
    // True when this released the last reference and the element is destroyed.
    virtual bool Release();
    virtual bool Append(const Njv& value);
    // Replaces an existing member in place, else adds it at the end of the order.
    virtual bool SetMember(const NHTKey& key, const Njv& value);
    // Inserts before index (0..count); a negative index counts from the end.
    virtual bool InsertAt(ptrdiff_t index, const Njv& value);
    // Removes a member and hands its value to `out`.
    virtual bool TakeMember(const NHTKey& key, Njv& out);
    // A negative index counts from the end; the array grows (with nulls) to include index.
    virtual bool SetAt(ptrdiff_t index, const Njv& value);
    virtual bool RemoveRange(size_t start, size_t count);
    virtual bool RemoveMember(const NHTKey& key);
    virtual bool Clear();

protected:
    NjEle() = default;
};
