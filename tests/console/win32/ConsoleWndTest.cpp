#include "console/win32/ConsoleWnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/win32/Handles.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(200, 0, 0);
const COLORREF kBlue = RGB(0, 0, 200);
const COLORREF kGreen = RGB(0, 160, 0);

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// The client area as the screen shows it.
std::vector<COLORREF> Capture(HWND window, int& width, int& height)
{
    RECT client{};
    ::GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    NWindowDC screen(window);
    NMemoryDC memory(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    NBitmap dib(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::vector<COLORREF> pixels;
    if (!dib || bits == nullptr)
        return pixels;
    NSelectObject select(memory.Get(), dib.Get());
    ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i)
        pixels.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
    return pixels;
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!::OpenClipboard(nullptr))
        return L"<no clipboard>";
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (data != nullptr) {
        if (const auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void PutClipboardText(const std::wstring& text)
{
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_UNICODETEXT, block);
    ::CloseClipboard();
}

// A top-level console window of `rows` whole rows, 300 pixels wide, with a
// 12-pixel font and three schemes.
class ConsoleWndTest : public ::testing::Test {
protected:
    void Open(int32_t depth, int rows)
    {
        LOGFONTW lf{};
        lf.lfHeight = -12;
        wcscpy(lf.lfFaceName, L"Courier New");
        font = NFont(::CreateFontIndirectW(&lf));
        ASSERT_TRUE(wnd.Create(nullptr, 0, RECT{50, 50, 350, 150}, WS_POPUP | WS_VISIBLE, 0));
        wnd.SetFont(font.Get());
        const int lh = wnd.LineHeight();
        ASSERT_GT(lh, 0);
        RECT r{0, 0, 300, lh * rows};
        ::SetWindowPos(wnd.Handle(), nullptr, 50, 50, r.right, r.bottom, SWP_NOZORDER);
        wnd.SetScheme(0, RGB(0, 0, 0), kWhite);
        wnd.SetScheme(1, kWhite, kRed);
        wnd.SetScheme(2, kWhite, kBlue);
        ASSERT_TRUE(wnd.SetDepth(depth, true));
        Pump();
        ASSERT_EQ(wnd.VisibleRows(), rows);
    }

    void Append(int from, int to, uint32_t scheme = 1)
    {
        for (int i = from; i <= to; ++i)
            wnd.AppendEntry(scheme, L"line" + std::to_wstring(i));
        wnd.AfterBatch(true);
        ::UpdateWindow(wnd.Handle());
        Pump();
    }

    // Background colour at the right end of row r, past any text.
    COLORREF RowColour(int row)
    {
        int w = 0, h = 0;
        const std::vector<COLORREF> pixels = Capture(wnd.Handle(), w, h);
        const int y = row * wnd.LineHeight() + wnd.LineHeight() / 2;
        if (pixels.empty() || y >= h)
            return CLR_INVALID;
        return pixels[static_cast<size_t>(y) * w + (w - 3)];
    }

    NFont font;
    ConsoleWnd wnd;
};
}  // namespace

TEST_F(ConsoleWndTest, RowsShowTheirSchemeAndRowsPastTheLogTheDefaultLine)
{
    Open(50, 4);
    wnd.AppendEntry(1, L"red");
    wnd.AppendEntry(2, L"blue");
    wnd.AppendEntry(77, L"no such scheme");
    wnd.AfterBatch(true);
    ::UpdateWindow(wnd.Handle());
    Pump();
    EXPECT_EQ(RowColour(0), kRed);
    EXPECT_EQ(RowColour(1), kBlue);
    EXPECT_EQ(RowColour(2), RGB(0xCC, 0xCC, 0xCC));  // the default scheme
    EXPECT_EQ(RowColour(3), kWhite);                  // empty slot: scheme 0

    // Text is drawn in the scheme's text colour somewhere in the row.
    int w = 0, h = 0;
    const std::vector<COLORREF> pixels = Capture(wnd.Handle(), w, h);
    bool sawText = false;
    for (int y = 0; y < wnd.LineHeight(); ++y)
        for (int x = 0; x < 60; ++x)
            sawText = sawText || pixels[static_cast<size_t>(y) * w + x] == kWhite;
    EXPECT_TRUE(sawText);
}

TEST_F(ConsoleWndTest, SchemeChangeAndEraseBackgroundUseTheNewColours)
{
    Open(10, 3);
    Append(1, 2);
    wnd.SetScheme(1, kWhite, kGreen);
    wnd.Redraw();
    ::UpdateWindow(wnd.Handle());
    Pump();
    EXPECT_EQ(RowColour(0), kGreen);

    HDC dc = ::GetDC(wnd.Handle());
    ::SendMessageW(wnd.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::ReleaseDC(wnd.Handle(), dc);
    EXPECT_EQ(RowColour(0), kWhite);  // scheme 0's background
}

TEST_F(ConsoleWndTest, FollowingShowsTheEndOfAFullRing)
{
    Open(5, 3);
    Append(1, 7);
    EXPECT_TRUE(wnd.IsFollowing());
    EXPECT_EQ(wnd.Top(), 2);
    EXPECT_EQ(wnd.Model().Ring().Line(0).text, L"line3");
    EXPECT_TRUE(wnd.IsVBarShown());
    SCROLLINFO info{sizeof info, SIF_ALL};
    ASSERT_TRUE(::GetScrollInfo(wnd.Handle(), SB_VERT, &info));
    EXPECT_EQ(info.nPos, 2);
    EXPECT_EQ(info.nMax, 4);
    EXPECT_EQ(info.nPage, 3u);

    ASSERT_TRUE(wnd.CopyToClipboard(false));
    EXPECT_EQ(ClipboardText(), L"line3\r\nline4\r\nline5\r\nline6\r\nline7\r\n");
    ASSERT_TRUE(wnd.CopyToClipboard(true));
    EXPECT_EQ(ClipboardText(), L"line5\r\nline6\r\nline7\r\n");
}

TEST_F(ConsoleWndTest, ScrollBarKeysAndWheelMoveTheViewAndStopFollowing)
{
    Open(20, 4);
    Append(1, 20);
    ASSERT_EQ(wnd.Top(), 16);

    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(wnd.Top(), 15);
    EXPECT_FALSE(wnd.IsFollowing());
    SCROLLINFO info{sizeof info, SIF_POS};
    ::GetScrollInfo(wnd.Handle(), SB_VERT, &info);
    EXPECT_EQ(info.nPos, 15);

    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(wnd.Top(), 11);
    ::SendMessageW(wnd.Handle(), WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(wnd.Top(), 7);
    ::SendMessageW(wnd.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(wnd.Top(), 8);
    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(wnd.Top(), 0);
    // Page Up moves only when a whole page is above.
    ::SendMessageW(wnd.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    ::SendMessageW(wnd.Handle(), WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(wnd.Top(), 1);
    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(wnd.Top(), 16);
    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(wnd.Top(), 16);  // clamped to the last page

    // Half notches add up to one line.
    ::SendMessageW(wnd.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(wnd.Top(), 16);
    ::SendMessageW(wnd.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(wnd.Top(), 15);
    ::SendMessageW(wnd.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
    EXPECT_EQ(wnd.Top(), 16);

    // Ctrl+Home and Ctrl+End.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::SendMessageW(wnd.Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(wnd.Top(), 0);
    ::SendMessageW(wnd.Handle(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(wnd.Top(), 16);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);

    // The rows now show lines 16..19 in their colours after a full redraw.
    ::UpdateWindow(wnd.Handle());
    Pump();
    EXPECT_EQ(RowColour(3), kRed);
}

TEST_F(ConsoleWndTest, PinnedViewHoldsItsLinesWhileTheRingTurns)
{
    Open(10, 3);
    Append(1, 10);  // full, top 7
    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_TOP, 0);
    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    wnd.TogglePin();
    ASSERT_TRUE(wnd.IsPinned());
    ASSERT_EQ(wnd.Anchor(), 1);
    ::UpdateWindow(wnd.Handle());
    Pump();
    const uint64_t drawnBefore = wnd.RowsDrawn();
    wnd.AppendEntry(2, L"line11");  // drops line1; the pin moves with line2
    wnd.AfterBatch(true);
    ::UpdateWindow(wnd.Handle());
    Pump();
    EXPECT_EQ(wnd.Anchor(), 0);
    EXPECT_EQ(wnd.Top(), 0);
    EXPECT_EQ(wnd.Model().Ring().Line(0).text, L"line2");
    // Same lines on the same rows: nothing had to be drawn again.
    EXPECT_EQ(wnd.RowsDrawn(), drawnBefore);
    // A pin on line 0 stays there while the content moves under it.
    wnd.AppendEntry(2, L"line12");
    wnd.AfterBatch(true);
    EXPECT_EQ(wnd.Anchor(), 0);
    EXPECT_EQ(wnd.Model().Ring().Line(0).text, L"line3");
}

TEST_F(ConsoleWndTest, LinesOffScreenCostNoDrawingAndAreMeasuredOnce)
{
    Open(100, 4);
    Append(1, 10);
    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_TOP, 0);  // free, showing lines 0..3
    ::UpdateWindow(wnd.Handle());
    Pump();
    const uint64_t drawn = wnd.RowsDrawn();
    const uint64_t measured = wnd.LinesMeasured();
    for (int i = 0; i < 50; ++i)
        wnd.AppendEntry(1, L"off screen");
    wnd.AfterBatch(false);
    ::UpdateWindow(wnd.Handle());
    Pump();
    EXPECT_EQ(wnd.Top(), 0);
    EXPECT_EQ(wnd.RowsDrawn(), drawn);
    EXPECT_EQ(wnd.LinesMeasured(), measured + 50);

    // A line on screen redraws its own row only.
    EXPECT_TRUE(wnd.SetLine(1, 2, L"changed"));
    ::UpdateWindow(wnd.Handle());
    Pump();
    EXPECT_EQ(wnd.RowsDrawn(), drawn + 1);
    EXPECT_EQ(RowColour(1), kBlue);
}

TEST_F(ConsoleWndTest, WideLineShowsTheHorizontalBarAndEndScrollsFullyRight)
{
    Open(10, 3);
    EXPECT_FALSE(wnd.IsHBarShown());
    wnd.AppendEntry(1, std::wstring(200, L'W'));
    EXPECT_TRUE(wnd.IsHBarShown());
    ::SendMessageW(wnd.Handle(), WM_KEYDOWN, VK_END, 0);
    const int32_t range = wnd.Model().HorizontalRange();
    EXPECT_GT(range, 0);
    EXPECT_EQ(wnd.Model().HorizontalPos(), range);
    ::SendMessageW(wnd.Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(wnd.Model().HorizontalPos(), range - 1);
    ::SendMessageW(wnd.Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(wnd.Model().HorizontalPos(), 0);
    // Replacing the widest line with a short one removes the bar.
    wnd.SetLine(0, 1, L"short");
    EXPECT_FALSE(wnd.IsHBarShown());
    EXPECT_EQ(wnd.Model().HorizontalPos(), 0);
}

TEST_F(ConsoleWndTest, EraseEmptiesAFullRingAndCopyOfNothingLeavesTheClipboard)
{
    Open(5, 3);
    Append(1, 9);
    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_TOP, 0);
    ASSERT_FALSE(wnd.IsFollowing());
    wnd.Erase();
    EXPECT_EQ(wnd.Capacity(), 5);
    EXPECT_EQ(wnd.Model().Ring().Last(), -1);
    EXPECT_TRUE(wnd.IsFollowing());
    ::UpdateWindow(wnd.Handle());
    Pump();
    EXPECT_EQ(RowColour(0), kWhite);

    PutClipboardText(L"keep me");
    EXPECT_FALSE(wnd.CopyToClipboard(true));
    EXPECT_FALSE(wnd.CopyToClipboard(false));
    EXPECT_EQ(ClipboardText(), L"keep me");
}

TEST_F(ConsoleWndTest, ShrinkingTheDepthKeepsTheNewestAndFollows)
{
    Open(10, 3);
    Append(1, 8);
    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_TOP, 0);
    ASSERT_TRUE(wnd.SetDepth(4, true));
    EXPECT_TRUE(wnd.IsFollowing());
    EXPECT_EQ(wnd.Model().Ring().Line(0).text, L"line5");
    EXPECT_EQ(wnd.Model().Ring().Last(), 3);
    // A depth the machine cannot hold leaves the ring as it was.
    EXPECT_FALSE(wnd.SetDepth(0x7FFFFFFF, true));
    EXPECT_EQ(wnd.Capacity(), 4);
    EXPECT_EQ(wnd.Model().Ring().Line(3).text, L"line8");
}

TEST(ConsoleWnd, EmptyClientAreaStoresButNeitherDrawsNorScrolls)
{
    ConsoleWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, 0, RECT{0, 0, 200, 1}, WS_POPUP | WS_VISIBLE, 0));
    ::SetWindowPos(wnd.Handle(), nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE);
    ASSERT_TRUE(wnd.SetDepth(5, true));
    EXPECT_FALSE(wnd.SetLine(ConsoleWnd::kNewLine, 1, L"a"));
    EXPECT_EQ(wnd.Model().Ring().Line(0).text, L"a");
    EXPECT_FALSE(wnd.EnsureVisible(0));
    EXPECT_FALSE(wnd.IsRowVisible(ConsoleWnd::kTopLine));
    ::SendMessageW(wnd.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    ::SendMessageW(wnd.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(wnd.Top(), 0);
    EXPECT_FALSE(wnd.SetLine(-5, 1, L"bad"));
    ::UpdateWindow(wnd.Handle());
    Pump();
    // Growing the window measures what was stored meanwhile.
    ::SetWindowPos(wnd.Handle(), nullptr, 0, 0, 200, 60, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_GT(wnd.Model().Ring().Line(0).width, 0);
    EXPECT_TRUE(wnd.IsRowVisible(0));
}
