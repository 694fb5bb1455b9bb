#include "app/win32/LMSingleInstance.h"

#include <gtest/gtest.h>

#include <string>

#include "app/win32/LMApp.h"

namespace {
std::wstring UniqueName(const wchar_t* what)
{
    return std::wstring(what) + std::to_wstring(::GetCurrentProcessId()) + L"\tWakeUpEvent";
}
}  // namespace

TEST(LMSingleInstance, FirstOwnsTheEventAndLaterStartsWakeIt)
{
    LMSingleInstance first(UniqueName(L"first"));
    ASSERT_TRUE(first.IsFirstInstance());
    EXPECT_TRUE(first.IsFirstInstance());  // cached
    EXPECT_FALSE(first.TakeWakeUp());
    EXPECT_FALSE(first.WakeFirstInstance());  // the first never wakes itself

    LMSingleInstance second(first.EventName());
    EXPECT_FALSE(second.IsFirstInstance());
    EXPECT_FALSE(second.IsFirstInstance());
    EXPECT_TRUE(second.WakeFirstInstance());

    EXPECT_TRUE(first.TakeWakeUp());
    EXPECT_FALSE(first.TakeWakeUp());  // auto-reset: one wake-up per signal
}

TEST(LMSingleInstance, OtherFileNamesAreIndependent)
{
    LMSingleInstance a(UniqueName(L"a.exe"));
    LMSingleInstance b(UniqueName(L"b.exe"));
    EXPECT_TRUE(a.IsFirstInstance());
    EXPECT_TRUE(b.IsFirstInstance());
}

TEST(LMSingleInstance, EventThatCannotBeCreatedEndsSilently)
{
    // A name with a backslash is refused by the system (no such namespace).
    LMSingleInstance broken(L"NoSuchNamespace\\x\tWakeUpEvent");
    EXPECT_FALSE(broken.IsFirstInstance());
    EXPECT_FALSE(broken.IsFirstInstance());
    EXPECT_FALSE(broken.WakeFirstInstance());
}

TEST(LMApp, IdleRuleKeepsThreeHundredPassesAfterEveryBurst)
{
    EXPECT_TRUE(LMApp::WantsMoreIdle(false, 0, false));
    EXPECT_TRUE(LMApp::WantsMoreIdle(false, 299, false));
    EXPECT_FALSE(LMApp::WantsMoreIdle(false, 300, false));
    EXPECT_FALSE(LMApp::WantsMoreIdle(false, 100000, false));
    EXPECT_TRUE(LMApp::WantsMoreIdle(true, 300, false));
    EXPECT_TRUE(LMApp::WantsMoreIdle(false, 300, true));
}
