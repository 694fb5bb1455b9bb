#include "widgets/win32/InputBox.h"

#include "widgets/win32/DialogTemplate.h"

const UINT InputBox::ms_cnMsgIDInputChanged = ::RegisterWindowMessageW(L"InputBox::ms_cnMsgIDInputChanged");

InputBox::InputBox(HWND parent, std::wstring title, std::wstring prompt, std::wstring text,
                   InputBoxValidation validation)
    : NDialog(Template(), parent),
      m_title(std::move(title)),
      m_prompt(std::move(prompt)),
      m_text(std::move(text)),
      m_validation(std::move(validation))
{
}

const DLGTEMPLATE* InputBox::Template()
{
    // Built once and never changed: every box shares it. Texts are set at
    // WM_INITDIALOG.
    static const DialogTemplate tpl = [] {
        DialogTemplate t(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 220, 92, L"", 8,
                         L"MS Shell Dlg");
        t.AddItem(DialogTemplate::kStatic, kIdPrompt, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 7, 7, 206, 24, L"");
        t.AddItem(DialogTemplate::kEdit, kIdEdit, WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 7, 33, 206,
                  14, L"");
        t.AddItem(DialogTemplate::kStatic, kIdMessage, SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE, 7, 51, 206, 12, L"");
        t.AddItem(DialogTemplate::kButton, IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 109, 70, 50, 14, L"OK");
        t.AddItem(DialogTemplate::kButton, IDCANCEL, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 163, 70, 50, 14,
                  L"Cancel");
        return t;
    }();
    return tpl.Get();
}

void InputBox::SetMessageColours(COLORREF text, COLORREF background) noexcept
{
    m_messageText = text;
    m_messageBack = background;
}

bool InputBox::OnInitDialog()
{
    m_messageBrush.Reset(::CreateSolidBrush(m_messageBack));
    ::SetWindowTextW(Handle(), m_title.c_str());
    SetItemText(kIdPrompt, m_prompt);
    NDialog::OnInitDialog();
    const HWND edit = Item(kIdEdit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    Validate();
    ::SetFocus(edit);
    return false;  // the focus is set
}

bool InputBox::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == kIdEdit && code == EN_CHANGE) {
        if (!m_changePending && ::PostMessageW(Handle(), ms_cnMsgIDInputChanged, 0, 0))
            m_changePending = true;
        return true;
    }
    return NDialog::OnCommand(id, code, control);
}

bool InputBox::DoDataExchange(bool save)
{
    if (!save) {
        SetItemText(kIdEdit, m_text);
        return true;
    }
    // OK may arrive while disabled (posted, or Enter before the queued check
    // ran): check again rather than trust the button's state.
    if (!Validate())
        return false;
    m_text = m_validation.Accepted(ItemText(kIdEdit));
    return true;
}

bool InputBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    if (message == ms_cnMsgIDInputChanged) {
        m_changePending = false;
        Validate();
        result = TRUE;
        return true;
    }
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == Item(kIdMessage) && m_messageBrush) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, m_messageText);
        ::SetBkColor(dc, m_messageBack);
        result = reinterpret_cast<INT_PTR>(m_messageBrush.Get());
        return true;
    }
    return false;
}

bool InputBox::Validate()
{
    const InputBoxValidation::SResult check = m_validation.Validate(ItemText(kIdEdit));
    const HWND line = Item(kIdMessage);
    SetItemText(kIdMessage, check.message);
    ::ShowWindow(line, check.message.empty() ? SW_HIDE : SW_SHOW);
    ::InvalidateRect(line, nullptr, TRUE);
    ::EnableWindow(Item(IDOK), check.passed ? TRUE : FALSE);
    return check.passed;
}
