#include <gtest/gtest.h>

#include <windows.h>

#include "transport/win32/NSerial.h"

TEST(NSerial, AppliesModesWithEitherPrefixAndPrintsTheCanonicalForm)
{
    NSerial s;
    ASSERT_TRUE(s.ApplyPortMode(L"\\\\.\\COM12: BAUD=576 DATA=7 PARITY=O"));
    EXPECT_EQ(s.PortName(), L"COM12");
    EXPECT_EQ(s.Dcb().BaudRate, 57600u);
    ASSERT_TRUE(s.ApplyPortMode(L"BAUD=115200 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF"));
    EXPECT_EQ(s.PortName(), L"COM12");
    EXPECT_EQ(s.CanonicalMode(), L"BAUD=115200 PARITY=N DATA=8 STOP=1 XON=OFF ODSR=OFF OCTS=OFF DTR=ON RTS=OFF IDSR=OFF");

    const NSerialDcb before = s.Dcb();
    EXPECT_FALSE(s.ApplyPortMode(L"DATA=9"));
    EXPECT_EQ(s.LastStep(), L"parsing port/mode");
    EXPECT_EQ(::GetLastError(), 87u);
    EXPECT_TRUE(s.Dcb() == before);
    EXPECT_FALSE(s.ApplyPortMode(L"COM1000"));
    EXPECT_EQ(s.LastStep(), L"changing port/number");
    EXPECT_EQ(s.PortName(), L"COM12");
}

TEST(NSerial, DialogOnAMissingPortNamesTheFailedStep)
{
    NSerial s;
    ASSERT_TRUE(s.ApplyPortMode(L"COM239"));
    EXPECT_FALSE(s.ConfigDialog(nullptr));
    // Whatever the system lacks, the failure is named and no dialog blocks.
    EXPECT_FALSE(s.LastStep().empty());
}
