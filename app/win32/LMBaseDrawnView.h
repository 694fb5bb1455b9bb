#pragma once
// The main window's client: the list of consoles. For now it draws the
// column headers only; the console rows come with the list itself.
#include "framework/win32/DrawnWnd.h"

class LMBaseDrawnView : public DrawnWnd {
public:
    static constexpr const wchar_t* kHeaders[4] = {L"Name", L"Host/Port", L"Device/Address", L"Status"};

protected:
    void OnLayout(HDC dc, const RECT& client) override;
    void OnDraw(HDC dc, const RECT& client) override;

private:
    int m_rowHeight = 20;
    int m_columnWidth[4] = {};
};
