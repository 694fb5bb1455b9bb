// Mouse, keyboard and the pop-up menu of the console list.
#include "app/win32/LMBaseDrawnView.h"
#include "config/win32/LMRegisteredMessages.h"

namespace {
bool KeyDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

// The frame menu's "&Console" pop-up.
HMENU ConsoleMenu(HMENU menu, UINT& position)
{
    const int count = menu != nullptr ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = static_cast<UINT>(std::size(text));
        if (::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && info.hSubMenu != nullptr &&
            std::wstring(text) == L"&Console") {
            position = static_cast<UINT>(i);
            return info.hSubMenu;
        }
    }
    return nullptr;
}
}  // namespace

bool LMBaseDrawnView::OnKey(UINT key)
{
    const bool shift = KeyDown(VK_SHIFT);
    const bool ctrl = KeyDown(VK_CONTROL);
    ELMListKey listKey;
    switch (key) {
    case VK_HOME: listKey = ELMListKey::kHome; break;
    case VK_END: listKey = ELMListKey::kEnd; break;
    case VK_UP: listKey = ELMListKey::kUp; break;
    case VK_DOWN: listKey = ELMListKey::kDown; break;
    case VK_RETURN:
        OpenConsoles(true);
        Repaint();
        return true;
    default: return false;
    }
    if (m_list.Key(listKey, shift, ctrl)) {
        // Keep the caret row in sight.
        RECT client{};
        ::GetClientRect(Handle(), &client);
        const int h = m_layout.rowHeight;
        const int top = static_cast<int>(m_list.Caret()) * h;
        if (h > 0) {
            if (top < m_scrollY)
                m_scrollY = top;
            else if (top + 2 * h > m_scrollY + client.bottom)
                m_scrollY = top + 2 * h - client.bottom;
        }
        Repaint();
    }
    return true;
}

void LMBaseDrawnView::OnLeftButton(int x, int y, UINT flags, bool doubleClick)
{
    ::SetFocus(Handle());
    if (doubleClick) {
        OpenConsoles(true);
        Repaint();
        return;
    }
    const int row = m_layout.RowAt(y, m_scrollY, m_list.Count());
    if (row < 0 || x + m_scrollX >= m_layout.totalWidth)
        return;
    m_list.Click(static_cast<size_t>(row), (flags & MK_SHIFT) != 0, (flags & MK_CONTROL) != 0);
    Repaint();
}

void LMBaseDrawnView::OnRightButton(int x, int y)
{
    if (m_layout.RowAt(y, m_scrollY, m_list.Count()) < 0)
        return;
    ::PostMessageW(Handle(), LMMessage(lmmsg::kConsolePopUpMenu), static_cast<WPARAM>(x), static_cast<LPARAM>(y));
}

void LMBaseDrawnView::ShowPopupMenu(int x, int y)
{
    const HWND frame = ::GetParent(Handle());
    UINT position = 0;
    HMENU menu = ConsoleMenu(::GetMenu(frame), position);
    if (menu == nullptr)
        return;
    ::SendMessageW(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(position, FALSE));
    POINT screen{x, y};
    ::ClientToScreen(Handle(), &screen);
    if (m_trackPopup) {
        m_trackPopup(menu, screen);
        return;
    }
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Handle(), nullptr);
    Repaint();
}
