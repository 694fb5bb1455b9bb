#pragma once
// The console setup dialog (resource 139, "Lumbra Console Setup"): creates or
// edits one console on a private copy of its settings. Every change is
// validated at once; all problems are listed in the error box at the bottom
// and OK stays disabled while any remains. The caller applies the record
// after OK (the configuration's Apply for an existing console, the key-name
// constructor for a new one).
//
// Running it from the main window:
//
//   LMConsSetupDlgRecord record;              // defaults for a new console
//   // ...or copy the console's settings into it when they pass the record check
//   LMConsSetupDlgContext context;
//   context.isNew = true;                     // false: currentName = the console's name
//   context.editable = !consoleIsOpen;
//   context.namesInUse = <names of the other consoles>;
//   context.ports = <snapshot of the COM port enumeration>;
//   if (LMRunConsSetupDlg(frame, record, context)) { copy record back, Apply / add }
#include <windows.h>

#include <string>
#include <vector>

#include "config/win32/LMConsSetupDlgRecord.h"
#include "foundation/win32/Handles.h"
#include "framework/win32/NDialog.h"

class LMConsConfigDlg : public NDialog {
public:
    LMConsConfigDlg(const LMConsSetupDlgRecord& record, LMConsSetupDlgContext context, HWND parent);

    // The working record; after IDOK the settings to apply.
    const LMConsSetupDlgRecord& Record() const noexcept { return m_record; }
    // The problems found by the last validation.
    const std::vector<std::wstring>& Problems() const noexcept { return m_problems; }
    bool PortValid() const noexcept { return m_portValid; }

    // Reads the controls, checks them and updates the record, the enabling
    // and the error box; true when there is no problem.
    bool Validate();
    // Setup ("&Setup" or "Set&up"): the system's port dialog, or with
    // genericRate the custom baud rate prompt.
    void SetupMode(bool alternative, bool genericRate);
    // "&< Swap >": exchanges the base and alternative modes.
    void SwapModes();

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool DoDataExchange(bool save) override;

private:
    void FillPortLists();
    void FillList(int id, const std::vector<std::wstring>& items, const std::wstring& current);
    void InitFont();
    void ChangeFont();
    void ShowFont(const LOGFONTW& font, const std::wstring& code);
    void UpdateModeSection();
    uint32_t ModeFromButtons() const;
    int Selection(int id) const;
    std::wstring SelectedText(int id) const;
    void Enable(int id, bool enabled);
    bool AskBaudRate(const std::wstring& title, uint32_t& rate);

    LMConsSetupDlgRecord m_record;
    LMConsSetupDlgContext m_context;
    std::vector<std::wstring> m_problems;
    bool m_portValid = false;
    // Set while the dialog fills its controls, whose change notices must not
    // validate a half-filled dialog.
    bool m_filling = false;
    NFont m_sampleFont;
};

// Runs the dialog modally on the calling thread. True on OK, with record
// replaced by the edited settings; false on Cancel or when the dialog could
// not be created (record unchanged).
bool LMRunConsSetupDlg(HWND parent, LMConsSetupDlgRecord& record, const LMConsSetupDlgContext& context);
