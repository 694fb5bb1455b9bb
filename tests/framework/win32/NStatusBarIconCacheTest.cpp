#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/win32/NIconCache.h"
#include "framework/win32/NStatusBar.h"

namespace {
void SetToggled(int key, bool on)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[key] = on ? 0x01 : 0x00;
    ::SetKeyboardState(keys);
}
}  // namespace

TEST(NStatusBar, IndicatorsShowWhileTheirKeyIsToggled)
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES;
    ::InitCommonControlsEx(&controls);
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    {
        NStatusBar status;
        ASSERT_TRUE(status.Create(parent, 59393));
        EXPECT_EQ(status.PaneCount(), 4);
        EXPECT_EQ(::SendMessageW(status.Handle(), SB_GETPARTS, 0, 0), 4);
        SetToggled(VK_CAPITAL, true);
        SetToggled(VK_NUMLOCK, false);
        SetToggled(VK_SCROLL, true);
        status.UpdateIndicators();
        EXPECT_EQ(status.Text(1), L"CAP");
        EXPECT_EQ(status.Text(2), L"");
        EXPECT_EQ(status.Text(3), L"SCRL");
        SetToggled(VK_CAPITAL, false);
        SetToggled(VK_NUMLOCK, true);
        SetToggled(VK_SCROLL, false);
        status.UpdateIndicators();
        EXPECT_EQ(status.Text(1), L"");
        EXPECT_EQ(status.Text(2), L"NUM");
        EXPECT_EQ(status.Text(3), L"");
        ASSERT_TRUE(status.SetText(0, L"Ready"));
        EXPECT_EQ(status.Text(0), L"Ready");
        SetToggled(VK_NUMLOCK, false);
    }
    ::DestroyWindow(parent);
}

TEST(NIconCache, MissingIconFailsAndRebindingEmptiesTheCache)
{
    NIconCache& cache = NIconCache::Instance();
    cache.Bind(::GetModuleHandleW(nullptr));
    EXPECT_EQ(cache.Get(4711, 16), nullptr);  // the test has no icon resources
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    ASSERT_NE(user32, nullptr);
    cache.Bind(user32);
    EXPECT_EQ(cache.Module(), user32);
    // user32 carries the system icons: the same request twice gives one cached icon.
    UINT id = 0;
    HICON first = nullptr;
    for (UINT candidate : {100u, 32512u, 32513u, 32514u, 32515u, 32516u}) {
        first = cache.Get(candidate, 32);
        if (first != nullptr) {
            id = candidate;
            break;
        }
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(cache.Get(id, 32), first);
    EXPECT_NE(cache.Get(id, 16), first);
    cache.Bind(::GetModuleHandleW(nullptr));
    EXPECT_EQ(cache.Get(id, 32), nullptr);
}
