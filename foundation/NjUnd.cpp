#include "foundation/NjUnd.h"

N_DEFINE_CLASS_INFO(NjUnd, NjEle)

NjUnd* NjUnd::Instance()
{
    static NjUnd* const s_undefined = new NjUnd();
    return s_undefined;
}
