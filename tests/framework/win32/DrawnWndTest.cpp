#include "framework/win32/DrawnWnd.h"

#include <gtest/gtest.h>

#include "foundation/win32/Handles.h"

namespace {
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Fills the left half red and a 10x10 square at (layout x, 5) blue; the
// square's place is computed in OnLayout, so a stale layout shows.
class Painter : public DrawnWnd {
public:
    int layouts = 0;
    int draws = 0;
    int squareX = 0;

protected:
    void OnLayout(HDC, const RECT& client) override
    {
        ++layouts;
        squareX = client.right - 15;
    }
    void OnDraw(HDC dc, const RECT& client) override
    {
        ++draws;
        NBrush red(::CreateSolidBrush(kRed));
        RECT left{0, 0, client.right / 2, client.bottom};
        ::FillRect(dc, &left, red.Get());
        NBrush blue(::CreateSolidBrush(kBlue));
        RECT square{squareX, 5, squareX + 10, 15};
        ::FillRect(dc, &square, blue.Get());
    }
};

// The window's client area as the screen shows it, read back from a DIB.
std::vector<COLORREF> Capture(HWND window, int width, int height)
{
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

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
}  // namespace

TEST(DrawnWnd, PaintsThroughTheOffScreenBitmap)
{
    Painter painter;
    RECT rect{100, 100, 300, 200};
    ASSERT_TRUE(painter.Create(nullptr, 0, rect, WS_POPUP | WS_VISIBLE, 0));
    ::UpdateWindow(painter.Handle());
    Pump();
    EXPECT_EQ(painter.layouts, 1);
    EXPECT_GE(painter.draws, 1);

    const std::vector<COLORREF> px = Capture(painter.Handle(), 200, 100);
    ASSERT_EQ(px.size(), 200u * 100u);
    auto at = [&](int x, int y) { return px[static_cast<size_t>(y * 200 + x)]; };
    EXPECT_EQ(at(10, 50), kRed);
    EXPECT_EQ(at(99, 99), kRed);
    EXPECT_EQ(at(120, 50), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(at(190, 10), kBlue);  // squareX = 185
    EXPECT_EQ(at(180, 10), ::GetSysColor(COLOR_WINDOW));
}

TEST(DrawnWnd, SizeChangeLaysOutAgain)
{
    Painter painter;
    RECT rect{100, 100, 300, 200};
    ASSERT_TRUE(painter.Create(nullptr, 0, rect, WS_POPUP | WS_VISIBLE, 0));
    ::UpdateWindow(painter.Handle());
    Pump();
    ::SetWindowPos(painter.Handle(), nullptr, 0, 0, 100, 50, SWP_NOMOVE | SWP_NOZORDER);
    ::RedrawWindow(painter.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(painter.layouts, 2);
    EXPECT_EQ(painter.squareX, 85);
    const std::vector<COLORREF> px = Capture(painter.Handle(), 100, 50);
    ASSERT_EQ(px.size(), 100u * 50u);
    EXPECT_EQ(px[static_cast<size_t>(10 * 100 + 90)], kBlue);
    EXPECT_EQ(px[static_cast<size_t>(40 * 100 + 60)], ::GetSysColor(COLOR_WINDOW));

    // Erasing is left to the paint, so the background never flashes.
    NWindowDC dc(painter.Handle());
    EXPECT_EQ(::SendMessageW(painter.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0), 1);
}
