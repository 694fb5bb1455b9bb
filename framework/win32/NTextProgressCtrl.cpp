#include "framework/win32/NTextProgressCtrl.h"

#include "foundation/win32/Handles.h"

bool NTextProgressCtrl::Create(HWND parent, UINT id, const RECT& rect, DWORD style)
{
    if (!RegisterClass(kClassName, CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW), nullptr))
        return false;
    return CreateEx(0, kClassName, L"", style, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void NTextProgressCtrl::SetRange(int lower, int upper)
{
    if (upper <= lower) {
        lower = 0;
        upper = 1;
    }
    m_lower = lower;
    m_upper = upper;
    SetPos(m_pos);
}

void NTextProgressCtrl::SetPos(int pos)
{
    m_pos = pos < m_lower ? m_lower : (pos > m_upper ? m_upper : pos);
    Redraw();
}

void NTextProgressCtrl::SetText(std::wstring text)
{
    m_text = std::move(text);
    Redraw();
}

int NTextProgressCtrl::FilledWidth(int clientWidth) const noexcept
{
    if (clientWidth <= 0)
        return 0;
    const long long span = static_cast<long long>(m_upper) - m_lower;
    const long long done = static_cast<long long>(m_pos) - m_lower;
    return static_cast<int>(done * clientWidth / span);
}

void NTextProgressCtrl::Redraw()
{
    if (Handle() != nullptr)
        ::InvalidateRect(Handle(), nullptr, FALSE);
}

bool NTextProgressCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_ERASEBKGND) {
        result = 1;  // the paint covers every pixel
        return true;
    }
    return false;
}

bool NTextProgressCtrl::OnPaint()
{
    NPaintDC paint(Handle());
    HDC dc = paint.Get();
    RECT client{};
    ::GetClientRect(Handle(), &client);
    RECT filled = client;
    filled.right = client.left + FilledWidth(client.right - client.left);
    RECT rest = client;
    rest.left = filled.right;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(Handle()), WM_GETFONT, 0, 0));
    NSelectObject selectFont(dc, font != nullptr ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    // Each half clips the same centred text, so the text changes colour
    // exactly where the bar ends.
    struct SPart {
        RECT rect;
        int back;
        int fore;
    };
    const SPart parts[] = {{filled, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT}, {rest, COLOR_BTNFACE, COLOR_WINDOWTEXT}};
    for (const SPart& part : parts) {
        if (part.rect.right <= part.rect.left)
            continue;
        ::FillRect(dc, &part.rect, ::GetSysColorBrush(part.back));
        if (m_text.empty())
            continue;
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, part.rect.left, part.rect.top, part.rect.right, part.rect.bottom);
        ::SetTextColor(dc, ::GetSysColor(part.fore));
        RECT textRect = client;
        ::DrawTextW(dc, m_text.c_str(), static_cast<int>(m_text.size()), &textRect, format);
        ::RestoreDC(dc, saved);
    }
    return true;
}
