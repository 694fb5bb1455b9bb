#include "framework/win32/NFrameWnd.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {
constexpr UINT kBoth = 40001;       // handled by view and frame
constexpr UINT kFrameOnly = 40002;  // frame only
constexpr UINT kNobody = 40003;
constexpr UINT kDisabledByView = 40004;
constexpr UINT kCheckedByFrame = 40005;
const wchar_t kViewClass[] = L"NFrameWndTestView";

std::vector<std::string> g_log;

class View : public NWnd {
public:
    bool OnCmdMsg(UINT id, UINT, HWND) override
    {
        if (id == kBoth) {
            g_log.push_back("view");
            return true;
        }
        return false;
    }
    bool OnUpdateCmdUI(NCmdUI& cmd) override
    {
        if (cmd.id == kDisabledByView) {
            cmd.Enable(false);
            return true;
        }
        return false;
    }
};

class Frame : public NFrameWnd {
public:
    ~Frame() override { DestroyWindow(); }
    bool OnCmdMsg(UINT id, UINT code, HWND control) override
    {
        if (id == kBoth || id == kFrameOnly) {
            g_log.push_back(id == kBoth ? "frame-both" : "frame");
            return true;
        }
        return NFrameWnd::OnCmdMsg(id, code, control);
    }
    bool OnUpdateCmdUI(NCmdUI& cmd) override
    {
        if (cmd.id == kCheckedByFrame) {
            cmd.SetCheck(true);
            return true;
        }
        if (cmd.id == kDisabledByView) {
            cmd.Enable(true);  // must never be asked: the view answered first
            return true;
        }
        return NFrameWnd::OnUpdateCmdUI(cmd);
    }
};

struct Fixture : testing::Test {
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
        ::InitCommonControlsEx(&controls);
        g_log.clear();
        ASSERT_TRUE(NWnd::RegisterClass(kViewClass, 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
        frame.SetView(&view);
        ASSERT_TRUE(frame.LoadFrame(1, WS_OVERLAPPEDWINDOW));
        ASSERT_TRUE(view.CreateEx(0, kViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame.Handle(),
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NFrameWnd::kIdFirstPane))));
    }
    Frame frame;
    View view;
};
}  // namespace

TEST_F(Fixture, CommandsReachTheViewBeforeTheFrame)
{
    ::SendMessageW(frame.Handle(), WM_COMMAND, MAKEWPARAM(kBoth, 0), 0);
    ::SendMessageW(frame.Handle(), WM_COMMAND, MAKEWPARAM(kFrameOnly, 0), 0);
    ::SendMessageW(frame.Handle(), WM_COMMAND, MAKEWPARAM(kNobody, 0), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"view", "frame"}));
    EXPECT_FALSE(frame.RouteCommand(kNobody, 0, nullptr));
}

TEST_F(Fixture, MenuItemsFollowUpdateHandlersWhenThePopupOpens)
{
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, kDisabledByView, L"Disabled");
    ::AppendMenuW(popup, MF_STRING, kCheckedByFrame, L"Checked");
    ::AppendMenuW(popup, MF_STRING | MF_GRAYED, kNobody, L"Untouched");
    ::AppendMenuW(popup, MF_STRING, NFrameWnd::kIdViewStatusBar, L"Status");
    HMENU bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"&Test");
    ::SetMenu(frame.Handle(), bar);

    ::SendMessageW(frame.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));

    EXPECT_TRUE(::GetMenuState(popup, kDisabledByView, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(::GetMenuState(popup, kCheckedByFrame, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(::GetMenuState(popup, kCheckedByFrame, MF_BYCOMMAND) & MF_GRAYED);
    // No handler: the item keeps its state.
    EXPECT_TRUE(::GetMenuState(popup, kNobody, MF_BYCOMMAND) & MF_GRAYED);
    // No status bar: its toggle is disabled and unchecked.
    EXPECT_TRUE(::GetMenuState(popup, NFrameWnd::kIdViewStatusBar, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(Fixture, ToolbarButtonsFollowUpdateHandlersInIdleTime)
{
    NReBar rebar;
    IconToolBar toolbar;
    NStatusBar status;
    ASSERT_TRUE(rebar.Create(frame.Handle(), 59396));
    ASSERT_TRUE(toolbar.Create(rebar.Handle(), frame.Handle(), 59392, 16,
                               {{kDisabledByView, 1}, {0, 0}, {kCheckedByFrame, 2}, {kBoth, 3}}));
    ASSERT_TRUE(rebar.AddBar(toolbar.Handle(), toolbar.IdealSize()));
    ASSERT_TRUE(status.Create(frame.Handle(), 59393));
    frame.SetBars(&rebar, &toolbar, &status);
    EXPECT_TRUE(toolbar.IsButtonEnabled(kDisabledByView));

    frame.OnIdleUpdate();

    EXPECT_FALSE(toolbar.IsButtonEnabled(kDisabledByView));
    EXPECT_TRUE(toolbar.IsButtonChecked(kCheckedByFrame));
    EXPECT_TRUE(toolbar.IsButtonEnabled(kBoth));
    EXPECT_EQ(status.PaneCount(), 4);

    // A click on a toolbar button arrives at the frame, and from there at the view.
    RECT button{};
    ASSERT_TRUE(::SendMessageW(toolbar.Handle(), TB_GETRECT, kBoth, reinterpret_cast<LPARAM>(&button)));
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::SendMessageW(toolbar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(toolbar.Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(g_log, (std::vector<std::string>{"view"}));

    // Rebuilding at another size keeps the buttons and their handlers.
    ASSERT_TRUE(toolbar.Rebuild(48));
    EXPECT_EQ(toolbar.IconSize(), 48);
    ASSERT_TRUE(rebar.ReplaceBar(0, toolbar.Handle(), toolbar.IdealSize()));
    frame.OnIdleUpdate();
    EXPECT_FALSE(toolbar.IsButtonEnabled(kDisabledByView));
    frame.SetBars(nullptr, nullptr, nullptr);
    frame.DestroyWindow();
}

TEST_F(Fixture, BarTogglesShowAndHideAndLayOutTheView)
{
    NReBar rebar;
    IconToolBar toolbar;
    NStatusBar status;
    ASSERT_TRUE(rebar.Create(frame.Handle(), 59396));
    ASSERT_TRUE(toolbar.Create(rebar.Handle(), frame.Handle(), 59392, 32, {{kBoth, 1}}));
    ASSERT_TRUE(rebar.AddBar(toolbar.Handle(), toolbar.IdealSize()));
    ASSERT_TRUE(status.Create(frame.Handle(), 59393));
    frame.SetBars(&rebar, &toolbar, &status);
    ::MoveWindow(frame.Handle(), 0, 0, 400, 300, TRUE);
    ::ShowWindow(frame.Handle(), SW_SHOW);
    frame.RecalcLayout();
    RECT withBars{};
    ::GetWindowRect(view.Handle(), &withBars);

    ::SendMessageW(frame.Handle(), WM_COMMAND, MAKEWPARAM(NFrameWnd::kIdViewToolBar, 0), 0);
    ::SendMessageW(frame.Handle(), WM_COMMAND, MAKEWPARAM(NFrameWnd::kIdViewStatusBar, 0), 0);
    EXPECT_FALSE(rebar.Window().IsVisible());
    EXPECT_FALSE(status.Window().IsVisible());
    RECT client{};
    ::GetClientRect(frame.Handle(), &client);
    RECT bare{};
    ::GetWindowRect(view.Handle(), &bare);
    EXPECT_EQ(bare.bottom - bare.top, client.bottom);
    EXPECT_GT(bare.bottom - bare.top, withBars.bottom - withBars.top);

    NCmdUI cmd(NFrameWnd::kIdViewToolBar);
    ASSERT_TRUE(frame.RouteUpdate(cmd));
    EXPECT_FALSE(cmd.checked);
    EXPECT_TRUE(cmd.enabled);
    frame.SetBars(nullptr, nullptr, nullptr);
    frame.DestroyWindow();
}
