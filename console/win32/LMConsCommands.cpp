#include "console/win32/LMConsCommands.h"

#include "config/LMConsConfig.h"
#include "logging/LMLog.h"

#include <vector>

LMConsCommands::LMConsCommands(LMConsConfig& config, LMLog& log) : m_config(config), m_log(log) {}

CommandHistory LMConsCommands::LoadHistory() const
{
    return CommandHistory(m_config.CopyCommands());
}

void LMConsCommands::StoreHistory(const CommandHistory& history)
{
    m_config.SetCommands(history.Entries());
}

std::wstring LMConsCommands::ComboText() const
{
    if (m_combo == nullptr)
        return std::wstring();
    const int length = ::GetWindowTextLengthW(m_combo);
    if (length <= 0)
        return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(m_combo, buffer.data(), length + 1);
    return std::wstring(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void LMConsCommands::Fill()
{
    if (m_combo == nullptr)
        return;
    const NSTRList entries = m_config.CopyCommands();
    // Disabling a window that has the focus takes the focus away: after a
    // Send the user would type the next command into nothing.
    const HWND focus = ::GetFocus();
    const bool hadFocus = focus != nullptr && (focus == m_combo || ::IsChild(m_combo, focus));
    // Disabled while it is rebuilt so that the bar does not repaint for every item.
    ::EnableWindow(m_combo, FALSE);
    ::SendMessageW(m_combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : entries)
        ::SendMessageW(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    ::EnableWindow(m_combo, TRUE);
    ::SendMessageW(m_combo, CB_SETCURSEL, 0, 0);
    if (hadFocus) {
        ::SetFocus(m_combo);
        // All selected, so that typing replaces the command just sent.
        ::SendMessageW(m_combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    }
}

void LMConsCommands::Edit()
{
    if (m_combo != nullptr)
        ::SetFocus(m_combo);
}

bool LMConsCommands::Send(bool procedureActive, std::wstring& text)
{
    text.clear();
    if (m_combo == nullptr)
        return false;  // no bar, nothing was typed
    text = ComboText();
    CommandHistory history = LoadHistory();
    history.Send(text);
    StoreHistory(history);
    Fill();
    if (procedureActive) {
        text.clear();
        return false;
    }
    return true;
}

void LMConsCommands::Delete()
{
    const std::wstring text = ComboText();
    CommandHistory history = LoadHistory();
    history.Delete(text);
    StoreHistory(history);
    Fill();
}

bool LMConsCommands::HasEntries() const
{
    return m_combo != nullptr && ::SendMessageW(m_combo, CB_GETCOUNT, 0, 0) > 0;
}
