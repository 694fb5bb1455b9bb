// The console frame's bar pieces on their own: the toolbar with a combo and
// the text progress bar, in windows of the test thread.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/win32/Handles.h"
#include "framework/win32/NTextProgressCtrl.h"
#include "framework/win32/NWnd.h"
#include "framework/win32/ToolBarWithCombo.h"

namespace {
const wchar_t kHostClass[] = L"LMConsFrameBarsTestHost";

// Records the commands that reach it.
class Host : public NWnd {
public:
    std::vector<std::pair<UINT, UINT>> commands;  // id, code

    bool Create()
    {
        return NWnd::RegisterClass(kHostClass, 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)) &&
               CreateEx(0, kHostClass, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 900, 300, nullptr, nullptr);
    }
    ~Host() override { DestroyWindow(); }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override
    {
        if (message != WM_COMMAND)
            return false;
        commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        result = 0;
        return true;
    }
};

struct BarFixture : testing::Test {
    // One host for the suite: under Wine without a window manager every
    // visible top-level window costs seconds to take down.
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
        suiteHost = new Host;
        suiteHost->Create();
    }
    static void TearDownTestSuite()
    {
        delete suiteHost;
        suiteHost = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(suiteHost->Handle(), nullptr);
        suiteHost->commands.clear();
    }

    std::vector<IconToolBar::SButton> Buttons() const { return {{1020, 240}, {0, 0}, {1014, 241}, {1015, 242}}; }
    ToolBarWithCombo::SCombo Editable() const
    {
        ToolBarWithCombo::SCombo combo;
        combo.id = 1012;
        combo.slot = 1;
        combo.editable = true;
        combo.enterCommand = 1014;
        combo.width = 100;
        combo.dropHeight = 200;
        return combo;
    }
    static int Width(HWND window)
    {
        RECT r{};
        ::GetWindowRect(window, &r);
        return r.right - r.left;
    }
    static std::wstring Text(HWND window)
    {
        wchar_t buffer[256] = {};
        ::GetWindowTextW(window, buffer, 256);
        return buffer;
    }

    static Host* suiteHost;
    Host& host = *suiteHost;
};
Host* BarFixture::suiteHost = nullptr;

TEST(ToolBarWithComboScaling, ExtentsAndFontFollowTheIconSize)
{
    EXPECT_EQ(ToolBarWithCombo::ScaledExtent(320, 16), 320);
    EXPECT_EQ(ToolBarWithCombo::ScaledExtent(320, 24), 480);
    EXPECT_EQ(ToolBarWithCombo::ScaledExtent(480, 48), 1440);
    // Nonsense preferences never give a zero or negative window.
    EXPECT_EQ(ToolBarWithCombo::ScaledExtent(0, 16), 1);
    EXPECT_EQ(ToolBarWithCombo::ScaledExtent(-50, 32), 1);
    EXPECT_EQ(ToolBarWithCombo::ScaledExtent(2147483647, 48), 32767);
    // Same factor, corrected for a screen that is not 96 dpi.
    EXPECT_EQ(ToolBarWithCombo::ScaledFontHeight(-12, 32, 96), -24);
    EXPECT_EQ(ToolBarWithCombo::ScaledFontHeight(-12, 32, 192), -12);
    EXPECT_EQ(ToolBarWithCombo::ScaledFontHeight(-12, 16, 0), -12);
    EXPECT_EQ(ToolBarWithCombo::ScaledFontHeight(-1, 16, 960), -1);
}

TEST_F(BarFixture, ComboSitsOverItsSeparatorAtTheScaledWidth)
{
    ToolBarWithCombo bar;
    ASSERT_TRUE(bar.Create(host.Handle(), host.Handle(), 132, 32, Buttons(), Editable()));
    ASSERT_NE(bar.Combo(), nullptr);
    EXPECT_EQ(::GetParent(bar.Combo()), bar.Handle());
    EXPECT_EQ(::GetDlgCtrlID(bar.Combo()), 1012);
    EXPECT_EQ(Width(bar.Combo()), 200);  // 100 for 16 pixels, at 32
    EXPECT_EQ(::GetWindowLongW(bar.Combo(), GWL_STYLE) & 3, CBS_DROPDOWN);
    EXPECT_NE(bar.Edit(), nullptr);
    RECT slot{};
    ::SendMessageW(bar.Handle(), TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&slot));
    EXPECT_EQ(slot.right - slot.left, 200);
    RECT combo{};
    ::GetWindowRect(bar.Combo(), &combo);
    ::MapWindowPoints(nullptr, bar.Handle(), reinterpret_cast<POINT*>(&combo), 2);
    EXPECT_EQ(combo.left, slot.left);
    // The button after the combo starts after it.
    RECT send{};
    ::SendMessageW(bar.Handle(), TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&send));
    EXPECT_GE(send.left, combo.right);
    // The font is scaled up from the bar's.
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(bar.Combo(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW scaled{};
    ::GetObjectW(font, sizeof scaled, &scaled);
    EXPECT_GE(std::abs(scaled.lfHeight), 16);
}

TEST_F(BarFixture, ReleasingEnterInTheEditSendsTheEnterCommandOnly)
{
    ToolBarWithCombo bar;
    ASSERT_TRUE(bar.Create(host.Handle(), host.Handle(), 132, 16, Buttons(), Editable()));
    ::SendMessageW(bar.Edit(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ::SendMessageW(bar.Edit(), WM_CHAR, VK_RETURN, 0x001C0001);
    EXPECT_TRUE(host.commands.empty());
    ::SendMessageW(bar.Edit(), WM_KEYUP, VK_RETURN, 0xC01C0001);
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].first, 1014u);
    // Other keys do not send anything.
    ::SendMessageW(bar.Edit(), WM_KEYUP, 'A', 0xC01E0001);
    EXPECT_EQ(host.commands.size(), 1u);
}

TEST_F(BarFixture, SlotThatIsNotASeparatorIsRefused)
{
    ToolBarWithCombo bar;
    ToolBarWithCombo::SCombo combo = Editable();
    combo.slot = 0;
    EXPECT_FALSE(bar.Create(host.Handle(), host.Handle(), 132, 16, Buttons(), combo));
    combo.slot = 9;
    EXPECT_FALSE(bar.Create(host.Handle(), host.Handle(), 132, 16, Buttons(), combo));
    EXPECT_EQ(bar.Combo(), nullptr);
}

TEST_F(BarFixture, RebuildKeepsListSelectionAndTypedText)
{
    ToolBarWithCombo bar;
    ASSERT_TRUE(bar.Create(host.Handle(), host.Handle(), 132, 16, Buttons(), Editable()));
    for (const wchar_t* item : {L"ver", L"", L"reset now"})
        ::SendMessageW(bar.Combo(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    ::SendMessageW(bar.Combo(), CB_SETCURSEL, 2, 0);
    ::SetWindowTextW(bar.Combo(), L"typed");
    HWND before = bar.Combo();
    ASSERT_TRUE(bar.Rebuild(48));
    EXPECT_NE(bar.Combo(), nullptr);
    EXPECT_FALSE(::IsWindow(before));
    EXPECT_EQ(bar.IconSize(), 48);
    EXPECT_EQ(Width(bar.Combo()), 300);
    ASSERT_EQ(::SendMessageW(bar.Combo(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Text(bar.Combo()), L"typed");
    // Enter still works on the new edit field.
    ::SendMessageW(bar.Edit(), WM_KEYUP, VK_RETURN, 0xC01C0001);
    EXPECT_EQ(host.commands.size(), 1u);
}

TEST_F(BarFixture, DropDownListHasNoEditAndSendsNothing)
{
    ToolBarWithCombo bar;
    ToolBarWithCombo::SCombo combo = Editable();
    combo.id = 1013;
    combo.editable = false;
    combo.enterCommand = 0;
    ASSERT_TRUE(bar.Create(host.Handle(), host.Handle(), 133, 24, Buttons(), combo));
    EXPECT_EQ(::GetWindowLongW(bar.Combo(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(bar.Edit(), nullptr);
    ::SendMessageW(bar.Combo(), WM_KEYUP, VK_RETURN, 0xC01C0001);
    EXPECT_TRUE(host.commands.empty());
}

// The client area as the screen shows it.
COLORREF PixelAt(HWND window, int x, int y)
{
    NWindowDC dc(window);
    return ::GetPixel(dc.Get(), x, y);
}

TEST_F(BarFixture, ProgressPaintsTheFilledPartAndClampsItsValues)
{
    NTextProgressCtrl progress;
    const RECT rect{10, 10, 210, 40};
    ASSERT_TRUE(progress.Create(host.Handle(), 134, rect));
    EXPECT_EQ(::GetDlgCtrlID(progress.Handle()), 134);
    progress.SetRange(0, 100);
    progress.SetPos(50);
    ::UpdateWindow(progress.Handle());
    EXPECT_EQ(progress.FilledWidth(200), 100);
    EXPECT_EQ(PixelAt(progress.Handle(), 5, 3), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(PixelAt(progress.Handle(), 195, 3), ::GetSysColor(COLOR_BTNFACE));

    progress.SetPos(1000);  // beyond the range: full, not past the edge
    EXPECT_EQ(progress.Pos(), 100);
    EXPECT_EQ(progress.FilledWidth(200), 200);
    progress.SetPos(-5);
    EXPECT_EQ(progress.Pos(), 0);
    EXPECT_EQ(progress.FilledWidth(200), 0);
    progress.SetRange(10, 10);  // empty range: no division by zero
    EXPECT_EQ(progress.Lower(), 0);
    EXPECT_EQ(progress.Upper(), 1);
    progress.SetRange(-2147483647 - 1, 2147483647);
    progress.SetPos(2147483647);
    EXPECT_EQ(progress.FilledWidth(200), 200);
    EXPECT_EQ(progress.FilledWidth(-3), 0);
}

TEST_F(BarFixture, ProgressTextTakesTheOtherColourOverTheBar)
{
    NTextProgressCtrl progress;
    ASSERT_TRUE(progress.Create(host.Handle(), 134, RECT{10, 50, 210, 80}));
    progress.SetRange(0, 2);
    progress.SetPos(1);
    progress.SetText(L"\x2588\x2588\x2588\x2588\x2588\x2588\x2588\x2588\x2588\x2588\x2588\x2588");
    ::UpdateWindow(progress.Handle());
    EXPECT_EQ(progress.Text().size(), 12u);
    // Somewhere on the centre line left of the middle the text shows in the
    // highlight text colour, right of it in the window text colour.
    bool left = false, right = false;
    for (int x = 60; x < 100; ++x)
        left = left || PixelAt(progress.Handle(), x, 15) == ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    for (int x = 101; x < 140; ++x)
        right = right || PixelAt(progress.Handle(), x, 15) == ::GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
}
}  // namespace
