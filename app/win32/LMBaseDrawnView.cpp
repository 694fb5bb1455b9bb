#include "app/win32/LMBaseDrawnView.h"

#include <windowsx.h>

#include "config/LMConsConfig.h"
#include "config/win32/LMConsSetupDlgSettings.h"
#include "config/win32/LMRegisteredMessages.h"
#include "framework/win32/NFontDialog.h"
#include "transport/win32/NCOMPortEnumThread.h"

LMBaseDrawnView::LMBaseDrawnView()
{
    m_env.ports = &m_ports;
    m_env.logFolder = &m_logFolder;
    m_env.msgUpdateSetup = LMMessage(lmmsg::kUpdateSetup);
    m_runSetup = LMRunConsSetupDlg;
    m_chooseFont = NChooseFont;
}

LMBaseDrawnView::~LMBaseDrawnView()
{
    // Destroyed here so that the list is still saved by this class's handler.
    DestroyWindow();
}

std::wstring LMBaseDrawnView::BaseKeyPath()
{
    return std::wstring(LMConsConfig::kRootPath) + L"\\" + LMConsConfig::kBaseKey;
}

bool LMBaseDrawnView::OnCreate(const CREATESTRUCTW& create)
{
    // The notification target is set before loading requests a scan, so a
    // scan that finishes at once is not missed; a finished earlier scan is
    // taken over right away.
    NCOMPortEnumThread::Global().SetNotification(Handle(), LMMessage(lmmsg::kCOMEnumUpdated));
    LoadList();
    RefreshPorts();
    if (::SetTimer(Handle(), kRefreshTimerId, kRefreshMs, nullptr) == 0)
        return false;
    m_created = true;
    return true;
}

void LMBaseDrawnView::OnDestroy()
{
    HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    ::KillTimer(Handle(), kRefreshTimerId);
    NCOMPortEnumThread::Global().SetNotification(nullptr, 0);
    SaveList();
    m_created = false;
    ::SetCursor(previous);
}

bool LMBaseDrawnView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (message == WM_TIMER && wParam == kRefreshTimerId) {
        Repaint();
        return true;
    }
    if (message == LMMessage(lmmsg::kCOMEnumUpdated)) {
        RefreshPorts();
        RequestLayout();
        return true;
    }
    if (message == LMMessage(lmmsg::kUpdateDevice)) {
        RequestLayout();
        return true;
    }
    if (message == LMMessage(lmmsg::kConsolePopUpMenu)) {
        ShowPopupMenu(static_cast<int>(wParam), static_cast<int>(lParam));
        return true;
    }
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        m_focus = message == WM_SETFOCUS;
        Repaint();
        return true;
    case WM_KEYDOWN:
        return OnKey(static_cast<UINT>(wParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnLeftButton(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam),
                     message == WM_LBUTTONDBLCLK);
        return true;
    case WM_RBUTTONDOWN:
        OnRightButton(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return true;
    case WM_VSCROLL:
    case WM_HSCROLL:
        Scroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return true;
    case WM_MOUSEWHEEL:
        Wheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return true;
    default:
        break;
    }
    return DrawnWnd::OnMessage(message, wParam, lParam, result);
}
