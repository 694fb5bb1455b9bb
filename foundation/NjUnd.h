#pragma once
// undefined: the state of an empty holder and of a failed parse. One shared
// instance, never destroyed; not counted. It has no text form, so writing it fails
// and containers refuse to store it.
#include "foundation/NjEle.h"

class NjUnd : public NjEle {
    N_DECLARE_CLASS_INFO(NjUnd)
public:
    static NjUnd* Instance();

    int Type() const override { return kNjUndefined; }
    bool Equals(const NjEle& other, int depth) const override { return other.Type() == kNjUndefined; }

private:
    NjUnd() = default;
};
