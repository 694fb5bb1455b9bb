#include "framework/NIdleDispatch.h"

#include <algorithm>
#include <vector>

#include "foundation/NLock.h"

namespace {
struct SRegistry {
    SRegistry() { lock.Init(); }
    NLock lock;
    std::vector<NIdleDispatch*> handlers;  // guarded by lock
};

SRegistry& Registry()
{
    static SRegistry registry;
    return registry;
}
}  // namespace

void NIdleDispatch::Register()
{
    SRegistry& r = Registry();
    NLockGuard guard(r.lock);
    if (!m_registered) {
        r.handlers.push_back(this);
        m_registered = true;
    }
}

void NIdleDispatch::Unregister()
{
    SRegistry& r = Registry();
    NLockGuard guard(r.lock);
    if (m_registered) {
        r.handlers.erase(std::remove(r.handlers.begin(), r.handlers.end(), this), r.handlers.end());
        m_registered = false;
    }
}

bool NIdleDispatch::RunAll(long count)
{
    SRegistry& r = Registry();
    NLockGuard guard(r.lock);
    bool more = false;
    for (NIdleDispatch* h : r.handlers) {
        const int32_t limit = h->m_passLimit;
        if (limit > 0 && count < limit) {
            h->OnIdleStep(count);
            more = true;
        } else if (limit > 0 && count == limit) {
            h->OnIdleEnd();
            more |= h->OnIdleStep(count);
        } else {
            more |= h->OnIdleStep(count);
        }
    }
    return more;
}
