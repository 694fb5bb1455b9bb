#pragma once
// The main window's client: the list of consoles. For now it draws the
// column headers only; the console rows come with the list itself.
#include "framework/win32/DrawnWnd.h"

class LMBaseDrawnView : public DrawnWnd {
public:
    static constexpr const wchar_t* kHeaders[4] = {L"Name", L"Host/Port", L"Device/Address", L"Status"};

    // The list repaints on this timer, which also gives the main thread its
    // regular idle passes (the wake-up event is polled there).
    static constexpr UINT kRefreshTimerId = 1;
    static constexpr UINT kRefreshMs = 970;

protected:
    bool OnCreate(const CREATESTRUCTW& create) override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnLayout(HDC dc, const RECT& client) override;
    void OnDraw(HDC dc, const RECT& client) override;

private:
    int m_rowHeight = 20;
    int m_columnWidth[4] = {};
};
