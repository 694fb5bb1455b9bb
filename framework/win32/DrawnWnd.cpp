#include "framework/win32/DrawnWnd.h"

UINT DrawnWnd::ms_cnMsgIDCallback = ::RegisterWindowMessageW(L"DrawnWnd::ms_cnMsgIDCallback");

bool DrawnWnd::Create(HWND parent, UINT id, const RECT& rect, DWORD style, DWORD exStyle)
{
    if (!RegisterClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return false;
    return CreateEx(exStyle, kClassName, L"", style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void DrawnWnd::RequestLayout()
{
    m_layoutStale = true;
    Repaint();
}

void DrawnWnd::Repaint()
{
    if (Handle() != nullptr)
        ::InvalidateRect(Handle(), nullptr, FALSE);
}

void DrawnWnd::OnSize(UINT type, int width, int height)
{
    m_layoutStale = true;
}

bool DrawnWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_ERASEBKGND) {
        // The paint covers everything; erasing first is what flickers.
        result = 1;
        return true;
    }
    return false;
}

bool DrawnWnd::OnPaint()
{
    NPaintDC paint(Handle());
    if (paint.Get() == nullptr)
        return true;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int width = client.right > 0 ? client.right : 1;
    const int height = client.bottom > 0 ? client.bottom : 1;
    NMemoryDC memory(::CreateCompatibleDC(paint.Get()));
    NBitmap bitmap(::CreateCompatibleBitmap(paint.Get(), width, height));
    if (!memory || !bitmap) {
        // Without an off-screen bitmap, draw directly rather than not at all.
        ::FillRect(paint.Get(), &client, ::GetSysColorBrush(COLOR_WINDOW));
        if (m_layoutStale) {
            m_layoutStale = false;
            OnLayout(paint.Get(), client);
        }
        OnDraw(paint.Get(), client);
        return true;
    }
    {
        NSelectObject select(memory.Get(), bitmap.Get());
        ::FillRect(memory.Get(), &client, ::GetSysColorBrush(COLOR_WINDOW));
        if (m_layoutStale) {
            m_layoutStale = false;
            OnLayout(memory.Get(), client);
        }
        OnDraw(memory.Get(), client);
        const RECT& dirty = paint.Paint().rcPaint;
        ::BitBlt(paint.Get(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
                 memory.Get(), dirty.left, dirty.top, SRCCOPY);
    }
    return true;
}
