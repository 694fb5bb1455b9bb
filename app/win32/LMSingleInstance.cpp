#include "app/win32/LMSingleInstance.h"

#include "app/LMInstanceName.h"
#include "app/win32/LMModulePath.h"

LMSingleInstance& LMSingleInstance::Process()
{
    static LMSingleInstance instance(LMWakeUpEventName(LMModulePath()));
    return instance;
}

bool LMSingleInstance::IsFirstInstance()
{
    if (m_checked && m_event.IsValid())
        return m_first;
    const bool created = m_event.Create(false, false, m_name.c_str());
    const DWORD error = ::GetLastError();
    m_checked = true;
    m_first = created && error != ERROR_ALREADY_EXISTS;
    return m_first;
}

bool LMSingleInstance::WakeFirstInstance()
{
    return !m_first && m_event.Set();
}

bool LMSingleInstance::TakeWakeUp()
{
    return m_first && m_event.IsSet();
}
