#include "framework/win32/NReBar.h"

#include <commctrl.h>

bool NReBar::Create(HWND parent, UINT id, DWORD extraStyle)
{
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CCS_NODIVIDER | CCS_TOP | extraStyle;
    if (!m_bar.Create(WS_EX_TOOLWINDOW, REBARCLASSNAMEW, style, parent, id))
        return false;
    REBARINFO info{};
    info.cbSize = sizeof info;
    ::SendMessageW(m_bar.Handle(), RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

namespace {
REBARBANDINFOW BandFor(HWND child, SIZE ideal)
{
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE | RBBIM_IDEALSIZE;
    band.fStyle = RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE;
    band.hwndChild = child;
    band.cxMinChild = 0;
    band.cyMinChild = ideal.cy;
    band.cx = ideal.cx + 16;
    band.cxIdeal = ideal.cx;
    return band;
}
}  // namespace

bool NReBar::AddBar(HWND child, SIZE ideal)
{
    REBARBANDINFOW band = BandFor(child, ideal);
    return ::SendMessageW(m_bar.Handle(), RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

bool NReBar::ReplaceBar(UINT index, HWND child, SIZE ideal)
{
    REBARBANDINFOW band = BandFor(child, ideal);
    return ::SendMessageW(m_bar.Handle(), RB_SETBANDINFOW, index, reinterpret_cast<LPARAM>(&band)) != 0;
}

UINT NReBar::BandCount() const
{
    return m_bar.Handle() ? static_cast<UINT>(::SendMessageW(m_bar.Handle(), RB_GETBANDCOUNT, 0, 0)) : 0;
}

int NReBar::Height() const
{
    if (!m_bar.IsVisible())
        return 0;
    RECT r{};
    ::GetWindowRect(m_bar.Handle(), &r);
    return r.bottom - r.top;
}
