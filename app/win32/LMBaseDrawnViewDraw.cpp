// Layout, drawing and scrolling of the console list.
#include <algorithm>

#include "app/LMConsListCells.h"
#include "app/win32/LMBaseDrawnView.h"
#include "config/LMConsConfig.h"
#include "config/LMGlobalPrefs.h"
#include "config/win32/LMConsSetupDlgFont.h"
#include "framework/win32/NIconCache.h"

namespace {
int TextWidth(HDC dc, const std::wstring& text)
{
    SIZE size{};
    if (!text.empty())
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void FillSolid(HDC dc, const RECT& rect, int colour)
{
    ::FillRect(dc, &rect, ::GetSysColorBrush(colour));
}

void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}
}  // namespace

HFONT LMBaseDrawnView::ListFont()
{
    if (m_font)
        return m_font.Get();
    LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
    const std::wstring code = prefs.CopyString(prefs.BaseListFontCode);
    LOGFONTW font{};
    if (code.empty() || !LMFontFromCode(code, font)) {
        if (!::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0))
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    }
    m_font.Reset(::CreateFontIndirectW(&font));
    return m_font ? m_font.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void LMBaseDrawnView::DropFont()
{
    m_font.Reset();
}

void LMBaseDrawnView::OnLayout(HDC dc, const RECT& client)
{
    // The cells change with every status poll, so the layout is computed on
    // every paint (OnDraw).
}

void LMBaseDrawnView::ComputeLayout(HDC dc)
{
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    m_layout.SetTextHeight(metrics.tmHeight);
    std::array<int, SLMConsListLayout::kColumns> widths{};
    for (int c = 0; c < SLMConsListLayout::kColumns; ++c)
        widths[c] = m_layout.HeaderCellWidth(TextWidth(dc, lmcell::kHeaders[c]));
    for (size_t r = 0; r < m_list.Count(); ++r)
        for (int c = 0; c < SLMConsListLayout::kColumns; ++c)
            widths[c] = std::max(widths[c], m_layout.DataCellWidth(TextWidth(dc, LMConsCellOf(*m_list.At(r), c, &m_ports).text)));
    m_layout.SetColumnWidths(widths);
}

void LMBaseDrawnView::UpdateScrollBars()
{
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int ranges[2] = {m_layout.HorizontalRange(), m_layout.VerticalRange(m_list.Count())};
    const int pages[2] = {client.right, client.bottom};
    int* positions[2] = {&m_scrollX, &m_scrollY};
    for (int bar = 0; bar < 2; ++bar) {
        *positions[bar] = LMClampScroll(*positions[bar], ranges[bar], pages[bar]);
        if (m_barRange[bar] == ranges[bar] && m_barPage[bar] == pages[bar] && m_barPos[bar] == *positions[bar])
            continue;
        m_barRange[bar] = ranges[bar];
        m_barPage[bar] = pages[bar];
        m_barPos[bar] = *positions[bar];
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = ranges[bar] > 0 ? ranges[bar] - 1 : 0;
        info.nPage = static_cast<UINT>(std::max(pages[bar], 0));
        info.nPos = *positions[bar];
        ::SetScrollInfo(Handle(), bar == 0 ? SB_HORZ : SB_VERT, &info, TRUE);
    }
}

void LMBaseDrawnView::Scroll(int bar, UINT code)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(Handle(), bar, &info);
    int& position = bar == SB_HORZ ? m_scrollX : m_scrollY;
    const int page = static_cast<int>(info.nPage);
    switch (code) {
    case SB_LINEUP: position -= 1; break;
    case SB_LINEDOWN: position += 1; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
    }
    const int range = bar == SB_HORZ ? m_layout.HorizontalRange() : m_layout.VerticalRange(m_list.Count());
    position = LMClampScroll(position, range, page);
    Repaint();
}

void LMBaseDrawnView::Wheel(int delta)
{
    RECT client{};
    ::GetClientRect(Handle(), &client);
    m_wheelRest += delta;
    const int notches = m_wheelRest / WHEEL_DELTA;
    m_wheelRest -= notches * WHEEL_DELTA;
    if (notches == 0)
        return;
    m_scrollY = LMClampScroll(m_scrollY - notches * 3 * m_layout.rowHeight, m_layout.VerticalRange(m_list.Count()),
                              client.bottom);
    Repaint();
}

void LMBaseDrawnView::DrawHeader(HDC dc, int y, const RECT& client)
{
    const int x0 = -m_scrollX;
    RECT band{x0, y, x0 + m_layout.totalWidth, y + m_layout.rowHeight};
    FillSolid(dc, band, COLOR_BTNFACE);
    NPen grid(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNTEXT)));
    NSelectObject pen(dc, grid.Get());
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    for (int c = 0; c < SLMConsListLayout::kColumns; ++c) {
        const int left = x0 + m_layout.columnLeft[c];
        const wchar_t* text = lmcell::kHeaders[c];
        ::TextOutW(dc, left + 2, y + m_layout.textBottom, text, lstrlenW(text));
        const int right = left + m_layout.columnWidth[c];
        Line(dc, right, y, right, y + m_layout.rowHeight);
    }
    Line(dc, band.left, band.bottom - 1, band.right, band.bottom - 1);
}

void LMBaseDrawnView::DrawRow(HDC dc, int y, size_t row, const RECT& client)
{
    const LMConsConfig& config = *m_list.At(row);
    int background = COLOR_WINDOW;
    int text = COLOR_WINDOWTEXT;
    if (row == m_list.Caret() && m_focus) {
        background = COLOR_HIGHLIGHT;
        text = COLOR_HIGHLIGHTTEXT;
    } else if (config.IsSelected()) {
        background = COLOR_ACTIVECAPTION;
        text = COLOR_CAPTIONTEXT;
    }
    const int x0 = -m_scrollX;
    RECT band{x0, y, x0 + m_layout.totalWidth, y + m_layout.rowHeight};
    FillSolid(dc, band, background);
    NPen grid(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_APPWORKSPACE)));
    NSelectObject pen(dc, grid.Get());
    ::SetTextColor(dc, ::GetSysColor(text));
    NIconCache& icons = NIconCache::Instance();
    const int size = m_layout.iconSize;
    for (int c = 0; c < SLMConsListLayout::kColumns; ++c) {
        const int left = x0 + m_layout.columnLeft[c];
        const SLMConsCell cell = LMConsCellOf(config, c, &m_ports);
        if (cell.icon != 0)
            if (HICON icon = icons.Get(static_cast<UINT>(cell.icon), size))
                ::DrawIconEx(dc, left + m_layout.iconTop, y + m_layout.iconTop, icon, size, size, 0, nullptr, DI_NORMAL);
        const int textLeft = left + size + 2 * m_layout.iconTop + 2;
        ::TextOutW(dc, textLeft, y + m_layout.textBottom, cell.text.c_str(), static_cast<int>(cell.text.size()));
        const int right = left + m_layout.columnWidth[c];
        Line(dc, right, y, right, y + m_layout.rowHeight);
    }
    Line(dc, band.left, band.bottom - 1, band.right, band.bottom - 1);
}

void LMBaseDrawnView::OnDraw(HDC dc, const RECT& client)
{
    NSelectObject font(dc, ListFont());
    ComputeLayout(dc);
    UpdateScrollBars();
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_LEFT | TA_BOTTOM | TA_NOUPDATECP);
    const int rowHeight = m_layout.rowHeight;
    for (size_t r = 0; r < m_list.Count(); ++r) {
        const int y = static_cast<int>(r + 1) * rowHeight - m_scrollY;
        if (y >= client.bottom)
            break;
        if (y + rowHeight > client.top)
            DrawRow(dc, y, r, client);
    }
    // The header stays on top: it is drawn last, over any scrolled rows.
    DrawHeader(dc, 0, client);
}
