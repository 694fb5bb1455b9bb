#include "framework/win32/NDialog.h"

INT_PTR NDialog::DoModal()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    auto param = reinterpret_cast<LPARAM>(this);
    if (m_template != nullptr)
        return ::DialogBoxIndirectParamW(instance, m_template, m_parent, &NDialog::StaticDlgProc, param);
    return ::DialogBoxParamW(instance, MAKEINTRESOURCEW(m_templateId), m_parent, &NDialog::StaticDlgProc, param);
}

bool NDialog::OnInitDialog()
{
    DoDataExchange(false);
    return true;
}

bool NDialog::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDOK && (code == BN_CLICKED || control == nullptr)) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void NDialog::OnOK()
{
    if (DoDataExchange(true))
        EndDialog(IDOK);
}

void NDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void NDialog::EndDialog(INT_PTR code)
{
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, code);
}

std::wstring NDialog::ItemText(int id) const
{
    HWND item = Item(id);
    if (item == nullptr)
        return std::wstring();
    const int length = ::GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(item, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void NDialog::SetItemText(int id, const std::wstring& text)
{
    ::SetDlgItemTextW(m_hWnd, id, text.c_str());
}

void NDialog::ExchangeText(int id, std::wstring& value, bool save)
{
    if (save)
        value = ItemText(id);
    else
        SetItemText(id, value);
}

void NDialog::ExchangeCheck(int id, bool& value, bool save)
{
    if (save)
        value = ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
    else
        ::CheckDlgButton(m_hWnd, id, value ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR NDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    INT_PTR result = 0;
    if (message != WM_INITDIALOG && OnMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK NDialog::StaticDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    NDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<NDialog*>(lParam);
        self->m_hWnd = dialog;
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<NDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    }
    if (self == nullptr)
        return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->DialogProc(message, wParam, lParam);
    } catch (...) {
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, 0);
        self->m_hWnd = nullptr;
    }
    return result;
}
