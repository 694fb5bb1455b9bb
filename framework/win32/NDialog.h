#pragma once
// A modal dialog from a template resource (or an in-memory template). The
// dialog procedure unpacks messages once and calls virtual handlers: the
// derived dialog answers OnInitDialog, OnCommand, OnOK, OnCancel and moves its
// data between members and controls in DoDataExchange. Nothing thrown by a
// handler leaves the dialog procedure.
#include <windows.h>

#include <string>

class NDialog {
public:
    NDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}
    NDialog(const DLGTEMPLATE* dialogTemplate, HWND parent) : m_template(dialogTemplate), m_parent(parent) {}
    virtual ~NDialog() = default;
    NDialog(const NDialog&) = delete;
    NDialog& operator=(const NDialog&) = delete;

    // IDOK, IDCANCEL or the code given to EndDialog; -1 when the dialog could
    // not be created (with the last error).
    INT_PTR DoModal();
    HWND Handle() const noexcept { return m_hWnd; }
    HWND Item(int id) const noexcept { return ::GetDlgItem(m_hWnd, id); }

protected:
    // True lets the system set the focus. The base fills the controls.
    virtual bool OnInitDialog();
    // True when handled. The base sends IDOK to OnOK and IDCANCEL to OnCancel.
    virtual bool OnCommand(UINT id, UINT code, HWND control);
    // The base reads the controls and closes with IDOK when they are valid.
    virtual void OnOK();
    virtual void OnCancel();
    // save: controls to members (false keeps the dialog open); otherwise
    // members to controls.
    virtual bool DoDataExchange(bool save) { return true; }
    // Everything else; true when handled, with result the dialog result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) { return false; }

    void EndDialog(INT_PTR code);

    // Data exchange helpers.
    void ExchangeText(int id, std::wstring& value, bool save);
    void ExchangeCheck(int id, bool& value, bool save);
    std::wstring ItemText(int id) const;
    void SetItemText(int id, const std::wstring& text);

private:
    static INT_PTR CALLBACK StaticDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId = 0;
    const DLGTEMPLATE* m_template = nullptr;
    HWND m_parent;
    HWND m_hWnd = nullptr;
};
