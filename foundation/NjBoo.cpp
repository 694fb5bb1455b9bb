#include "foundation/NjBoo.h"

#include "foundation/NjOutCtx.h"

N_DEFINE_CLASS_INFO(NjBoo, NjEle)

NjBoo* NjBoo::Instance(bool value)
{
    static NjBoo* const s_true = new NjBoo(true);
    static NjBoo* const s_false = new NjBoo(false);
    return value ? s_true : s_false;
}

bool NjBoo::Equals(const NjEle& other, int) const
{
    return other.Type() == kNjBool && *static_cast<const bool*>(other.Payload()) == m_value;
}

bool NjBoo::Write(NjOutCtx& ctx) const
{
    ctx.BeginValue();
    ctx.Put(m_value ? L"true" : L"false");
    return true;
}
