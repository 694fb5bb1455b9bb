#include "framework/win32/ToolBarWithCombo.h"

#include <commctrl.h>

namespace {
// Subclass IDs of the two subclassed windows (any distinct values).
constexpr UINT_PTR kComboSubclass = 0x4C43;  // "LocalComboBox"
constexpr UINT_PTR kEditSubclass = 0x4C45;   // "LocalEdit"

std::wstring WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}
}  // namespace

int ToolBarWithCombo::ScaledExtent(int extent, int iconSize) noexcept
{
    const long long scaled = static_cast<long long>(extent) * iconSize / 16;
    if (scaled < 1)
        return 1;
    return scaled > 32767 ? 32767 : static_cast<int>(scaled);
}

LONG ToolBarWithCombo::ScaledFontHeight(LONG height, int iconSize, int dpi) noexcept
{
    if (dpi <= 0)
        dpi = 96;
    const long long scaled = static_cast<long long>(height) * iconSize * 96 / (16LL * dpi);
    if (scaled == 0)
        return height < 0 ? -1 : 1;
    return static_cast<LONG>(scaled);
}

bool ToolBarWithCombo::Create(HWND parent, HWND notify, UINT id, int iconSize, std::vector<SButton> buttons,
                              const SCombo& combo)
{
    if (combo.slot >= buttons.size() || buttons[combo.slot].command != 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_spec = combo;
    m_notify = notify != nullptr ? notify : parent;
    if (!IconToolBar::Create(parent, notify, id, iconSize, std::move(buttons)))
        return false;
    return MakeFont() && CreateCombo();
}

bool ToolBarWithCombo::Rebuild(int iconSize)
{
    const SContent content = SaveContent();
    m_combo = nullptr;
    m_edit = nullptr;
    if (!IconToolBar::Rebuild(iconSize))
        return false;
    if (!MakeFont() || !CreateCombo())
        return false;
    RestoreContent(content);
    return true;
}

bool ToolBarWithCombo::MakeFont()
{
    HWND bar = Handle();
    HFONT base = reinterpret_cast<HFONT>(::SendMessageW(bar, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    if (base == nullptr || ::GetObjectW(base, sizeof font, &font) == 0) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            return false;
        font = metrics.lfMessageFont;
    }
    NWindowDC screen(nullptr);
    const int dpi = screen.Get() != nullptr ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    font.lfHeight = ScaledFontHeight(font.lfHeight, IconSize(), dpi);
    font.lfWidth = 0;
    m_font.Reset(::CreateFontIndirectW(&font));
    return static_cast<bool>(m_font);
}

bool ToolBarWithCombo::CreateCombo()
{
    HWND bar = Handle();
    const int width = ScaledExtent(m_spec.width, IconSize());
    const int dropHeight = ScaledExtent(m_spec.dropHeight, IconSize());
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_SIZE;
    info.cx = static_cast<WORD>(width);
    if (!::SendMessageW(bar, TB_SETBUTTONINFOW, m_spec.slot, reinterpret_cast<LPARAM>(&info)))
        return false;
    ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    RECT slot{};
    ::SendMessageW(bar, TB_GETITEMRECT, m_spec.slot, reinterpret_cast<LPARAM>(&slot));
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP |
                        (m_spec.editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
    m_combo = ::CreateWindowExW(0, WC_COMBOBOXW, L"", style, slot.left, slot.top, width, dropHeight, bar,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_spec.id)),
                                ::GetModuleHandleW(nullptr), nullptr);
    if (m_combo == nullptr)
        return false;
    ::SendMessageW(m_combo, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
    // Centre the combo's closed height in the slot, now that its font sets it.
    RECT box{};
    ::GetWindowRect(m_combo, &box);
    const int boxHeight = box.bottom - box.top;
    const int top = slot.top + ((slot.bottom - slot.top) - boxHeight) / 2;
    ::SetWindowPos(m_combo, nullptr, slot.left, top > 0 ? top : 0, width, dropHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!::SetWindowSubclass(m_combo, &ToolBarWithCombo::ComboProc, kComboSubclass, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    if (m_spec.editable) {
        COMBOBOXINFO parts{};
        parts.cbSize = sizeof parts;
        if (::GetComboBoxInfo(m_combo, &parts))
            m_edit = parts.hwndItem;
        if (m_edit == nullptr ||
            !::SetWindowSubclass(m_edit, &ToolBarWithCombo::EditProc, kEditSubclass, reinterpret_cast<DWORD_PTR>(this)))
            return false;
    }
    return true;
}

ToolBarWithCombo::SContent ToolBarWithCombo::SaveContent() const
{
    SContent content;
    if (m_combo == nullptr || !::IsWindow(m_combo))
        return content;
    const LRESULT count = ::SendMessageW(m_combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(m_combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring item(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
        if (length > 0)
            ::SendMessageW(m_combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(length > 0 ? static_cast<size_t>(length) : 0);
        content.items.push_back(std::move(item));
    }
    content.selection = static_cast<int>(::SendMessageW(m_combo, CB_GETCURSEL, 0, 0));
    content.text = WindowText(m_combo);
    return content;
}

void ToolBarWithCombo::RestoreContent(const SContent& content)
{
    for (const std::wstring& item : content.items)
        ::SendMessageW(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (content.selection != CB_ERR)
        ::SendMessageW(m_combo, CB_SETCURSEL, static_cast<WPARAM>(content.selection), 0);
    // Typed text that is not (or no longer) the selected entry survives too.
    if (m_spec.editable)
        ::SetWindowTextW(m_combo, content.text.c_str());
}

LRESULT CALLBACK ToolBarWithCombo::ComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                             DWORD_PTR data) noexcept
{
    auto* self = reinterpret_cast<ToolBarWithCombo*>(data);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &ToolBarWithCombo::ComboProc, id);
    } else if (message == WM_COMMAND && self->m_spec.enterCommand != 0 && LOWORD(wParam) == self->m_spec.enterCommand &&
               reinterpret_cast<HWND>(lParam) == self->m_edit) {
        // The bar does not pass its children's commands on; the combo does.
        ::SendMessageW(self->m_notify, WM_COMMAND, MAKEWPARAM(self->m_spec.enterCommand, 0),
                       reinterpret_cast<LPARAM>(window));
        return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK ToolBarWithCombo::EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR data) noexcept
{
    auto* self = reinterpret_cast<ToolBarWithCombo*>(data);
    switch (message) {
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(window, &ToolBarWithCombo::EditProc, id);
        break;
    case WM_CHAR:
        // A single-line edit beeps at Enter; the release sends the command instead.
        if (wParam == VK_RETURN)
            return 0;
        break;
    case WM_KEYUP:
        if (wParam == VK_RETURN && self->m_spec.enterCommand != 0) {
            ::SendMessageW(::GetParent(window), WM_COMMAND, MAKEWPARAM(self->m_spec.enterCommand, 0),
                           reinterpret_cast<LPARAM>(window));
            return 0;
        }
        break;
    default:
        break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}
