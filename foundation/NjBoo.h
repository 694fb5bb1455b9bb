#pragma once
// true or false. Exactly two instances exist, made on first use and never destroyed
// (a holder destroyed during program exit may still release one); not counted.
#include "foundation/NjEle.h"

class NjBoo : public NjEle {
    N_DECLARE_CLASS_INFO(NjBoo)
public:
    static NjBoo* Instance(bool value);
    bool Value() const { return m_value; }

    int Type() const override { return kNjBool; }
    const void* Payload() const override { return &m_value; }
    bool Equals(const NjEle& other, int depth) const override;
    bool Write(NjOutCtx& ctx) const override;

private:
    explicit NjBoo(bool value) : m_value(value) {}
    const bool m_value;
};
