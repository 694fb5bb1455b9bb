#pragma once
// A general-purpose window that shows a fixed-depth ring of coloured text
// lines. It knows nothing about consoles: each line is a text and an index
// into a table of colour pairs. Every decision about which line sits where
// lives in ConsoleScrollModel; this class measures, draws and moves the bars.
//
// Drawing goes through an off-screen bitmap that is kept between paints. A
// row whose line is marked drawn is not drawn again while the bitmap is
// valid, so a line stored off screen costs no drawing, and each line's width
// is measured once, when it is stored.
//
// Everything runs on the window's thread.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/ConsoleLine.h"
#include "console/ConsoleScrollModel.h"
#include "foundation/win32/Handles.h"
#include "framework/win32/NWnd.h"

class ConsoleWnd : public NWnd {
public:
    static constexpr const wchar_t* kClassName = L"ConsoleWnd";

    struct Scheme {
        COLORREF text = RGB(0, 0, 0);
        COLORREF back = RGB(0xCC, 0xCC, 0xCC);
    };
    using Line = ConsoleLine;

    // Pseudo-indices accepted wherever a logical line index is.
    static constexpr int32_t kLastLine = consoleidx::kLast;
    static constexpr int32_t kNewLine = consoleidx::kNew;
    static constexpr int32_t kTopLine = consoleidx::kTop;
    static constexpr int32_t kAnchorLine = consoleidx::kAnchor;

    ConsoleWnd();
    ~ConsoleWnd() override;

    // A child (or, with WS_POPUP/WS_OVERLAPPED in style, a top-level window).
    // An empty rect takes the parent's client area.
    bool Create(HWND parent, UINT id, const RECT& rect, DWORD style = WS_CHILD | WS_VISIBLE,
                DWORD exStyle = WS_EX_CLIENTEDGE);

    // Changes the ring's capacity keeping the newest lines, and switches to
    // follow mode. False (nothing changed) when the ring cannot be allocated.
    bool SetDepth(int32_t capacity, bool redraw);
    // Stores a line; true when a visible row changed.
    bool SetLine(int32_t index, uint32_t scheme, std::wstring_view text);
    // Appends, or replaces the last line while the previous one was an open
    // received line (kind 7). True when something visible changed.
    bool AppendEntry(uint32_t kind, std::wstring_view text);
    // True when the view scrolled (and was repainted).
    bool EnsureVisible(int32_t index);
    void SetAnchor(int32_t index);
    bool IsRowVisible(int32_t index) const { return m_model.IsRowVisible(index); }

    // Entries between the old end and index get the default scheme.
    void SetScheme(uint32_t index, COLORREF text, COLORREF back);
    void ClearSchemes();
    Scheme SchemeAt(uint32_t index) const;

    // Not owned: the caller keeps the font alive while the window uses it.
    // Null means the system's fixed font. Re-measures every line.
    void SetFont(HFONT font);

    // After a new line batch: follows or holds the pin, repainting when
    // `changed` and the view did not scroll anyway.
    void AfterBatch(bool changed);

    // Display modes.
    bool IsFollowing() const { return m_model.IsFollowing(); }
    bool IsPinned() const { return m_model.IsPinned(); }
    void ToggleFollow();
    void TogglePin();
    // Every line discarded, same capacity, follow mode.
    void Erase();

    // The texts of lines 0 ... last (only the visible ones with visibleOnly),
    // each followed by CR LF, as Unicode text on the clipboard. False when
    // there is nothing to copy or the clipboard refused (then unchanged).
    bool CopyToClipboard(bool visibleOnly);

    // The whole view drawn again at the next paint.
    void Redraw();

    const ConsoleScrollModel& Model() const { return m_model; }
    int32_t Capacity() const { return m_model.Capacity(); }
    int32_t Top() const { return m_model.Top(); }
    int32_t Anchor() const { return m_model.Anchor(); }
    int32_t LineHeight() const { return m_lineHeight; }
    int32_t VisibleRows() const { return m_model.VisibleRows(); }
    bool IsVBarShown() const { return m_vBarShown; }
    bool IsHBarShown() const { return m_hBarShown; }
    // Rows actually drawn into the bitmap and texts measured since creation:
    // what the benchmark and the tests watch.
    uint64_t RowsDrawn() const { return m_rowsDrawn; }
    uint64_t LinesMeasured() const { return m_linesMeasured; }
    // The one advance of the font's printable ASCII glyphs, 0 when they differ.
    int32_t AsciiAdvance() const { return m_asciiAdvance; }

protected:
    // For derived classes with their own window class (same window procedure).
    bool CreateConsole(const wchar_t* className, HWND parent, UINT id, const RECT& rect, DWORD style,
                       DWORD exStyle);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnCreate(const CREATESTRUCTW& create) override;
    void OnDestroy() override;
    // After the user scrolled the view (bars, keys, wheel).
    virtual void OnUserScrolled() {}

private:
    void Metrics();
    bool EnsureBackBuffer();
    void ReleaseBackBuffer();
    void UpdateBars(bool recomputeWidths);
    void Render();
    void Paint();
    void EraseBackground(HDC dc);
    int32_t Measure(const std::wstring& text);
    // Measures the stored line and widens the horizontal bar when needed;
    // true when a visible row changed.
    bool AfterStore(const ConsoleScrollModel::SetLineResult& result, int32_t logical, int32_t topBefore);
    void UserScrolled(bool changed);
    void OnVScroll(int code);
    void OnHScroll(int code);
    bool OnKeyDown(WPARAM key);

    ConsoleScrollModel m_model;
    std::vector<Scheme> m_schemes;
    Line m_template;  // drawn past the end of the ring
    RECT m_client{0, 0, 1, 1};
    NMemoryDC m_dc;
    NBitmap m_bitmap;
    HGDIOBJ m_oldBitmap = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    SIZE m_bitmapSize{0, 0};
    bool m_bitmapValid = false;
    HFONT m_font = nullptr;  // not owned
    int32_t m_lineHeight = 1;
    bool m_hBarShown = false;
    bool m_vBarShown = false;
    bool m_inBars = false;  // showing a bar resizes the client, which re-enters
    bool m_unmeasured = false;  // lines stored while there was nothing to measure with
    // With a font whose printable ASCII glyphs all have one advance, such a
    // text's width is its length times that advance: no call per line.
    int32_t m_asciiAdvance = 0;  // 0 when the font is not like that
    void LearnAdvance();
    // Asks for a paint once until it happens: each invalidation is a round
    // trip to the window system, too dear to make for every stored line.
    void Invalidate();
    bool m_paintPending = false;
    uint64_t m_rowsDrawn = 0;
    uint64_t m_linesMeasured = 0;
};
