#include "foundation/NjStr.h"

#include "foundation/NjOutCtx.h"

#include <cwchar>

N_DEFINE_CLASS_INFO(NjStr, NjCom)

bool NjStr::Equals(const NjEle& other, int) const
{
    if (other.Type() != kNjString || other.Count() != m_text.size())
        return false;
    const wchar_t* b = static_cast<const wchar_t*>(other.Payload());
    return m_text.size() == 0 || std::wmemcmp(m_text.data(), b, m_text.size()) == 0;
}

bool NjStr::Write(NjOutCtx& ctx) const
{
    ctx.BeginValue();
    ctx.PutString(m_text);
    return true;
}
