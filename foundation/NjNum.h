#pragma once
// A JSON number: one 64-bit IEEE double.
#include "foundation/NjCom.h"

class NjNum : public NjCom {
    N_DECLARE_CLASS_INFO(NjNum)
public:
    explicit NjNum(double value) : m_value(value) {}
    double Value() const { return m_value; }

    int Type() const override { return kNjNumber; }
    const void* Payload() const override { return &m_value; }
    // Not-a-number equals nothing, itself included.
    bool Equals(const NjEle& other, int depth) const override;
    bool Write(NjOutCtx& ctx) const override;

private:
    const double m_value;
};
