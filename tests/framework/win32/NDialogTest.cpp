#include "framework/win32/NDialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {
constexpr int kEdit = 1000;
constexpr int kCheck = 1001;

// An in-memory template: a dialog with an edit, a check box and OK/Cancel.
class Template {
public:
    Template()
    {
        Align();
        DLGTEMPLATE dlg{};
        dlg.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | DS_SETFONT;
        dlg.cdit = 4;
        dlg.cx = 200;
        dlg.cy = 100;
        Put(&dlg, sizeof dlg);
        Word(0);  // menu
        Word(0);  // class
        Text(L"Test");
        Word(8);
        Text(L"MS Shell Dlg");
        Item(kEdit, 0x0081, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 100, 14);
        Item(kCheck, 0x0080, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 30, 100, 14);
        Item(IDOK, 0x0080, WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 10, 60, 50, 14);
        Item(IDCANCEL, 0x0080, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 70, 60, 50, 14);
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data()); }

private:
    void Put(const void* p, size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        m_bytes.insert(m_bytes.end(), b, b + n);
    }
    void Word(WORD w) { Put(&w, sizeof w); }
    void Text(const wchar_t* s) { Put(s, (std::wcslen(s) + 1) * sizeof(wchar_t)); }
    void Align()
    {
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
    }
    void Item(int id, WORD cls, DWORD style, short x, short y, short cx, short cy)
    {
        Align();
        DLGITEMTEMPLATE item{};
        item.style = style;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = static_cast<WORD>(id);
        Put(&item, sizeof item);
        Word(0xFFFF);
        Word(cls);
        Word(0);  // no text
        Word(0);  // no creation data
    }
    std::vector<uint8_t> m_bytes;
};

// Types into the edit in OnInitDialog (after the base filled it) and
// presses OK; validation refuses empty text once.
class Dialog : public NDialog {
public:
    using NDialog::NDialog;
    std::wstring name = L"initial";
    bool flag = true;
    std::wstring shownAtInit;
    bool shownCheckAtInit = false;
    int refusals = 0;

protected:
    bool OnInitDialog() override
    {
        NDialog::OnInitDialog();
        shownAtInit = ItemText(kEdit);
        shownCheckAtInit = ::IsDlgButtonChecked(Handle(), kCheck) == BST_CHECKED;
        SetItemText(kEdit, L"");
        ::CheckDlgButton(Handle(), kCheck, BST_UNCHECKED);
        ::PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }
    bool DoDataExchange(bool save) override
    {
        std::wstring text = name;
        ExchangeText(kEdit, text, save);
        ExchangeCheck(kCheck, flag, save);
        if (save && text.empty()) {
            ++refusals;
            SetItemText(kEdit, L"typed");
            ::PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return false;
        }
        name = text;
        return true;
    }
};

class Canceller : public NDialog {
public:
    using NDialog::NDialog;
    bool exchangedOnSave = false;

protected:
    bool OnInitDialog() override
    {
        ::PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    }
    bool DoDataExchange(bool save) override
    {
        exchangedOnSave |= save;
        return true;
    }
};
}  // namespace

TEST(NDialog, DataExchangeFillsControlsAndValidationKeepsTheDialogOpen)
{
    Template tpl;
    Dialog dialog(tpl.Get(), nullptr);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.shownAtInit, L"initial");
    EXPECT_TRUE(dialog.shownCheckAtInit);
    EXPECT_EQ(dialog.refusals, 1);
    EXPECT_EQ(dialog.name, L"typed");
    EXPECT_FALSE(dialog.flag);
    EXPECT_EQ(dialog.Handle(), nullptr);
}

TEST(NDialog, CancelClosesWithoutReadingTheControls)
{
    Template tpl;
    Canceller dialog(tpl.Get(), nullptr);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(dialog.exchangedOnSave);
}

TEST(NDialog, MissingTemplateFails)
{
    NDialog dialog(4711u, nullptr);
    EXPECT_EQ(dialog.DoModal(), -1);
}
