#include "foundation/Njv.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/NjOutCtx.h"
#include "foundation/NjParser.h"

#include <cstdint>
#include <new>
#include <thread>

N_DEFINE_CLASS_INFO(Njv, NClassInfo)

namespace {
NjEle* Busy() noexcept
{
    return reinterpret_cast<NjEle*>(uintptr_t(1));
}

// Holds the reference Pin() took for the duration of one operation.
class SPinned {
public:
    explicit SPinned(NjEle* e) noexcept : m_e(e) {}
    ~SPinned() { m_e->Release(); }
    SPinned(const SPinned&) = delete;
    SPinned& operator=(const SPinned&) = delete;
    NjEle* operator->() const noexcept { return m_e; }
    NjEle& operator*() const noexcept { return *m_e; }

private:
    NjEle* m_e;
};

template <class T>
Njv MakeCounted(T* element)
{
    // nothrow: running out of memory gives an undefined value, which no container
    // accepts, so the failure surfaces at the next operation.
    if (element == nullptr)
        NSetLastError(nerr::kNotEnoughMemory);
    return Njv::Adopt(element);
}
}  // namespace

Njv::Njv() noexcept : m_ele(NjUnd::Instance()) {}

Njv::Njv(const Njv& other) noexcept : m_ele(other.Pin()) {}

Njv::Njv(Njv&& other) noexcept : m_ele(NjUnd::Instance())
{
    NjEle* taken = other.Lock();
    other.Unlock(NjUnd::Instance());
    m_ele.store(taken, std::memory_order_release);
}

Njv& Njv::operator=(const Njv& other) noexcept
{
    if (this != &other)
        Replace(other.Pin());
    return *this;
}

Njv& Njv::operator=(Njv&& other) noexcept
{
    if (this != &other) {
        NjEle* taken = other.Lock();
        other.Unlock(NjUnd::Instance());
        Replace(taken);
    }
    return *this;
}

Njv::~Njv()
{
    m_ele.load(std::memory_order_acquire)->Release();
}

NjEle* Njv::Lock() const noexcept
{
    for (unsigned spins = 0;; ++spins) {
        NjEle* e = m_ele.exchange(Busy(), std::memory_order_acquire);
        if (e != Busy())
            return e;
        if (spins >= 64)
            std::this_thread::yield();
    }
}

void Njv::Unlock(NjEle* element) const noexcept
{
    m_ele.store(element, std::memory_order_release);
}

NjEle* Njv::Pin() const noexcept
{
    NjEle* e = Lock();
    e->AddRef();
    Unlock(e);
    return e;
}

void Njv::Replace(NjEle* referenced) noexcept
{
    NjEle* old = Lock();
    Unlock(referenced);
    old->Release();
}

void Njv::SetUndefined() noexcept
{
    Replace(NjUnd::Instance());
}

Njv Njv::Adopt(NjEle* element) noexcept
{
    Njv v;
    if (element != nullptr)
        v.m_ele.store(element, std::memory_order_release);
    return v;
}

Njv Njv::MakeNumber(double value) { return MakeCounted(new (std::nothrow) NjNum(value)); }
Njv Njv::MakeArray() { return MakeCounted(new (std::nothrow) NjArr()); }
Njv Njv::MakeObject() { return MakeCounted(new (std::nothrow) NjObj()); }
Njv Njv::MakeBool(bool value) { return Adopt(NjBoo::Instance(value)); }
Njv Njv::MakeNull() { return Adopt(NjNul::Instance()); }

Njv Njv::MakeString(std::wstring_view text)
{
    try {
        return MakeCounted(new NjStr(text));
    } catch (const std::bad_alloc&) {
        return MakeCounted<NjStr>(nullptr);
    }
}

int Njv::Type() const
{
    SPinned e(Pin());
    return e->Type();
}

size_t Njv::Count() const
{
    SPinned e(Pin());
    return e->Count();
}

bool Njv::GetBool(bool& value) const
{
    SPinned e(Pin());
    if (e->Type() != kNjBool)
        return NFail(nerr::kInvalidParameter);
    value = *static_cast<const bool*>(e->Payload());
    return true;
}

bool Njv::GetNumber(double& value) const
{
    SPinned e(Pin());
    if (e->Type() != kNjNumber)
        return NFail(nerr::kInvalidParameter);
    value = *static_cast<const double*>(e->Payload());
    return true;
}

bool Njv::GetString(std::wstring& value) const
{
    SPinned e(Pin());
    if (e->Type() != kNjString)
        return NFail(nerr::kInvalidParameter);
    try {
        value.assign(static_cast<const wchar_t*>(e->Payload()), e->Count());
    } catch (const std::bad_alloc&) {
        return NFail(nerr::kNotEnoughMemory);
    }
    return true;
}

bool Njv::GetMember(std::wstring_view key, Njv& out) const
{
    SPinned e(Pin());
    return e->GetMember(NHTKey(key), out);
}

bool Njv::HasMember(std::wstring_view key) const
{
    SPinned e(Pin());
    return e->HasMember(NHTKey(key));
}

bool Njv::SetMember(std::wstring_view key, const Njv& value)
{
    SPinned e(Pin());
    return e->SetMember(NHTKey(key), value);
}

bool Njv::TakeMember(std::wstring_view key, Njv& out)
{
    SPinned e(Pin());
    return e->TakeMember(NHTKey(key), out);
}

bool Njv::RemoveMember(std::wstring_view key)
{
    SPinned e(Pin());
    return e->RemoveMember(NHTKey(key));
}

bool Njv::ListKeys(std::vector<std::wstring>& keys) const
{
    SPinned e(Pin());
    return e->ListKeys(keys);
}

bool Njv::ForEachMember(const NjMemberVisitor& visit) const
{
    SPinned e(Pin());
    return e->ForEachMember(visit);
}

bool Njv::GetAt(ptrdiff_t index, Njv& out) const
{
    SPinned e(Pin());
    return e->GetAt(index, out);
}

bool Njv::Append(const Njv& value)
{
    SPinned e(Pin());
    return e->Append(value);
}

bool Njv::InsertAt(ptrdiff_t index, const Njv& value)
{
    SPinned e(Pin());
    return e->InsertAt(index, value);
}

bool Njv::SetAt(ptrdiff_t index, const Njv& value)
{
    SPinned e(Pin());
    return e->SetAt(index, value);
}

bool Njv::RemoveRange(size_t start, size_t count)
{
    SPinned e(Pin());
    return e->RemoveRange(start, count);
}

bool Njv::Clear()
{
    SPinned e(Pin());
    return e->Clear();
}

bool Njv::EqualsAt(const Njv& other, int depth) const
{
    SPinned a(Pin());
    SPinned b(other.Pin());
    return a->Equals(*b, depth);
}

bool Njv::Parse(const wchar_t*& cursor, const wchar_t* end)
{
    if (NIsBadObjectPtr(cursor) || end < cursor) {
        SetUndefined();
        return NFail(nerr::kInvalidParameter);
    }
    NjParser parser(cursor, end);
    Njv value;
    const bool ok = parser.Parse(value);
    cursor = parser.Position();
    if (!ok) {
        SetUndefined();
        return NFail(parser.Error());
    }
    *this = std::move(value);
    return true;
}

bool Njv::Parse(std::wstring_view text, size_t* used)
{
    // An empty view may have no data pointer; it fails like any end of text.
    static const wchar_t kNothing = L'\0';
    const wchar_t* begin = text.empty() ? &kNothing : text.data();
    const wchar_t* cursor = begin;
    const bool ok = Parse(cursor, begin + text.size());
    if (used != nullptr)
        *used = static_cast<size_t>(cursor - begin);
    return ok;
}

bool Njv::ParseWhole(std::wstring_view text)
{
    size_t used = 0;
    if (!Parse(text, &used))
        return false;
    for (size_t i = used; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c != L' ' && c != L'\t' && c != L'\n' && c != L'\v' && c != L'\f' && c != L'\r') {
            SetUndefined();
            return NFail(nerr::kInvalidData);
        }
    }
    return true;
}

bool Njv::Write(std::wstring& out, bool pretty, bool escapeNonAscii) const
{
    const size_t before = out.size();
    try {
        NjOutCtx ctx(out, pretty, escapeNonAscii);
        if (WriteTo(ctx))
            return true;
    } catch (const std::bad_alloc&) {
        NSetLastError(nerr::kNotEnoughMemory);
    }
    out.resize(before);
    return false;
}

bool Njv::WriteTo(NjOutCtx& ctx) const
{
    SPinned e(Pin());
    return e->Write(ctx);
}
