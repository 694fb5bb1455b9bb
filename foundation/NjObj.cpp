#include "foundation/NjObj.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/NjOutCtx.h"

#include <new>

N_DEFINE_CLASS_INFO(NjObj, NjCom)

NjObj::~NjObj() = default;

size_t NjObj::Count() const
{
    NjSpinGuard guard(m_lock);
    return m_members.Count();
}

bool NjObj::GetMember(const NHTKey& key, Njv& out) const
{
    Njv found;
    {
        NjSpinGuard guard(m_lock);
        const Njv* v = m_members.Find(key);
        if (v == nullptr)
            return false;
        found = *v;
    }
    // Assigned outside the lock: `out` may be a holder inside this very object.
    out = found;
    return true;
}

bool NjObj::Snapshot(std::vector<std::pair<NHTKey, Njv>>& out) const
{
    out.clear();
    NjSpinGuard guard(m_lock);
    try {
        out.reserve(m_members.Count());
        for (auto c = m_members.First(); c; c = m_members.Next(c))
            out.emplace_back(c.Key(), c.Value());
    } catch (const std::bad_alloc&) {
        return NFail(nerr::kNotEnoughMemory);
    }
    return true;
}

bool NjObj::ForEachMember(const NjMemberVisitor& visit) const
{
    std::vector<std::pair<NHTKey, Njv>> members;
    if (!Snapshot(members))
        return false;
    for (const auto& m : members)
        if (!visit(m.first.ToWide(), m.second))
            break;
    return true;
}

bool NjObj::ListKeys(std::vector<std::wstring>& keys) const
{
    keys.clear();
    NjSpinGuard guard(m_lock);
    try {
        keys.reserve(m_members.Count());
        for (auto c = m_members.First(); c; c = m_members.Next(c))
            keys.push_back(c.Key().ToWide());
    } catch (const std::bad_alloc&) {
        keys.clear();
        return NFail(nerr::kNotEnoughMemory);
    }
    return true;
}

bool NjObj::HasMember(const NHTKey& key) const
{
    NjSpinGuard guard(m_lock);
    return m_members.Find(key) != nullptr;
}

bool NjObj::Equals(const NjEle& other, int depth) const
{
    if (&other == this)
        return true;
    if (other.Type() != kNjObject || depth >= kNjMaxDepth)
        return false;
    std::vector<std::pair<NHTKey, Njv>> mine;
    if (!Snapshot(mine) || mine.size() != other.Count())
        return false;
    // Member order does not matter; the same keys with equal values do.
    for (const auto& m : mine) {
        Njv theirs;
        if (!other.GetMember(m.first, theirs) || !m.second.EqualsAt(theirs, depth + 1))
            return false;
    }
    return true;
}

bool NjObj::Write(NjOutCtx& ctx) const
{
    if (!ctx.MayEnter(*this))
        return NFail(nerr::kInvalidData);
    std::vector<std::pair<NHTKey, Njv>> members;
    if (!Snapshot(members))
        return false;
    ctx.BeginValue();
    ctx.Put(L'{');
    NjOutCtx inner = ctx.Child(*this, true);
    for (size_t i = 0; i < members.size(); ++i) {
        if (i > 0)
            ctx.Put(L',');
        ctx.NewLine(inner.Depth());
        ctx.PutString(members[i].first.ToWide());
        ctx.Put(L':');
        if (!members[i].second.WriteTo(inner))
            return false;
    }
    if (!members.empty())
        ctx.NewLine(ctx.Depth());
    ctx.Put(L'}');
    return true;
}

bool NjObj::SetMember(const NHTKey& key, const Njv& value)
{
    if (value.IsUndefined() || !key.IsValid())
        return NFail(nerr::kInvalidParameter);
    Njv copy(value);  // taken before the lock: `value` may live in this object
    Njv old;          // released after the lock
    NjSpinGuard guard(m_lock);
    if (Njv* existing = m_members.Find(key)) {
        old = std::move(*existing);
        *existing = std::move(copy);
        return true;
    }
    if (!m_members.Set(key, std::move(copy)))
        return NFail(nerr::kNotEnoughMemory);
    return true;
}

bool NjObj::TakeMember(const NHTKey& key, Njv& out)
{
    Njv taken;
    {
        NjSpinGuard guard(m_lock);
        if (!m_members.Remove(key, &taken))
            return false;
    }
    out = std::move(taken);
    return true;
}

bool NjObj::RemoveMember(const NHTKey& key)
{
    Njv taken;
    NjSpinGuard guard(m_lock);
    return m_members.Remove(key, &taken);
}

bool NjObj::Clear()
{
    TNHashTabOf<Njv> old;
    {
        NjSpinGuard guard(m_lock);
        old = std::move(m_members);
    }
    return true;
}
