#include "framework/win32/IconToolBar.h"

#include <commctrl.h>

#include "framework/win32/NIconCache.h"

int IconToolBar::EffectiveSize(int requested) noexcept
{
    switch (requested) {
    case 16:
    case 24:
    case 32:
    case 48:
        return requested;
    default:
        return kDefaultIconSize;
    }
}

bool IconToolBar::Create(HWND parent, HWND notify, UINT id, int iconSize, std::vector<SButton> buttons)
{
    m_parent = parent;
    m_notify = notify != nullptr ? notify : parent;
    m_id = id;
    m_buttons = std::move(buttons);
    return Rebuild(iconSize);
}

int IconToolBar::AddImage(UINT icon)
{
    HICON handle = NIconCache::Instance().Get(icon, m_iconSize);
    if (handle == nullptr)
        return I_IMAGENONE;
    return ::ImageList_AddIcon(m_images.Get(), handle);
}

bool IconToolBar::Rebuild(int iconSize)
{
    m_iconSize = EffectiveSize(iconSize);
    const bool wasVisible = !m_bar || m_bar.IsVisible();
    // The bar goes before its image list, so it never draws from a dead list.
    m_bar.Destroy();
    m_images.Reset(::ImageList_Create(m_iconSize, m_iconSize, ILC_COLOR32 | ILC_MASK, 16, 4));
    if (!m_images)
        return false;
    const DWORD style = WS_CHILD | (wasVisible ? WS_VISIBLE : 0) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                        TBSTYLE_TRANSPARENT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    if (!m_bar.Create(0, TOOLBARCLASSNAMEW, style, m_parent, m_id))
        return false;
    HWND bar = m_bar.Handle();
    ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(bar, TB_SETPARENT, reinterpret_cast<WPARAM>(m_notify), 0);
    ::SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(m_iconSize, m_iconSize));
    ::SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.Get()));
    std::vector<TBBUTTON> items;
    items.reserve(m_buttons.size());
    for (const SButton& b : m_buttons) {
        TBBUTTON item{};
        if (b.command == 0) {
            item.iBitmap = 0;
            item.fsStyle = BTNS_SEP;
        } else {
            item.iBitmap = AddImage(b.icon);
            item.idCommand = static_cast<int>(b.command);
            item.fsState = TBSTATE_ENABLED;
            item.fsStyle = BTNS_BUTTON;
        }
        items.push_back(item);
    }
    if (!items.empty() &&
        !::SendMessageW(bar, TB_ADDBUTTONSW, items.size(), reinterpret_cast<LPARAM>(items.data())))
        return false;
    ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    return true;
}

SIZE IconToolBar::IdealSize() const
{
    SIZE size{0, 0};
    if (m_bar.Handle() != nullptr)
        ::SendMessageW(m_bar.Handle(), TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return size;
}

bool IconToolBar::SetButtonIcon(UINT command, UINT icon)
{
    if (!m_bar)
        return false;
    for (SButton& b : m_buttons) {
        if (b.command == command)
            b.icon = icon;
    }
    const int image = AddImage(icon);
    TBBUTTONINFOW info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_IMAGE;
    info.iImage = image;
    return ::SendMessageW(m_bar.Handle(), TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool IconToolBar::IsButtonEnabled(UINT command) const
{
    return m_bar.Handle() != nullptr && ::SendMessageW(m_bar.Handle(), TB_ISBUTTONENABLED, command, 0) != 0;
}

bool IconToolBar::IsButtonChecked(UINT command) const
{
    return m_bar.Handle() != nullptr && ::SendMessageW(m_bar.Handle(), TB_ISBUTTONCHECKED, command, 0) != 0;
}

void IconToolBar::UpdateCmdUI(const std::function<bool(NCmdUI&)>& update)
{
    if (!m_bar || !update)
        return;
    for (const SButton& b : m_buttons) {
        if (b.command == 0)
            continue;
        NCmdUI cmd(b.command);
        cmd.enabled = IsButtonEnabled(b.command);
        cmd.checked = IsButtonChecked(b.command);
        if (!update(cmd))
            continue;
        if (cmd.enabled != IsButtonEnabled(b.command))
            ::SendMessageW(m_bar.Handle(), TB_ENABLEBUTTON, b.command, MAKELPARAM(cmd.enabled ? TRUE : FALSE, 0));
        if (cmd.checked != IsButtonChecked(b.command))
            ::SendMessageW(m_bar.Handle(), TB_CHECKBUTTON, b.command, MAKELPARAM(cmd.checked ? TRUE : FALSE, 0));
    }
}
