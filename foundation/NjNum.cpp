#include "foundation/NjNum.h"

#include "foundation/NjOutCtx.h"

N_DEFINE_CLASS_INFO(NjNum, NjCom)

bool NjNum::Equals(const NjEle& other, int) const
{
    if (other.Type() != kNjNumber)
        return false;
    const double b = *static_cast<const double*>(other.Payload());
    return m_value == b;  // false whenever either is not-a-number
}

bool NjNum::Write(NjOutCtx& ctx) const
{
    ctx.BeginValue();
    ctx.PutNumber(m_value);
    return true;
}
