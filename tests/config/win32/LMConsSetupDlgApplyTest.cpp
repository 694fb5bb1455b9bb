// Applying the setup dialog's result keeps what the console changed while
// the dialog was open.
#include "config/win32/LMConsSetupDlgSettings.h"

#include <gtest/gtest.h>

#include "config/LMConsConfig.h"
#include "foundation/ErrorCodes.h"

namespace {

TEST(LMConsSetupDlgApply, KeepsCommandsFoldersAndPlacementsChangedMeanwhile)
{
    LMConsConfig config;
    LMConsSettings start = config.CopySettings();
    start.Name = L"Board";
    ASSERT_TRUE(config.Apply(start));
    ASSERT_TRUE(config.SetCommands({L"ver"}));

    // The dialog starts from a copy ...
    LMConsSettings edited = config.CopySettings();
    // ... the console goes on meanwhile ...
    ASSERT_TRUE(config.SetCommands({L"stat", L"ver"}));
    ASSERT_TRUE(config.SetFolderCmd(L"C:\\cmds"));
    // ... and the user edits the dialog's fields.
    edited.Name = L"Board 2";
    edited.RxWrap = 132;
    edited.HostPort = L"lab-7:23";

    ASSERT_TRUE(LMApplySetupDlgResult(config, edited));
    const LMConsSettings now = config.CopySettings();
    EXPECT_EQ(now.Name, L"Board 2");
    EXPECT_EQ(now.RxWrap.Get(), 132u);
    EXPECT_EQ(now.HostPort, L"lab-7:23");
    EXPECT_EQ(now.Commands, (NSTRList{L"stat", L"ver"}));
    EXPECT_EQ(now.FolderCmd, L"C:\\cmds");
}

TEST(LMConsSetupDlgApply, RefusesWhatApplyRefuses)
{
    LMConsConfig config;
    LMConsSettings start = config.CopySettings();
    start.Name = L"Board";
    ASSERT_TRUE(config.Apply(start));
    LMConsSettings edited = config.CopySettings();
    edited.Name = L"";  // fails the record check
    EXPECT_FALSE(LMApplySetupDlgResult(config, edited));
    EXPECT_EQ(::GetLastError(), nerr::kInvalidParameter);
    EXPECT_EQ(config.CopySettings().Name, L"Board");
}

}  // namespace
