#include "foundation/NjCom.h"

N_DEFINE_CLASS_INFO(NjCom, NjEle)

namespace {
// Per-thread destruction queue. Plain pointers only: trivially destructible
// thread-locals need no exit-time hooks on any of our platforms.
thread_local NjCom* t_deadHead = nullptr;
thread_local bool t_destroying = false;
}  // namespace

NjCom::~NjCom() = default;

void NjCom::AddRef()
{
    m_refs.fetch_add(1, std::memory_order_relaxed);
}

bool NjCom::Release()
{
    if (m_refs.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return false;
    Destroy(this);
    return true;
}

void NjCom::Destroy(NjCom* dead)
{
    if (t_destroying) {
        // Inside another element's destructor: queue instead of recursing.
        dead->m_nextDead = t_deadHead;
        t_deadHead = dead;
        return;
    }
    t_destroying = true;
    delete dead;
    while (t_deadHead != nullptr) {
        NjCom* next = t_deadHead;
        t_deadHead = next->m_nextDead;
        delete next;
    }
    t_destroying = false;
}
