#include "console/win32/ConsoleWnd.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

namespace {
// Scheme indices come from one-byte log kinds in practice; the cap keeps a
// stray index from allocating gigabytes.
constexpr uint32_t kMaxSchemes = 65536;

bool CtrlDown()
{
    return (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
}
}  // namespace

ConsoleWnd::ConsoleWnd() = default;

ConsoleWnd::~ConsoleWnd()
{
    // Our OnDestroy must run while this part of the object still exists.
    DestroyWindow();
}

bool ConsoleWnd::Create(HWND parent, UINT id, const RECT& rect, DWORD style, DWORD exStyle)
{
    static const bool registered = NWnd::RegisterClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                                       ::LoadCursorW(nullptr, IDC_ARROW),
                                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (!registered)
        return false;
    return CreateConsole(kClassName, parent, id, rect, style, exStyle);
}

bool ConsoleWnd::CreateConsole(const wchar_t* className, HWND parent, UINT id, const RECT& rect, DWORD style,
                               DWORD exStyle)
{
    RECT r = rect;
    if (r.right <= r.left || r.bottom <= r.top) {
        r = RECT{0, 0, 0, 0};
        if (parent != nullptr)
            ::GetClientRect(parent, &r);
    }
    const bool child = (style & WS_CHILD) != 0;
    return CreateEx(exStyle, className, L"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                    child ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr);
}

bool ConsoleWnd::OnCreate(const CREATESTRUCTW&)
{
    Metrics();
    return true;
}

void ConsoleWnd::OnDestroy()
{
    ReleaseBackBuffer();
}

// ---- back buffer and metrics -------------------------------------------------

bool ConsoleWnd::EnsureBackBuffer()
{
    if (Handle() == nullptr)
        return false;
    if (!m_dc) {
        NWindowDC screen(Handle());
        if (!screen)
            return false;
        m_dc = NMemoryDC(::CreateCompatibleDC(screen.Get()));
        if (!m_dc)
            return false;
        m_oldFont = ::SelectObject(m_dc.Get(), m_font != nullptr ? m_font : ::GetStockObject(ANSI_FIXED_FONT));
        ::SetTextAlign(m_dc.Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
        ::SetBkMode(m_dc.Get(), TRANSPARENT);
        LearnAdvance();
    }
    const LONG width = m_client.right - m_client.left;
    const LONG height = m_client.bottom - m_client.top;
    if (width <= 0 || height <= 0)
        return true;  // measuring still works; there is nothing to draw into
    if (m_bitmap && m_bitmapSize.cx == width && m_bitmapSize.cy == height)
        return true;
    NWindowDC screen(Handle());
    NBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    if (!bitmap)
        return false;
    HGDIOBJ previous = ::SelectObject(m_dc.Get(), bitmap.Get());
    if (!m_bitmap)
        m_oldBitmap = previous;  // the DC's own stock bitmap, put back before the DC goes
    m_bitmap = std::move(bitmap);
    m_bitmapSize = SIZE{width, height};
    m_bitmapValid = false;
    return true;
}

void ConsoleWnd::ReleaseBackBuffer()
{
    if (m_dc) {
        if (m_oldBitmap != nullptr)
            ::SelectObject(m_dc.Get(), m_oldBitmap);
        if (m_oldFont != nullptr)
            ::SelectObject(m_dc.Get(), m_oldFont);
    }
    m_oldBitmap = nullptr;
    m_oldFont = nullptr;
    m_bitmap = NBitmap();
    m_dc = NMemoryDC();
    m_bitmapSize = SIZE{0, 0};
    m_bitmapValid = false;
}

void ConsoleWnd::Metrics()
{
    if (Handle() == nullptr)
        return;
    ::GetClientRect(Handle(), &m_client);
    const LONG width = m_client.right - m_client.left;
    const LONG height = m_client.bottom - m_client.top;
    const bool hasClient = width > 0 && height > 0;
    if (EnsureBackBuffer()) {
        SIZE extent{0, 0};
        if (::GetTextExtentPoint32W(m_dc.Get(), L"j", 1, &extent) && extent.cy > 0)
            m_lineHeight = extent.cy;
    }
    m_model.SetMetrics(height, m_lineHeight, hasClient);
    m_model.SetClientWidth(width);
    m_bitmapValid = false;
    UpdateBars(m_unmeasured);
}

void ConsoleWnd::LearnAdvance()
{
    m_asciiAdvance = 0;
    if (!m_dc)
        return;
    wchar_t all[95];
    for (int i = 0; i < 95; ++i)
        all[i] = static_cast<wchar_t>(0x20 + i);
    SIZE one{0, 0};
    SIZE whole{0, 0};
    SIZE pair{0, 0};
    // One advance for every glyph, and no kerning or overhang between them.
    if (::GetTextExtentPoint32W(m_dc.Get(), L"x", 1, &one) && one.cx > 0 &&
        ::GetTextExtentPoint32W(m_dc.Get(), all, 95, &whole) && whole.cx == 95 * one.cx &&
        ::GetTextExtentPoint32W(m_dc.Get(), L"AVWi", 4, &pair) && pair.cx == 4 * one.cx)
        m_asciiAdvance = one.cx;
}

int32_t ConsoleWnd::Measure(const std::wstring& text)
{
    ++m_linesMeasured;
    SIZE extent{0, 0};
    if (text.empty() || !m_dc)
        return 2;
    if (m_asciiAdvance > 0 && text.size() < 0x1000000) {
        bool ascii = true;
        for (const wchar_t c : text) {
            if (c < 0x20 || c > 0x7E) {
                ascii = false;
                break;
            }
        }
        if (ascii)
            return static_cast<int32_t>(text.size()) * m_asciiAdvance + 2;
    }
    // Lines are cut by the worker, but a text of more than 2^31 units would
    // not fit the call's count.
    const int count = static_cast<int>(std::min<size_t>(text.size(), 0x7FFFFFF));
    if (!::GetTextExtentPoint32W(m_dc.Get(), text.data(), count, &extent))
        return 2;
    return std::min<int32_t>(extent.cx, INT32_MAX - 2) + 2;
}

void ConsoleWnd::UpdateBars(bool recomputeWidths)
{
    if (m_inBars || Handle() == nullptr)
        return;
    m_inBars = true;
    if (recomputeWidths) {
        if (m_dc) {
            ConsoleLineRing& ring = m_model.Ring();
            for (int32_t i = 0; i < ring.Capacity(); ++i) {
                Line& line = ring.Line(i);
                if (line.width < 0)
                    line.width = Measure(line.text);
            }
            m_unmeasured = false;
        }
        m_model.RecomputeMaxWidth();
    }
    // Showing or hiding one bar changes the client size and so the other
    // bar's range; a second pass settles it.
    for (int pass = 0; pass < 3; ++pass) {
        const bool hBefore = m_hBarShown;
        const bool vBefore = m_vBarShown;
        const int32_t hRange = m_model.HorizontalRange();
        if (hRange > 0 && m_model.HasClient()) {
            m_model.ClampHorizontal();
            SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, m_model.MaxWidth() - 1,
                            static_cast<UINT>(m_client.right - m_client.left), m_model.HorizontalPos(), 0};
            if (!m_hBarShown) {
                ::ShowScrollBar(Handle(), SB_HORZ, TRUE);
                m_hBarShown = true;
            }
            ::SetScrollInfo(Handle(), SB_HORZ, &info, TRUE);
        } else {
            m_model.ClampHorizontal();
            if (m_hBarShown) {
                ::ShowScrollBar(Handle(), SB_HORZ, FALSE);
                m_hBarShown = false;
            }
        }
        const int32_t vRange = m_model.Capacity() - m_model.PageRows();
        m_model.ClampTop();
        if (vRange > 0 && m_model.HasClient()) {
            SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, m_model.Capacity() - 1,
                            static_cast<UINT>(m_model.PageRows()), m_model.Top(), 0};
            if (!m_vBarShown) {
                ::ShowScrollBar(Handle(), SB_VERT, TRUE);
                m_vBarShown = true;
            }
            ::SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
        } else if (m_vBarShown) {
            ::ShowScrollBar(Handle(), SB_VERT, FALSE);
            m_vBarShown = false;
        }
        if (hBefore == m_hBarShown && vBefore == m_vBarShown)
            break;
        // The bars changed the client area: take its new size.
        ::GetClientRect(Handle(), &m_client);
        const LONG width = m_client.right - m_client.left;
        const LONG height = m_client.bottom - m_client.top;
        m_model.SetMetrics(height, m_lineHeight, width > 0 && height > 0);
        m_model.SetClientWidth(width);
        EnsureBackBuffer();
        m_bitmapValid = false;
    }
    m_inBars = false;
}

// ---- lines -------------------------------------------------------------------

bool ConsoleWnd::SetDepth(int32_t capacity, bool redraw)
{
    if (capacity == m_model.Capacity()) {
        if (redraw)
            Redraw();
        return true;
    }
    if (!m_model.SetDepth(capacity))
        return false;
    UpdateBars(true);
    m_bitmapValid = false;
    if (redraw && Handle() != nullptr)
        Invalidate();
    return true;
}

bool ConsoleWnd::AfterStore(const ConsoleScrollModel::SetLineResult& result, int32_t logical, int32_t topBefore)
{
    if (!result.stored)
        return false;
    if (result.redrawAll)
        m_bitmapValid = false;
    if (!m_model.HasClient() || !m_dc) {
        m_unmeasured = true;
        return false;
    }
    // Measured even when the row is on screen, so the horizontal bar always
    // knows the widest line.
    Line& line = m_model.Ring().Line(logical);
    const int32_t width = Measure(line.text);
    const bool widerOrNarrower = m_model.NoteWidth(logical, width);
    if (widerOrNarrower || m_model.Top() != topBefore)
        UpdateBars(false);
    if (result.rowVisible) {
        Invalidate();
        return true;
    }
    return result.redrawAll;
}

bool ConsoleWnd::SetLine(int32_t index, uint32_t scheme, std::wstring_view text)
{
    const int32_t resolved = m_model.Resolve(index);
    const int32_t topBefore = m_model.Top();
    const ConsoleScrollModel::SetLineResult result = m_model.SetLine(index, scheme, text);
    if (!result.stored)
        return false;
    const int32_t logical = resolved >= m_model.Capacity() ? m_model.Ring().Last() : resolved;
    return AfterStore(result, logical, topBefore);
}

bool ConsoleWnd::AppendEntry(uint32_t kind, std::wstring_view text)
{
    const int32_t topBefore = m_model.Top();
    const ConsoleScrollModel::SetLineResult result = m_model.AppendEntry(kind, text);
    if (!result.stored)
        return false;
    return AfterStore(result, m_model.Ring().Last(), topBefore);
}

bool ConsoleWnd::EnsureVisible(int32_t index)
{
    if (!m_model.EnsureVisible(index))
        return false;
    m_bitmapValid = false;
    UpdateBars(false);
    Invalidate();
    return true;
}

void ConsoleWnd::SetAnchor(int32_t index)
{
    m_model.SetAnchor(index);
}

void ConsoleWnd::AfterBatch(bool changed)
{
    bool scrolled = false;
    if (m_model.Anchor() >= 0)
        scrolled = EnsureVisible(m_model.IsPinned() ? kAnchorLine : kLastLine);
    if (!scrolled && changed && Handle() != nullptr)
        Invalidate();
}

void ConsoleWnd::ToggleFollow()
{
    const int32_t top = m_model.Top();
    m_model.ToggleFollow();
    if (m_model.Top() != top) {
        m_bitmapValid = false;
        UpdateBars(false);
        Invalidate();
    }
}

void ConsoleWnd::TogglePin()
{
    m_model.TogglePin();
}

void ConsoleWnd::Erase()
{
    // As depth 0 and back: every line goes, the capacity stays.
    m_model.Erase();
    UpdateBars(true);
    Redraw();
}

bool ConsoleWnd::CopyToClipboard(bool visibleOnly)
{
    const std::wstring text = m_model.CopyText(visibleOnly);
    if (text.empty())
        return false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr)
        return false;
    void* data = ::GlobalLock(block);
    if (data == nullptr) {
        ::GlobalFree(block);
        return false;
    }
    std::memcpy(data, text.c_str(), bytes);
    ::GlobalUnlock(block);
    if (!::OpenClipboard(Handle())) {
        ::GlobalFree(block);
        return false;
    }
    ::EmptyClipboard();
    const bool placed = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!placed)
        ::GlobalFree(block);  // still ours: the clipboard did not take it
    ::CloseClipboard();
    return placed;
}

// ---- schemes and font --------------------------------------------------------

void ConsoleWnd::SetScheme(uint32_t index, COLORREF text, COLORREF back)
{
    if (index >= kMaxSchemes)
        return;
    if (index >= m_schemes.size())
        m_schemes.resize(index + 1, Scheme{});
    m_schemes[index] = Scheme{text, back};
    m_bitmapValid = false;
}

void ConsoleWnd::ClearSchemes()
{
    m_schemes.clear();
    m_bitmapValid = false;
}

ConsoleWnd::Scheme ConsoleWnd::SchemeAt(uint32_t index) const
{
    return index < m_schemes.size() ? m_schemes[index] : Scheme{};
}

void ConsoleWnd::SetFont(HFONT font)
{
    m_font = font;
    if (m_dc)
        ::SelectObject(m_dc.Get(), m_font != nullptr ? m_font : ::GetStockObject(ANSI_FIXED_FONT));
    LearnAdvance();
    // Every width belongs to the old font.
    ConsoleLineRing& ring = m_model.Ring();
    for (int32_t i = 0; i < ring.Capacity(); ++i)
        ring.Line(i).width = -1;
    m_unmeasured = true;
    Metrics();
    Redraw();
}

void ConsoleWnd::Invalidate()
{
    if (m_paintPending || Handle() == nullptr)
        return;
    m_paintPending = true;
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void ConsoleWnd::Redraw()
{
    m_bitmapValid = false;
    if (Handle() != nullptr)
        Invalidate();
}

// ---- painting ----------------------------------------------------------------

void ConsoleWnd::Render()
{
    if (!m_model.HasClient() || !EnsureBackBuffer() || !m_bitmap)
        return;
    const LONG width = m_client.right - m_client.left;
    const int32_t rows = m_model.VisibleRows();
    const int32_t top = m_model.Top();
    const int32_t capacity = m_model.Capacity();
    const int x = 1 - m_model.HorizontalPos();
    COLORREF brushColour = CLR_INVALID;
    NBrush brush;
    for (int32_t r = 0; r < rows; ++r) {
        const int64_t logical = static_cast<int64_t>(top) + r;
        Line& line = logical < capacity ? m_model.Ring().Line(static_cast<int32_t>(logical)) : m_template;
        if (m_bitmapValid && line.drawn)
            continue;
        const Scheme scheme = SchemeAt(line.scheme);
        if (scheme.back != brushColour || !brush) {
            brush = NBrush(::CreateSolidBrush(scheme.back));
            brushColour = scheme.back;
        }
        RECT row{0, r * m_lineHeight, width, (r + 1) * m_lineHeight};
        ::FillRect(m_dc.Get(), &row, brush.Get());
        if (!line.text.empty()) {
            ::SetTextColor(m_dc.Get(), scheme.text);
            const int count = static_cast<int>(std::min<size_t>(line.text.size(), 0x7FFFFFF));
            ::TextOutW(m_dc.Get(), x, r * m_lineHeight, line.text.data(), count);
        }
        line.drawn = true;
        ++m_rowsDrawn;
    }
    m_bitmapValid = true;
}

void ConsoleWnd::EraseBackground(HDC dc)
{
    RECT client{};
    ::GetClientRect(Handle(), &client);
    NBrush brush(::CreateSolidBrush(SchemeAt(0).back));
    ::FillRect(dc, &client, brush.Get());
}

void ConsoleWnd::Paint()
{
    m_paintPending = false;
    NPaintDC paint(Handle());
    if (paint.Get() == nullptr)
        return;
    Render();
    if (m_model.HasClient() && m_bitmap) {
        ::BitBlt(paint.Get(), 0, 0, m_bitmapSize.cx, m_bitmapSize.cy, m_dc.Get(), 0, 0, SRCCOPY);
    } else {
        EraseBackground(paint.Get());
    }
}

// ---- user scrolling ----------------------------------------------------------

void ConsoleWnd::UserScrolled(bool changed)
{
    if (!changed)
        return;
    m_bitmapValid = false;
    UpdateBars(false);
    Invalidate();
    OnUserScrolled();
}

void ConsoleWnd::OnVScroll(int code)
{
    bool changed = false;
    switch (code) {
    case SB_LINEUP: changed = m_model.Scroll(ConsoleScroll::LineUp); break;
    case SB_LINEDOWN: changed = m_model.Scroll(ConsoleScroll::LineDown); break;
    case SB_PAGEUP: changed = m_model.Scroll(ConsoleScroll::PageUp); break;
    case SB_PAGEDOWN: changed = m_model.Scroll(ConsoleScroll::PageDown); break;
    case SB_TOP: changed = m_model.Scroll(ConsoleScroll::First); break;
    case SB_BOTTOM: changed = m_model.Scroll(ConsoleScroll::LastPage); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The 32-bit position: the message's own is only 16 bits wide.
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        ::GetScrollInfo(Handle(), SB_VERT, &info);
        changed = m_model.Scroll(ConsoleScroll::Thumb, info.nTrackPos);
        if (changed && code == SB_THUMBTRACK) {
            // The bar is being dragged: leave it alone, just show the lines.
            m_bitmapValid = false;
            Invalidate();
            OnUserScrolled();
            return;
        }
        break;
    }
    default: break;
    }
    UserScrolled(changed);
}

void ConsoleWnd::OnHScroll(int code)
{
    bool changed = false;
    switch (code) {
    case SB_LINELEFT: changed = m_model.ScrollHorizontal(ConsoleHScroll::LineLeft); break;
    case SB_LINERIGHT: changed = m_model.ScrollHorizontal(ConsoleHScroll::LineRight); break;
    case SB_PAGELEFT: changed = m_model.ScrollHorizontal(ConsoleHScroll::PageLeft); break;
    case SB_PAGERIGHT: changed = m_model.ScrollHorizontal(ConsoleHScroll::PageRight); break;
    case SB_LEFT: changed = m_model.ScrollHorizontal(ConsoleHScroll::Leftmost); break;
    case SB_RIGHT: changed = m_model.ScrollHorizontal(ConsoleHScroll::Rightmost); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        ::GetScrollInfo(Handle(), SB_HORZ, &info);
        changed = m_model.ScrollHorizontal(ConsoleHScroll::Thumb, info.nTrackPos);
        break;
    }
    default: break;
    }
    if (changed) {
        m_bitmapValid = false;
        UpdateBars(false);
        Invalidate();
    }
}

bool ConsoleWnd::OnKeyDown(WPARAM key)
{
    const bool ctrl = CtrlDown();
    switch (key) {
    case VK_UP: UserScrolled(m_model.Scroll(ConsoleScroll::LineUp)); return true;
    case VK_DOWN: UserScrolled(m_model.Scroll(ConsoleScroll::LineDown)); return true;
    case VK_PRIOR: UserScrolled(m_model.Scroll(ConsoleScroll::KeyPageUp)); return true;
    case VK_NEXT: UserScrolled(m_model.Scroll(ConsoleScroll::PageDown)); return true;
    case VK_HOME:
        if (ctrl)
            UserScrolled(m_model.Scroll(ConsoleScroll::First));
        else
            OnHScroll(SB_LEFT);
        return true;
    case VK_END:
        if (ctrl)
            UserScrolled(m_model.Scroll(ConsoleScroll::LastPage));
        else
            OnHScroll(SB_RIGHT);
        return true;
    case VK_LEFT: OnHScroll(ctrl ? SB_PAGELEFT : SB_LINELEFT); return true;
    case VK_RIGHT: OnHScroll(ctrl ? SB_PAGERIGHT : SB_LINERIGHT); return true;
    default: return false;
    }
}

LRESULT ConsoleWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (OnMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_SIZE:
        Metrics();
        break;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam));
        return 0;
    case WM_KEYDOWN:
        if (OnKeyDown(wParam))
            return 0;
        break;
    case WM_MOUSEWHEEL:
        UserScrolled(m_model.Wheel(GET_WHEEL_DELTA_WPARAM(wParam)));
        return 0;
    case WM_LBUTTONDOWN:
        // Keys scroll the view only while it has the focus.
        ::SetFocus(Handle());
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        break;
    }
    return HandleCommon(message, wParam, lParam);
}
