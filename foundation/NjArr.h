#pragma once
// A JSON array: an ordered sequence of values in 256-element segments.
//
// Every operation takes the lock byte for its own duration only. Operations that
// must look into other elements (equals, write) copy the holders out under the lock
// first and work on the copy, so no lock is ever held while another element runs:
// two arrays that hold each other cannot deadlock, and an array may be changed by
// one thread while another writes it (the writer sees the state at its copy).
// Undefined values are refused: they have no text form.
#include "foundation/NjCom.h"
#include "foundation/NjSpinLock.h"
#include "foundation/Njv.h"
#include "foundation/TNSegArrOf.h"

class NjArr : public NjCom {
    N_DECLARE_CLASS_INFO(NjArr)
public:
    NjArr() = default;

    int Type() const override { return kNjArray; }
    size_t Count() const override;
    bool GetAt(ptrdiff_t index, Njv& out) const override;
    bool Equals(const NjEle& other, int depth) const override;
    bool Write(NjOutCtx& ctx) const override;
    bool Append(const Njv& value) override;
    bool InsertAt(ptrdiff_t index, const Njv& value) override;
    bool SetAt(ptrdiff_t index, const Njv& value) override;
    bool RemoveRange(size_t start, size_t count) override;
    bool Clear() override;

    // The elements as they are now, for work that must not hold the lock.
    bool Snapshot(std::vector<Njv>& out) const;

protected:
    ~NjArr() override;

private:
    mutable NjSpinLock m_lock;
    TNSegArrOf<Njv, 8> m_items;  // guarded by m_lock
};
