// The setup dialog's port snapshot answers the console rules' questions.
#include "config/win32/LMConsSetupDlgPorts.h"

#include <gtest/gtest.h>

namespace {

TEST(LMConsSetupDlgPorts, FindsPortsByNameOrEitherDeviceIgnoringCase)
{
    const std::vector<LMConsSetupDlgPort> list = {{L"COM1", L"FTDI\\A1", L"USB\\VID_0403\\A1"},
                                                  {L"COM12", L"", L""}};
    LMConsSetupDlgPorts ports(list);
    EXPECT_TRUE(ports.IsComPortPresent(L"com12"));
    EXPECT_FALSE(ports.IsComPortPresent(L"COM2"));
    EXPECT_FALSE(ports.IsComPortPresent(L""));
    EXPECT_TRUE(ports.IsDevAddrPresent(L"ftdi\\a1"));
    EXPECT_TRUE(ports.IsDevAddrPresent(L"USB\\VID_0403\\A1"));
    // COM12 records no device; an empty address must not find it.
    EXPECT_FALSE(ports.IsDevAddrPresent(L""));
    EXPECT_EQ(ports.ComPortOfDevAddr(L"usb\\vid_0403\\a1"), L"COM1");
    EXPECT_EQ(ports.DevAddrOfComPort(L"COM1"), L"FTDI\\A1");
    EXPECT_EQ(ports.DevAddrOfComPort(L"COM12"), L"");
    EXPECT_EQ(ports.ComPortOfDevAddr(L"FTDI\\B2"), L"");
    EXPECT_FALSE(ports.IsComPortBusy(L"COM1"));  // a snapshot knows nothing of use
}

}  // namespace
