#include "framework/win32/NWnd.h"

#include <gtest/gtest.h>

namespace {
const wchar_t kClass[] = L"NWndTestClass";

class Probe : public NWnd {
public:
    bool refuseCreate = false;
    bool boundAtCreate = false;
    bool handleAtCreate = false;
    bool destroyed = false;
    bool ncDestroyedUnbound = false;

protected:
    bool OnCreate(const CREATESTRUCTW&) override
    {
        handleAtCreate = Handle() != nullptr;
        boundAtCreate = NWnd::FromHandle(Handle()) == this;
        return !refuseCreate;
    }
    void OnDestroy() override { destroyed = true; }
    void OnNcDestroy() override { ncDestroyedUnbound = Handle() == nullptr; }
};

class Thrower : public NWnd {
protected:
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT&) override
    {
        if (message == WM_USER + 7)
            throw 42;
        return false;
    }
};

bool Register()
{
    return NWnd::RegisterClass(kClass, 0, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
}
}  // namespace

TEST(NWnd, BoundAtNcCreateAndUnboundAtNcDestroy)
{
    ASSERT_TRUE(Register());
    Probe probe;
    ASSERT_TRUE(probe.CreateEx(0, kClass, L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_TRUE(probe.handleAtCreate);
    EXPECT_TRUE(probe.boundAtCreate);
    HWND window = probe.Handle();
    EXPECT_EQ(NWnd::FromHandle(window), &probe);
    ASSERT_TRUE(probe.DestroyWindow());
    EXPECT_TRUE(probe.destroyed);
    EXPECT_TRUE(probe.ncDestroyedUnbound);
    EXPECT_EQ(probe.Handle(), nullptr);
    EXPECT_EQ(NWnd::FromHandle(window), nullptr);
}

TEST(NWnd, RefusedCreationFailsAndLeavesNoWindow)
{
    ASSERT_TRUE(Register());
    Probe probe;
    probe.refuseCreate = true;
    EXPECT_FALSE(probe.CreateEx(0, kClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(probe.Handle(), nullptr);
    EXPECT_TRUE(probe.ncDestroyedUnbound);
}

TEST(NWnd, SecondCreateOnOneObjectIsRefused)
{
    ASSERT_TRUE(Register());
    Probe probe;
    ASSERT_TRUE(probe.CreateEx(0, kClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_FALSE(probe.CreateEx(0, kClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST(NWnd, ForeignWindowsAreNotOurs)
{
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    ::SetWindowLongPtrW(button, GWLP_USERDATA, 0x1234);
    EXPECT_EQ(NWnd::FromHandle(button), nullptr);
    ::DestroyWindow(button);
    EXPECT_EQ(NWnd::FromHandle(nullptr), nullptr);
}

TEST(NWnd, ExceptionInHandlerStaysInsideWindowProcedure)
{
    ASSERT_TRUE(Register());
    Thrower thrower;
    ASSERT_TRUE(thrower.CreateEx(0, kClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(::SendMessageW(thrower.Handle(), WM_USER + 7, 0, 0), 0);
    EXPECT_TRUE(::IsWindow(thrower.Handle()));
}

TEST(NWnd, DestructorDestroysTheWindow)
{
    ASSERT_TRUE(Register());
    HWND window = nullptr;
    {
        Probe probe;
        ASSERT_TRUE(probe.CreateEx(0, kClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        window = probe.Handle();
    }
    EXPECT_FALSE(::IsWindow(window));
}
