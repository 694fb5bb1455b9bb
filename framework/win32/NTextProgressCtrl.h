#pragma once
// A progress bar that shows a text over its bar: a smooth bar filled from the
// left in the highlight colour, the text centred on top, drawn in the
// highlight text colour over the filled part and the window text colour over
// the rest. Position and range are clamped, so a caller's stray value never
// overfills the bar.
#include <windows.h>

#include <string>

#include "framework/win32/NWnd.h"

class NTextProgressCtrl : public NWnd {
public:
    static constexpr const wchar_t* kClassName = L"NTextProgressCtrl";

    ~NTextProgressCtrl() override { DestroyWindow(); }

    bool Create(HWND parent, UINT id, const RECT& rect, DWORD style = WS_CHILD | WS_VISIBLE);

    // An empty or reversed range becomes 0..1.
    void SetRange(int lower, int upper);
    void SetPos(int pos);
    void SetText(std::wstring text);

    int Lower() const noexcept { return m_lower; }
    int Upper() const noexcept { return m_upper; }
    int Pos() const noexcept { return m_pos; }
    const std::wstring& Text() const noexcept { return m_text; }
    // Width in pixels of the filled part for a client width.
    int FilledWidth(int clientWidth) const noexcept;

protected:
    bool OnPaint() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Redraw();

    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
    std::wstring m_text;
};
