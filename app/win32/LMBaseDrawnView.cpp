#include "app/win32/LMBaseDrawnView.h"

#include "foundation/win32/Handles.h"

bool LMBaseDrawnView::OnCreate(const CREATESTRUCTW& create)
{
    return ::SetTimer(Handle(), kRefreshTimerId, kRefreshMs, nullptr) != 0;
}

void LMBaseDrawnView::OnDestroy()
{
    ::KillTimer(Handle(), kRefreshTimerId);
}

bool LMBaseDrawnView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_TIMER && wParam == kRefreshTimerId) {
        Repaint();
        result = 0;
        return true;
    }
    return DrawnWnd::OnMessage(message, wParam, lParam, result);
}

void LMBaseDrawnView::OnLayout(HDC dc, const RECT& client)
{
    NSelectObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    m_rowHeight = metrics.tmHeight + 5;
    for (int i = 0; i < 4; ++i) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, kHeaders[i], lstrlenW(kHeaders[i]), &size);
        m_columnWidth[i] = size.cx + 4 + 24;
    }
}

void LMBaseDrawnView::OnDraw(HDC dc, const RECT& client)
{
    NSelectObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    RECT header{client.left, client.top, client.right, client.top + m_rowHeight};
    ::FillRect(dc, &header, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    NPen grid(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT)));
    NSelectObject pen(dc, grid.Get());
    int x = 0;
    for (int i = 0; i < 4; ++i) {
        RECT cell{x + 2, header.top, x + m_columnWidth[i], header.bottom - 1};
        ::DrawTextW(dc, kHeaders[i], -1, &cell, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        x += m_columnWidth[i];
        ::MoveToEx(dc, x, header.top, nullptr);
        ::LineTo(dc, x, header.bottom);
        ++x;
    }
    ::MoveToEx(dc, client.left, header.bottom - 1, nullptr);
    ::LineTo(dc, client.right, header.bottom - 1);
}
