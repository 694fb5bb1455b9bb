#pragma once
// A window that paints by way of an off-screen bitmap: the subclass lays out
// (when asked to) and draws into a memory device context the size of the
// client area, which is then copied to the screen in one piece, so a repaint
// never flickers.
#include <windows.h>

#include "foundation/win32/Handles.h"
#include "framework/win32/NWnd.h"

class DrawnWnd : public NWnd {
public:
    static constexpr const wchar_t* kClassName = L"DrawnWnd";
    // "DrawnWnd::ms_cnMsgIDCallback", for widgets that call back into their
    // drawn owner.
    static UINT ms_cnMsgIDCallback;

    // A child with CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, the arrow cursor and
    // the window-colour background.
    bool Create(HWND parent, UINT id, const RECT& rect, DWORD style = WS_CHILD | WS_VISIBLE,
                DWORD exStyle = WS_EX_CLIENTEDGE);

    // Marks the layout stale and repaints.
    void RequestLayout();
    void Repaint();

protected:
    // Called before OnDraw when the layout is stale (first paint, size
    // change, RequestLayout).
    virtual void OnLayout(HDC dc, const RECT& client) {}
    // Draws the whole client area; the bitmap has been cleared to the window colour.
    virtual void OnDraw(HDC dc, const RECT& client) = 0;

    bool OnPaint() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnSize(UINT type, int width, int height) override;

private:
    bool m_layoutStale = true;
};
