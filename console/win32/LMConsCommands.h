#pragma once
// The command bar's logic: the command combo mirroring the console's
// command history, and the history's export to and import from command
// files. The frame owns it; the view asks it for the text to send.
//
// Thread: the console's user-interface thread. The history itself lives in
// the configuration and is copied out and back under its lock, because the
// main window reads the same record.
#include <windows.h>

#include <string>

#include "console/CommandHistory.h"

class LMConsConfig;
class LMLog;

class LMConsCommands {
public:
    static constexpr const wchar_t* kDefaultFolder = L"%LOCALAPPDATA%\\Lumbra\\Commands";
    static constexpr const wchar_t* kFilterName = L"Lumbra Command files (*.lmc)";
    static constexpr const wchar_t* kFilterPattern = L"*.lmc";
    static constexpr const wchar_t* kDefaultExt = L"lmc";

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
    // True when a file was written or read; false on Cancel, on an empty
    // history and on failure (reported in the log and a message box).
    bool Export(HWND owner);
    bool Import(HWND owner);

    // The folder the file dialogs open in: FolderCmd expanded when that
    // folder exists, else the default folder (created if missing).
    std::wstring StartFolder() const;

private:
    // The whole edit-field text; empty without a combo.
    std::wstring ComboText() const;
    CommandHistory LoadHistory() const;
    void StoreHistory(const CommandHistory& history);
    void RememberFolderOf(const std::wstring& path);
    // The failure of a file operation: two Error entries and a message box.
    void ReportFileFailure(HWND owner, DWORD error, const wchar_t* logText, const wchar_t* boxText,
                           const wchar_t* caption, UINT icon, const std::wstring& path);

    LMConsConfig& m_config;
    LMLog& m_log;
    HWND m_combo = nullptr;
};
