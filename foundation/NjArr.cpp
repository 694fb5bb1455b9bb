#include "foundation/NjArr.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/NjOutCtx.h"

#include <new>

N_DEFINE_CLASS_INFO(NjArr, NjCom)

NjArr::~NjArr() = default;

size_t NjArr::Count() const
{
    NjSpinGuard guard(m_lock);
    return m_items.Count();
}

bool NjArr::GetAt(ptrdiff_t index, Njv& out) const
{
    Njv found;
    {
        NjSpinGuard guard(m_lock);
        const size_t n = m_items.Count();
        if (index < 0)
            index += static_cast<ptrdiff_t>(n);
        if (index < 0 || static_cast<size_t>(index) >= n)
            return NFail(nerr::kInvalidParameter);
        found = m_items[static_cast<size_t>(index)];
    }
    // Assigned outside the lock: `out` may be a holder inside this very array.
    out = found;
    return true;
}

bool NjArr::Snapshot(std::vector<Njv>& out) const
{
    out.clear();
    NjSpinGuard guard(m_lock);
    try {
        out.reserve(m_items.Count());
        for (size_t i = 0; i < m_items.Count(); ++i)
            out.push_back(m_items[i]);
    } catch (const std::bad_alloc&) {
        return NFail(nerr::kNotEnoughMemory);
    }
    return true;
}

bool NjArr::Equals(const NjEle& other, int depth) const
{
    if (&other == this)
        return true;
    if (other.Type() != kNjArray || depth >= kNjMaxDepth)
        return false;
    std::vector<Njv> mine;
    std::vector<Njv> theirs;
    if (!Snapshot(mine) || !static_cast<const NjArr&>(other).Snapshot(theirs) || mine.size() != theirs.size())
        return false;
    for (size_t i = 0; i < mine.size(); ++i)
        if (!mine[i].EqualsAt(theirs[i], depth + 1))
            return false;
    return true;
}

bool NjArr::Write(NjOutCtx& ctx) const
{
    if (!ctx.MayEnter(*this))
        return NFail(nerr::kInvalidData);
    std::vector<Njv> items;
    if (!Snapshot(items))
        return false;
    ctx.BeginValue();
    ctx.Put(L'[');
    NjOutCtx inner = ctx.Child(*this, false);
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            ctx.Put(L',');
        ctx.LineEnd();
        if (!items[i].WriteTo(inner))
            return false;
    }
    ctx.NewLine(ctx.Depth());
    ctx.Put(L']');
    return true;
}

bool NjArr::Append(const Njv& value)
{
    if (value.IsUndefined())
        return NFail(nerr::kInvalidParameter);
    Njv copy(value);  // taken before the lock: `value` may live in this array
    NjSpinGuard guard(m_lock);
    if (!m_items.Append(std::move(copy)))
        return NFail(nerr::kNotEnoughMemory);
    return true;
}

bool NjArr::InsertAt(ptrdiff_t index, const Njv& value)
{
    if (value.IsUndefined())
        return NFail(nerr::kInvalidParameter);
    Njv copy(value);
    NjSpinGuard guard(m_lock);
    const size_t n = m_items.Count();
    if (index < 0)
        index += static_cast<ptrdiff_t>(n);
    if (index < 0 || static_cast<size_t>(index) > n)
        return NFail(nerr::kInvalidParameter);
    if (!m_items.Insert(static_cast<size_t>(index), std::move(copy)))
        return NFail(nerr::kNotEnoughMemory);
    return true;
}

bool NjArr::SetAt(ptrdiff_t index, const Njv& value)
{
    if (value.IsUndefined())
        return NFail(nerr::kInvalidParameter);
    Njv copy(value);
    Njv old;  // released after the lock: it may be the last reference to a big tree
    NjSpinGuard guard(m_lock);
    const size_t n = m_items.Count();
    if (index < 0)
        index += static_cast<ptrdiff_t>(n);
    if (index < 0)
        return NFail(nerr::kInvalidParameter);
    const size_t at = static_cast<size_t>(index);
    if (at >= n) {
        if (!m_items.Resize(at + 1))
            return NFail(nerr::kNotEnoughMemory);
        // The gap reads as null: an array holds no undefined values.
        for (size_t i = n; i < at; ++i)
            m_items[i] = Njv::MakeNull();
    }
    old = std::move(m_items[at]);
    m_items[at] = std::move(copy);
    return true;
}

bool NjArr::RemoveRange(size_t start, size_t count)
{
    // Removed values are released after the lock: one may be the last reference to
    // a big tree, and its destruction should not hold up other threads.
    std::vector<Njv> removed;
    NjSpinGuard guard(m_lock);
    const size_t n = m_items.Count();
    if (start >= n)
        return count == 0 ? true : NFail(nerr::kInvalidParameter);
    if (count > n - start)
        count = n - start;
    try {
        removed.reserve(count);
        for (size_t i = start; i < start + count; ++i)
            removed.push_back(std::move(m_items[i]));
    } catch (const std::bad_alloc&) {
        // Without room to move them out they are released in place, under the lock.
    }
    m_items.RemoveRange(start, count);
    return true;
}

bool NjArr::Clear()
{
    TNSegArrOf<Njv, 8> old;
    {
        NjSpinGuard guard(m_lock);
        old = std::move(m_items);
    }
    return true;
}
