#include "framework/win32/NFrameWnd.h"

#include <string>

#include "framework/win32/NWinThread.h"

namespace {
std::wstring LoadTitle(HINSTANCE instance, UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return std::wstring();
    std::wstring title(text, static_cast<size_t>(length));
    // A frame string may carry further fields after a line feed.
    const size_t cut = title.find(L'\n');
    return cut == std::wstring::npos ? title : title.substr(0, cut);
}
}  // namespace

bool NFrameWnd::LoadFrame(UINT resourceId, DWORD style, HWND parent)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!RegisterClass(kClassName, 0, nullptr, nullptr))
        return false;
    HMENU menu = ::LoadMenuW(instance, MAKEINTRESOURCEW(resourceId));
    m_accelerators = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(resourceId));
    const std::wstring title = LoadTitle(instance, resourceId);
    if (!CreateEx(0, kClassName, title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  parent, menu)) {
        const DWORD error = ::GetLastError();
        if (menu != nullptr)
            ::DestroyMenu(menu);
        ::SetLastError(error);
        return false;
    }
    return true;
}

void NFrameWnd::SetBars(NReBar* rebar, IconToolBar* toolbar, NStatusBar* status) noexcept
{
    m_rebar = rebar;
    m_toolbar = toolbar;
    m_status = status;
}

bool NFrameWnd::TranslateAccelerators(MSG& message)
{
    return m_accelerators != nullptr && Handle() != nullptr &&
           ::TranslateAcceleratorW(Handle(), m_accelerators, &message) != 0;
}

bool NFrameWnd::RouteCommand(UINT id, UINT code, HWND control)
{
    if (m_view != nullptr && m_view->OnCmdMsg(id, code, control))
        return true;
    if (OnCmdMsg(id, code, control))
        return true;
    NWinThread* thread = NWinThread::Current();
    return thread != nullptr && thread->OnCmdMsg(id, code, control);
}

bool NFrameWnd::RouteUpdate(NCmdUI& cmd)
{
    if (m_view != nullptr && m_view->OnUpdateCmdUI(cmd))
        return true;
    if (OnUpdateCmdUI(cmd))
        return true;
    NWinThread* thread = NWinThread::Current();
    return thread != nullptr && thread->OnUpdateCmdUI(cmd);
}

void NFrameWnd::UpdateMenu(HMENU menu)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
    info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.hSubMenu != nullptr || (info.fType & MFT_SEPARATOR) != 0 || info.wID == 0)
            continue;
        NCmdUI cmd(info.wID);
        cmd.enabled = (info.fState & MFS_DISABLED) == 0;
        cmd.checked = (info.fState & MFS_CHECKED) != 0;
        if (!RouteUpdate(cmd))
            continue;
        ::EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (cmd.enabled ? MF_ENABLED : MF_GRAYED));
        ::CheckMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (cmd.checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void NFrameWnd::RecalcLayout()
{
    if (Handle() == nullptr)
        return;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    int top = client.top;
    int bottom = client.bottom;
    if (m_rebar != nullptr && m_rebar->Window()) {
        ::SendMessageW(m_rebar->Handle(), WM_SIZE, 0, 0);
        if (m_rebar->Window().IsVisible()) {
            const int height = m_rebar->Height();
            ::MoveWindow(m_rebar->Handle(), 0, top, client.right - client.left, height, TRUE);
            top += height;
        }
    }
    if (m_status != nullptr && m_status->Window()) {
        m_status->Layout();
        bottom -= m_status->Height();
    }
    if (m_view != nullptr && m_view->Handle() != nullptr)
        ::MoveWindow(m_view->Handle(), 0, top, client.right - client.left, bottom > top ? bottom - top : 0, TRUE);
}

bool NFrameWnd::OnCmdMsg(UINT id, UINT code, HWND control)
{
    if (id == kIdViewToolBar && m_rebar != nullptr && m_rebar->Window()) {
        m_rebar->Window().Show(!m_rebar->Window().IsVisible());
        RecalcLayout();
        return true;
    }
    if (id == kIdViewStatusBar && m_status != nullptr && m_status->Window()) {
        m_status->Window().Show(!m_status->Window().IsVisible());
        RecalcLayout();
        return true;
    }
    return false;
}

bool NFrameWnd::OnUpdateCmdUI(NCmdUI& cmd)
{
    if (cmd.id == kIdViewToolBar) {
        cmd.Enable(m_rebar != nullptr && m_rebar->Window());
        cmd.SetCheck(m_rebar != nullptr && m_rebar->Window().IsVisible());
        return true;
    }
    if (cmd.id == kIdViewStatusBar) {
        cmd.Enable(m_status != nullptr && m_status->Window());
        cmd.SetCheck(m_status != nullptr && m_status->Window().IsVisible());
        return true;
    }
    return false;
}

void NFrameWnd::OnIdleUpdate()
{
    if (m_toolbar != nullptr)
        m_toolbar->UpdateCmdUI([this](NCmdUI& cmd) { return RouteUpdate(cmd); });
    if (m_status != nullptr)
        m_status->UpdateIndicators();
}

LRESULT NFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_COMMAND:
        if (RouteCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
            return 0;
        break;
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) == 0)
            UpdateMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        RecalcLayout();
        return 0;
    case WM_SETFOCUS:
        if (m_view != nullptr && m_view->Handle() != nullptr) {
            ::SetFocus(m_view->Handle());
            return 0;
        }
        break;
    case WM_NOTIFY: {
        // Tool tips of the toolbar ask for the command's text: the menu's
        // string table entry of the same ID, text after the line feed.
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            const wchar_t* text = nullptr;
            const int length =
                ::LoadStringW(::GetModuleHandleW(nullptr), static_cast<UINT>(header->idFrom), reinterpret_cast<LPWSTR>(&text), 0);
            if (length > 0 && text != nullptr) {
                std::wstring tip(text, static_cast<size_t>(length));
                const size_t cut = tip.find(L'\n');
                if (cut != std::wstring::npos)
                    tip = tip.substr(cut + 1);
                lstrcpynW(info->szText, tip.c_str(), static_cast<int>(std::size(info->szText)));
                info->lpszText = info->szText;
            }
            return 0;
        }
        break;
    }
    default:
        return HandleCommon(message, wParam, lParam);
    }
    return Default(message, wParam, lParam);
}

void NFrameWnd::OnNcDestroy()
{
    // The thread's loop ends with its main window.
    NWinThread* thread = NWinThread::Current();
    if (thread != nullptr && thread->MainWnd() == this) {
        thread->SetMainWnd(nullptr);
        ::PostQuitMessage(0);
    }
}
