#include "console/win32/LMConsCommands.h"

LMConsCommands::LMConsCommands(LMConsConfig& config, LMLog& log) : m_config(config), m_log(log) {}

void LMConsCommands::Fill() {}

void LMConsCommands::Edit()
{
    if (m_combo != nullptr)
        ::SetFocus(m_combo);
}

bool LMConsCommands::Send(bool procedureActive, std::wstring& text)
{
    text.clear();
    return false;
}

void LMConsCommands::Delete() {}

bool LMConsCommands::HasEntries() const
{
    return m_combo != nullptr && ::SendMessageW(m_combo, CB_GETCOUNT, 0, 0) > 0;
}

bool LMConsCommands::Export(HWND owner)
{
    return false;
}

bool LMConsCommands::Import(HWND owner)
{
    return false;
}
