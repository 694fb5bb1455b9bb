#pragma once
// The small modal dialog that asks for one line of text: a title, a prompt
// and an edit field prefilled with a text (selected). The text is checked
// after every change; the problem is shown in a coloured line under the
// field, and OK stays disabled while there is one.
#include <windows.h>

#include <string>

#include "foundation/win32/Handles.h"
#include "framework/win32/NDialog.h"
#include "widgets/InputBoxValidation.h"

class InputBox : public NDialog {
public:
    // The box's controls.
    static constexpr int kIdPrompt = 1100;
    static constexpr int kIdEdit = 1101;
    static constexpr int kIdMessage = 1102;

    // Posted by the box to itself after every change of the edit field.
    static const UINT ms_cnMsgIDInputChanged;

    InputBox(HWND parent, std::wstring title, std::wstring prompt, std::wstring text,
             InputBoxValidation validation = {});

    // While a message is shown. Set before DoModal.
    void SetMessageColours(COLORREF text, COLORREF background) noexcept;

    // After IDOK: the accepted text (trimmed when the check trims).
    const std::wstring& Text() const noexcept { return m_text; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool DoDataExchange(bool save) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    // Checks the edit field's text, shows or hides the message line and
    // enables OK; true when the text passed.
    bool Validate();

private:
    static const DLGTEMPLATE* Template();

    std::wstring m_title;
    std::wstring m_prompt;
    std::wstring m_text;
    InputBoxValidation m_validation;
    COLORREF m_messageText = RGB(128, 0, 0);
    COLORREF m_messageBack = RGB(255, 236, 200);
    NBrush m_messageBrush;
    // Set while a change notice is queued, so a burst of changes is checked once.
    bool m_changePending = false;
};
