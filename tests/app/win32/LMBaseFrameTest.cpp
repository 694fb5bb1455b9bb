#include "app/win32/LMBaseFrame.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "config/LMGlobalPrefs.h"
#include "config/win32/LMRegisteredMessages.h"
#include "resources/resource.h"

namespace {
struct LMBaseFrameTest : testing::Test {
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
        ::InitCommonControlsEx(&controls);
        LMGlobalPrefs::Instance().BaseToolbarIconSize = 0;
        ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
        ::ShowWindow(frame.Handle(), SW_SHOW);
    }
    void TearDown() override { LMGlobalPrefs::Instance().BaseToolbarIconSize = 0; }
    LMBaseFrame frame;
};
}  // namespace

TEST_F(LMBaseFrameTest, CreatesViewToolbarAndStatusBar)
{
    EXPECT_NE(frame.ListView().Handle(), nullptr);
    EXPECT_EQ(::GetDlgCtrlID(frame.ListView().Handle()), static_cast<int>(NFrameWnd::kIdFirstPane));
    EXPECT_EQ(frame.ToolBar().IconSize(), IconToolBar::kDefaultIconSize);
    // Sixteen slots: twelve buttons and four separators.
    EXPECT_EQ(::SendMessageW(frame.ToolBar().Handle(), TB_BUTTONCOUNT, 0, 0), 16);
    frame.OnIdleUpdate();
    // Add and About always work; Setup needs exactly one selected console.
    EXPECT_TRUE(frame.ToolBar().IsButtonEnabled(ID_CONSOLE_ADD));
    EXPECT_TRUE(frame.ToolBar().IsButtonEnabled(ID_APP_ABOUT));
    EXPECT_FALSE(frame.ToolBar().IsButtonEnabled(ID_CONSOLE_SETUP));
}

TEST_F(LMBaseFrameTest, IconSizeCommandsStoreThePreferenceRebuildAndCheck)
{
    ::SendMessageW(frame.Handle(), WM_COMMAND, MAKEWPARAM(ID_VIEW_ICONS_XLARGE, 0), 0);
    EXPECT_EQ(LMGlobalPrefs::Instance().BaseToolbarIconSize.load(), 48);
    EXPECT_EQ(frame.ToolBar().IconSize(), 48);
    EXPECT_EQ(::SendMessageW(frame.ToolBar().Handle(), TB_BUTTONCOUNT, 0, 0), 16);
    NCmdUI xlarge(ID_VIEW_ICONS_XLARGE), small(ID_VIEW_ICONS_SMALL);
    ASSERT_TRUE(frame.RouteUpdate(xlarge));
    ASSERT_TRUE(frame.RouteUpdate(small));
    EXPECT_TRUE(xlarge.checked);
    EXPECT_FALSE(small.checked);

    ::SendMessageW(frame.Handle(), WM_COMMAND, MAKEWPARAM(ID_VIEW_ICONS_DEFAULT, 0), 0);
    EXPECT_EQ(LMGlobalPrefs::Instance().BaseToolbarIconSize.load(), 0);
    EXPECT_EQ(frame.ToolBar().IconSize(), IconToolBar::kDefaultIconSize);
}

TEST_F(LMBaseFrameTest, BringToFrontRestoresAMinimisedFrame)
{
    ::ShowWindow(frame.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(frame.Handle()));
    ::SendMessageW(frame.Handle(), LMMessage(lmmsg::kBringToFront), 0, 0);
    EXPECT_FALSE(::IsIconic(frame.Handle()));
    EXPECT_TRUE(::IsWindowVisible(frame.Handle()));
}

TEST_F(LMBaseFrameTest, ClosingStoresThePlacementUnlessMinimised)
{
    LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
    prefs.SetString(prefs.BaseWindowPlacement, L"");
    ::SetWindowPos(frame.Handle(), nullptr, 40, 50, 300, 200, SWP_NOZORDER);
    frame.DestroyWindow();
    const std::wstring stored = prefs.CopyString(prefs.BaseWindowPlacement);
    EXPECT_NE(stored.find(L",40,50,340,250"), std::wstring::npos) << std::string(stored.begin(), stored.end());

    LMBaseFrame minimised;
    ASSERT_TRUE(minimised.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
    ::ShowWindow(minimised.Handle(), SW_MINIMIZE);
    prefs.SetString(prefs.BaseWindowPlacement, L"kept");
    minimised.DestroyWindow();
    EXPECT_EQ(prefs.CopyString(prefs.BaseWindowPlacement), L"kept");
    prefs.SetString(prefs.BaseWindowPlacement, L"0,1,-1,-1,-1,-1,103,75,619,334");
}

TEST(LMRegisteredMessages, EveryMessageIsRegisteredOnceByName)
{
    for (size_t i = 0; i < lmmsg::kCount; ++i) {
        const auto m = static_cast<lmmsg::EMessage>(i);
        EXPECT_GE(LMMessage(m), 0xC000u) << i;
        EXPECT_EQ(LMMessage(m), ::RegisterWindowMessageW(lmmsg::Name(m))) << i;
    }
    EXPECT_EQ(LMMessage(lmmsg::kDrawnCallback), DrawnWnd::ms_cnMsgIDCallback);
}
