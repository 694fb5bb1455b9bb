#include "framework/win32/NStatusBar.h"

#include <commctrl.h>

#include "foundation/win32/Handles.h"

namespace {
std::wstring LoadText(UINT id, const wchar_t* fallback)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length > 0 && text != nullptr)
        return std::wstring(text, static_cast<size_t>(length));
    return fallback;
}
}  // namespace

bool NStatusBar::Create(HWND parent, UINT id)
{
    if (!m_bar.Create(0, STATUSCLASSNAMEW, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_BOTTOM, parent, id))
        return false;
    m_indicators = {{LoadText(kIdsCaps, L"CAP"), VK_CAPITAL},
                    {LoadText(kIdsNum, L"NUM"), VK_NUMLOCK},
                    {LoadText(kIdsScroll, L"SCRL"), VK_SCROLL}};
    Layout();
    UpdateIndicators();
    return true;
}

int NStatusBar::Height() const
{
    if (!m_bar.IsVisible())
        return 0;
    RECT r{};
    ::GetWindowRect(m_bar.Handle(), &r);
    return r.bottom - r.top;
}

void NStatusBar::Layout()
{
    HWND bar = m_bar.Handle();
    if (bar == nullptr)
        return;
    ::SendMessageW(bar, WM_SIZE, 0, 0);
    RECT client{};
    ::GetClientRect(bar, &client);
    NWindowDC dc(bar);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(::SendMessageW(bar, WM_GETFONT, 0, 0));
    NSelectObject select(dc.Get(), font);
    std::vector<int> widths;
    for (const SIndicator& ind : m_indicators) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), ind.text.c_str(), static_cast<int>(ind.text.size()), &size);
        widths.push_back(size.cx + 12);
    }
    const int grip = ::GetSystemMetrics(SM_CXVSCROLL);
    std::vector<int> edges(widths.size() + 1);
    int right = client.right - grip;
    for (size_t i = widths.size(); i > 0; --i) {
        edges[i] = right;
        right -= widths[i - 1];
    }
    edges[0] = right > 0 ? right : 0;
    edges.back() = -1;
    ::SendMessageW(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

bool NStatusBar::SetText(int pane, const std::wstring& text)
{
    return m_bar.Handle() != nullptr &&
           ::SendMessageW(m_bar.Handle(), SB_SETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring NStatusBar::Text(int pane) const
{
    if (m_bar.Handle() == nullptr)
        return std::wstring();
    const LRESULT info = ::SendMessageW(m_bar.Handle(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0);
    std::wstring text(LOWORD(info) + 1, L'\0');
    ::SendMessageW(m_bar.Handle(), SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return text;
}

void NStatusBar::UpdateIndicators()
{
    for (size_t i = 0; i < m_indicators.size(); ++i) {
        const bool on = (::GetKeyState(m_indicators[i].key) & 1) != 0;
        const std::wstring wanted = on ? m_indicators[i].text : std::wstring();
        const int pane = static_cast<int>(i) + 1;
        if (Text(pane) != wanted)
            SetText(pane, wanted);
    }
}
