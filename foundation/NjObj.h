#pragma once
// A JSON object: members keyed by their name's UTF-16 code units (case-sensitive),
// listed and written in insertion order. Setting an existing key replaces its value
// in place; a new key goes to the end.
//
// Locking as in NjArr: the lock byte guards one operation, and work that looks into
// other elements runs on a copy taken under the lock. Undefined values are refused.
#include "foundation/NjCom.h"
#include "foundation/NjSpinLock.h"
#include "foundation/Njv.h"
#include "foundation/TNHashTabOf.h"

#include <utility>

class NjObj : public NjCom {
    N_DECLARE_CLASS_INFO(NjObj)
public:
    NjObj() = default;

    int Type() const override { return kNjObject; }
    size_t Count() const override;
    bool GetMember(const NHTKey& key, Njv& out) const override;
    bool ForEachMember(const NjMemberVisitor& visit) const override;
    bool ListKeys(std::vector<std::wstring>& keys) const override;
    bool HasMember(const NHTKey& key) const override;
    bool Equals(const NjEle& other, int depth) const override;
    bool Write(NjOutCtx& ctx) const override;
    bool SetMember(const NHTKey& key, const Njv& value) override;
    bool TakeMember(const NHTKey& key, Njv& out) override;
    bool RemoveMember(const NHTKey& key) override;
    bool Clear() override;

    // The members in insertion order as they are now, for work that must not hold the lock.
    bool Snapshot(std::vector<std::pair<NHTKey, Njv>>& out) const;

protected:
    ~NjObj() override;

private:
    mutable NjSpinLock m_lock;
    TNHashTabOf<Njv> m_members;  // guarded by m_lock
};
