#pragma once
// A reference-counted JSON element: shared by reference, destroyed when the last
// reference goes. A new element starts with one reference, owned by its creator.
//
// Destruction never recurses: releasing a container that held the last reference to
// nested containers queues them on the releasing thread and destroys them one after
// another, so dropping an arbitrarily deep tree needs no stack per level.
// Cycles (an array that holds itself) are never freed; the writer refuses them.
#include "foundation/NjEle.h"

#include <atomic>
#include <cstdint>

class NjCom : public NjEle {
    N_DECLARE_CLASS_INFO(NjCom)
public:
    void AddRef() override;
    bool Release() override;
    uint32_t RefCount() const { return m_refs.load(std::memory_order_relaxed); }

protected:
    NjCom() = default;
    ~NjCom() override;

private:
    static void Destroy(NjCom* dead);

    std::atomic<uint32_t> m_refs{1};
    NjCom* m_nextDead = nullptr;  // link of the releasing thread's destruction queue
};
