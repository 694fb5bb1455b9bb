#include "widgets/win32/DlgCtrlResizer.h"

#include <gtest/gtest.h>

#include "widgets/win32/DialogTemplate.h"

namespace {
constexpr int kCorner = 200, kStill = 201, kStretch = 202, kCentred = 203, kMissing = 299;
using RC = ResizableControls;

INT_PTR CALLBACK PlainProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG ? TRUE : FALSE; }

// A real resizable dialog with four buttons, created modeless on this thread.
class TestDialog {
public:
    TestDialog()
    {
        DialogTemplate t(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_VISIBLE, 200, 120, L"Resizable", 8,
                         L"MS Shell Dlg");
        t.AddItem(DialogTemplate::kButton, kCorner, WS_VISIBLE, 150, 100, 40, 14, L"Corner");
        t.AddItem(DialogTemplate::kButton, kStill, WS_VISIBLE, 5, 5, 40, 14, L"Still");
        t.AddItem(DialogTemplate::kStatic, kStretch, WS_VISIBLE | SS_LEFT, 5, 25, 190, 60, L"Stretch");
        t.AddItem(DialogTemplate::kButton, kCentred, WS_VISIBLE, 80, 90, 40, 14, L"Centred");
        m_window = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), t.Get(), nullptr, &PlainProc, 0);
        ::SetWindowPos(m_window, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ~TestDialog()
    {
        if (::IsWindow(m_window))
            ::DestroyWindow(m_window);
    }
    HWND Get() const { return m_window; }
    RECT ControlRect(int id) const
    {
        RECT rc{};
        ::GetWindowRect(::GetDlgItem(m_window, id), &rc);
        ::MapWindowPoints(HWND_DESKTOP, m_window, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    SIZE Client() const
    {
        RECT rc{};
        ::GetClientRect(m_window, &rc);
        return {rc.right, rc.bottom};
    }
    void Grow(int dx, int dy) const
    {
        RECT rc{};
        ::GetWindowRect(m_window, &rc);
        ::SetWindowPos(m_window, nullptr, 0, 0, rc.right - rc.left + dx, rc.bottom - rc.top + dy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

private:
    HWND m_window = nullptr;
};

const uint32_t kCentredWord = RC::MakeAnchor(RC::kLeft | RC::kRight, 64, 64, 0, 0);
const DlgCtrlResizer::SAnchor kTable[] = {
    {kCorner, 0xF}, {kStill, 0}, {kStretch, RC::kRight | RC::kBottom}, {kCentred, kCentredWord}, {0, 0}};

void ExpectRect(const RECT& got, int l, int t, int r, int b)
{
    EXPECT_EQ(got.left, l);
    EXPECT_EQ(got.top, t);
    EXPECT_EQ(got.right, r);
    EXPECT_EQ(got.bottom, b);
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
}
}  // namespace

TEST(DlgCtrlResizer, ResizingARealDialogMovesAndStretchesItsControls)
{
    TestDialog dlg;
    ASSERT_NE(dlg.Get(), nullptr);
    const RECT corner = dlg.ControlRect(kCorner), still = dlg.ControlRect(kStill);
    const RECT stretch = dlg.ControlRect(kStretch), centred = dlg.ControlRect(kCentred);
    const SIZE before = dlg.Client();

    DlgCtrlResizer resizer;
    ASSERT_TRUE(resizer.Attach(dlg.Get(), kTable, 0));
    EXPECT_EQ(resizer.Window(), dlg.Get());
    EXPECT_EQ(resizer.Controls().Records().size(), 4u);

    dlg.Grow(101, 60);
    const SIZE after = dlg.Client();
    const int dx = after.cx - before.cx, dy = after.cy - before.cy;
    ASSERT_EQ(dx, 101);
    ASSERT_EQ(dy, 60);
    ExpectRect(dlg.ControlRect(kCorner), corner.left + dx, corner.top + dy, corner.right + dx, corner.bottom + dy);
    ExpectRect(dlg.ControlRect(kStill), still.left, still.top, still.right, still.bottom);
    ExpectRect(dlg.ControlRect(kStretch), stretch.left, stretch.top, stretch.right + dx, stretch.bottom + dy);
    // Half of 101 is 50.5, rounded to the nearest: 51 (the offsets are exact halves).
    const RECT c = dlg.ControlRect(kCentred);
    EXPECT_EQ(c.right - c.left, centred.right - centred.left);
    EXPECT_NEAR(c.left, centred.left + dx / 2.0, 0.51);

    // Back to the start size restores the registered rectangles.
    dlg.Grow(-101, -60);
    ExpectRect(dlg.ControlRect(kCorner), corner.left, corner.top, corner.right, corner.bottom);
    ExpectRect(dlg.ControlRect(kStretch), stretch.left, stretch.top, stretch.right, stretch.bottom);
}

TEST(DlgCtrlResizer, MinimisingLeavesTheControlsAlone)
{
    TestDialog dlg;
    DlgCtrlResizer resizer;
    ASSERT_TRUE(resizer.Attach(dlg.Get(), kTable, 0));
    const RECT corner = dlg.ControlRect(kCorner);
    ::ShowWindow(dlg.Get(), SW_MINIMIZE);
    Pump();
    ExpectRect(dlg.ControlRect(kCorner), corner.left, corner.top, corner.right, corner.bottom);
    ::ShowWindow(dlg.Get(), SW_RESTORE);
    Pump();
    ExpectRect(dlg.ControlRect(kCorner), corner.left, corner.top, corner.right, corner.bottom);
}

TEST(DlgCtrlResizer, RegistrationFailures)
{
    TestDialog dlg;
    DlgCtrlResizer resizer;
    ::SetLastError(0);
    EXPECT_FALSE(resizer.Attach(nullptr, kTable, 0));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(resizer.Window(), nullptr);

    const DlgCtrlResizer::SAnchor withMissing[] = {{kCorner, 0xF}, {kMissing, 0xF}, {kStill, 0}, {0, 0}};
    EXPECT_FALSE(resizer.Attach(dlg.Get(), withMissing, 0));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
    // What was registered before the failure stays and still works.
    ASSERT_EQ(resizer.Controls().Records().size(), 1u);
    EXPECT_EQ(resizer.Controls().Records()[0].id, kCorner);
    EXPECT_FALSE(resizer.Register(kCorner, 0));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    const RECT corner = dlg.ControlRect(kCorner), stretch = dlg.ControlRect(kStretch);
    dlg.Grow(30, 20);
    EXPECT_EQ(dlg.ControlRect(kCorner).left, corner.left + 30);
    // Never registered: stays as it was.
    ExpectRect(dlg.ControlRect(kStretch), stretch.left, stretch.top, stretch.right, stretch.bottom);
}

TEST(DlgCtrlResizer, ReattachingLetsGoOfTheFirstWindow)
{
    TestDialog first, second;
    DlgCtrlResizer resizer;
    ASSERT_TRUE(resizer.Attach(first.Get(), kTable, 0));
    ASSERT_TRUE(resizer.Attach(second.Get(), kTable, 0));
    EXPECT_EQ(resizer.Window(), second.Get());
    const RECT corner = first.ControlRect(kCorner);
    first.Grow(50, 50);
    ExpectRect(first.ControlRect(kCorner), corner.left, corner.top, corner.right, corner.bottom);
    const RECT corner2 = second.ControlRect(kCorner);
    second.Grow(50, 50);
    EXPECT_EQ(second.ControlRect(kCorner).left, corner2.left + 50);
    resizer.Detach();
    EXPECT_EQ(resizer.Window(), nullptr);
    EXPECT_TRUE(resizer.Controls().Records().empty());
}

TEST(DlgCtrlResizer, DraggingStopsAtTheMinimumAndMaximum)
{
    TestDialog dlg;
    RECT outer{};
    ::GetWindowRect(dlg.Get(), &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    DlgCtrlResizer resizer;
    ASSERT_TRUE(resizer.Attach(dlg.Get(), kTable, DlgCtrlResizer::kMinimumIsCurrentSize));
    EXPECT_EQ(resizer.Controls().MinWidth(), width);
    EXPECT_EQ(resizer.Controls().MinHeight(), height);

    RECT proposed{outer.left, outer.top, outer.left + width - 40, outer.bottom};
    EXPECT_EQ(::SendMessageW(dlg.Get(), WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&proposed)), TRUE);
    ExpectRect(proposed, outer.left, outer.top, outer.left + width, outer.bottom);
    proposed = {outer.left + 40, outer.top, outer.right, outer.bottom};
    ::SendMessageW(dlg.Get(), WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
    ExpectRect(proposed, outer.left, outer.top, outer.right, outer.bottom);
    // No maximum: anything larger passes unchanged.
    proposed = {outer.left, outer.top, outer.left + 5000, outer.top + 4000};
    ::SendMessageW(dlg.Get(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
    ExpectRect(proposed, outer.left, outer.top, outer.left + 5000, outer.top + 4000);
    resizer.SetMaximumSize(width + 100, 0);
    ::SendMessageW(dlg.Get(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
    ExpectRect(proposed, outer.left, outer.top, outer.left + width + 100, outer.top + 4000);
}

TEST(DlgCtrlResizer, PlacementIsCapturedOnDestructionAndOnRequest)
{
    std::wstring text = L"untouched";
    RECT outer{};
    {
        TestDialog dlg;
        DlgCtrlResizer resizer;
        resizer.BindPlacementText(&text);
        ASSERT_TRUE(resizer.Attach(dlg.Get(), kTable, 0));
        dlg.Grow(10, 10);
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        ::GetWindowPlacement(dlg.Get(), &wp);
        outer = wp.rcNormalPosition;
        EXPECT_TRUE(resizer.CapturePlacement());
        EXPECT_FALSE(resizer.CapturePlacement());  // unchanged the second time
        const std::wstring expected = L"0,1,-1,-1,-1,-1," + std::to_wstring(outer.left) + L"," +
                                      std::to_wstring(outer.top) + L"," + std::to_wstring(outer.right) + L"," +
                                      std::to_wstring(outer.bottom);
        EXPECT_EQ(text, expected);
        text = L"stale";
        ::DestroyWindow(dlg.Get());
        EXPECT_EQ(text, expected);
        EXPECT_EQ(resizer.Window(), nullptr);
        EXPECT_TRUE(resizer.Controls().Records().empty());
    }
    // Closed while minimised: the stored text stays.
    text = L"kept";
    TestDialog dlg;
    DlgCtrlResizer resizer;
    resizer.BindPlacementText(&text);
    ASSERT_TRUE(resizer.Attach(dlg.Get(), kTable, 0));
    ::ShowWindow(dlg.Get(), SW_MINIMIZE);
    Pump();
    ::DestroyWindow(dlg.Get());
    EXPECT_EQ(text, L"kept");
}

TEST(DlgCtrlResizer, RestoringAPlacementMovesTheWindowAndBadTextIsIgnored)
{
    TestDialog dlg;
    DlgCtrlResizer resizer;
    std::wstring text = L"0,1,-1,-1,-1,-1,100,80,500,400";
    resizer.BindPlacementText(&text);
    ASSERT_TRUE(resizer.Attach(dlg.Get(), kTable, 0));
    const RECT corner = dlg.ControlRect(kCorner);
    const SIZE client = dlg.Client();
    ASSERT_TRUE(resizer.RestorePlacement());
    RECT rc{};
    ::GetWindowRect(dlg.Get(), &rc);
    EXPECT_EQ(rc.right - rc.left, 400);
    EXPECT_EQ(rc.bottom - rc.top, 320);
    const SIZE now = dlg.Client();
    EXPECT_EQ(dlg.ControlRect(kCorner).left, corner.left + now.cx - client.cx);

    text = L"0,1,-1,-1,-1,-1,100,80,500";
    ::GetWindowRect(dlg.Get(), &rc);
    EXPECT_FALSE(resizer.RestorePlacement());
    RECT same{};
    ::GetWindowRect(dlg.Get(), &same);
    ExpectRect(same, rc.left, rc.top, rc.right, rc.bottom);
}
