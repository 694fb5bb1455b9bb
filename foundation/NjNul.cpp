#include "foundation/NjNul.h"

#include "foundation/NjOutCtx.h"

N_DEFINE_CLASS_INFO(NjNul, NjEle)

NjNul* NjNul::Instance()
{
    static NjNul* const s_null = new NjNul();
    return s_null;
}

bool NjNul::Write(NjOutCtx& ctx) const
{
    ctx.BeginValue();
    ctx.Put(L"null");
    return true;
}
