#pragma once
// The command bar's logic: the command combo mirroring the console's
// command history, and the history's export to and import from command
// files. The frame owns it; the view asks it for the text to send.
#include <windows.h>

#include <string>

class LMConsConfig;
class LMLog;

class LMConsCommands {
public:
    LMConsCommands(LMConsConfig& config, LMLog& log);

    // The command bar's combo box (control 1012); null before the bar exists.
    void SetCombo(HWND combo) noexcept { m_combo = combo; }
    HWND Combo() const noexcept { return m_combo; }

    // Refills the combo from the history and selects its first entry.
    void Fill();
    // Moves the keyboard focus into the combo.
    void Edit();
    // Moves the combo's text to the front of the history. True when the text
    // is to be transmitted (no worker procedure active); text receives it.
    bool Send(bool procedureActive, std::wstring& text);
    // Removes the combo's text from the history.
    void Delete();
    bool HasEntries() const;
    bool Export(HWND owner);
    bool Import(HWND owner);

private:
    LMConsConfig& m_config;
    LMLog& m_log;
    HWND m_combo = nullptr;
};
