#pragma once
// Idle handlers of the main user-interface thread: objects that want idle
// time register here, and the application's idle hook runs them all. A
// handler with a positive pass limit is kept running (wanting more idle time)
// for the passes below its limit and is told at the limit that its forced
// passes end.
//
// Hazard: handlers must not register or unregister themselves from inside
// their own idle step.
#include <cstdint>

class NIdleDispatch {
public:
    explicit NIdleDispatch(int32_t passLimit = 0) : m_passLimit(passLimit) {}
    virtual ~NIdleDispatch() { Unregister(); }
    NIdleDispatch(const NIdleDispatch&) = delete;
    NIdleDispatch& operator=(const NIdleDispatch&) = delete;

    void Register();
    void Unregister();
    int32_t PassLimit() const noexcept { return m_passLimit; }

    // One idle pass; true asks for more idle time.
    virtual bool OnIdleStep(long count) = 0;
    virtual void OnIdleEnd() {}

    // Runs every registered handler in registration order; true when more
    // idle time is wanted.
    static bool RunAll(long count);

private:
    int32_t m_passLimit;
    bool m_registered = false;
};
