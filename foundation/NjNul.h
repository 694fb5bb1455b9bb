#pragma once
// null. One shared instance, made on first use and never destroyed; not counted.
#include "foundation/NjEle.h"

class NjNul : public NjEle {
    N_DECLARE_CLASS_INFO(NjNul)
public:
    static NjNul* Instance();

    int Type() const override { return kNjNull; }
    bool Equals(const NjEle& other, int depth) const override { return other.Type() == kNjNull; }
    bool Write(NjOutCtx& ctx) const override;

private:
    NjNul() = default;
};
