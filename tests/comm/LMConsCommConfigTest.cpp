#include "comm/LMConsCommConfig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "config/IComPortDirectory.h"
#include "config/LMConsConfig.h"
#include "config/LMConsEnvironment.h"

namespace {

// Two ports, each with a device address; every lookup is counted so the test
// sees that the adapter asks the directory each time instead of caching.
struct TwoPortDirectory : ILMComPortDirectory {
    int lookups = 0;
    bool IsComPortPresent(std::wstring_view) override { return true; }
    bool IsComPortBusy(std::wstring_view) override { return false; }
    bool IsDevAddrPresent(std::wstring_view) override { return true; }
    bool IsDevAddrBusy(std::wstring_view) override { return false; }
    std::wstring DevAddrOfComPort(std::wstring_view port) override
    {
        ++lookups;
        if (port == L"COM3") return L"USB\\VID_0403&PID_6001\\A1";
        if (port == L"COM7") return L"USB\\VID_0403&PID_6001\\B2";
        return {};
    }
    std::wstring ComPortOfDevAddr(std::wstring_view devAddr) override
    {
        ++lookups;
        if (devAddr == L"USB\\VID_0403&PID_6001\\A1") return L"COM3";
        if (devAddr == L"USB\\VID_0403&PID_6001\\B2") return L"COM7";
        return {};
    }
};

LMConsSettings NamedSettings()
{
    LMConsSettings s = LMConsSettings::Defaults();
    s.Name = L"board-1";
    return s;
}

TEST(LMConsCommConfig, EveryValueIsReadAfreshAfterTheUserAppliesNewSettings)
{
    LMConsConfig config(L"k1", NamedSettings());
    LMConsCommConfig comm(config);
    EXPECT_EQ(comm.ConMode(), LMConsSettings::kComSerial);
    EXPECT_EQ(comm.ComPort(), L"COM1");
    EXPECT_EQ(comm.RxTimeoutMs(), 0u);

    LMConsSettings s = config.CopySettings();
    s.ConMode = LMConsSettings::kTcpIp;
    s.HostPort = L"10.0.0.7:2300";
    s.DevAddr = L"USB\\X";
    s.COMPort = L"COM9";
    s.SerMode = L"BAUD=57600";
    s.AltMode = L"BAUD=1200";
    s.RxTerm = 5;
    s.RxWrap = 132;
    s.RxTO = 500;
    s.TxTerm = 3;
    s.IgnoreNDE = true;
    ASSERT_TRUE(config.Apply(s));

    EXPECT_EQ(comm.ConMode(), LMConsSettings::kTcpIp);
    EXPECT_EQ(comm.HostPort(), L"10.0.0.7:2300");
    EXPECT_EQ(comm.DevAddr(), L"USB\\X");
    EXPECT_EQ(comm.ComPort(), L"COM9");
    EXPECT_EQ(comm.SerMode(), L"BAUD=57600");
    EXPECT_EQ(comm.AltMode(), L"BAUD=1200");
    EXPECT_EQ(comm.RxTerm(), 5u);
    EXPECT_EQ(comm.RxWrap(), 132u);
    EXPECT_EQ(comm.RxTimeoutMs(), 500u);
    EXPECT_EQ(comm.TxTerm(), 3u);
    EXPECT_TRUE(comm.IgnoreNDE());
}

TEST(LMConsCommConfig, ShadesFollowTheCurrentSetAndAreNeverNull)
{
    LMConsConfig config(L"k1", NamedSettings());
    LMConsCommConfig comm(config);
    const LMShades* first = comm.Shades();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(config.SetShades(nullptr));
    EXPECT_NE(comm.Shades(), nullptr);
    EXPECT_NE(comm.Shades(), first);
    EXPECT_EQ(comm.Shades(), config.CurrentShades());
}

TEST(LMConsCommConfig, PortMappingGoesThroughTheEnvironmentsDirectoryEachTime)
{
    LMConsConfig config(L"k1", NamedSettings());
    LMConsCommConfig comm(config);
    // No environment, then one without a directory: nothing is listed, no crash.
    EXPECT_EQ(comm.ComPortOfDevAddr(L"USB\\VID_0403&PID_6001\\A1"), L"");
    SLMConsEnvironment env;
    config.SetEnvironment(&env);
    EXPECT_EQ(comm.DevAddrOfComPort(L"COM3"), L"");

    TwoPortDirectory ports;
    env.ports = &ports;
    EXPECT_EQ(comm.ComPortOfDevAddr(L"USB\\VID_0403&PID_6001\\A1"), L"COM3");
    EXPECT_EQ(comm.DevAddrOfComPort(L"COM7"), L"USB\\VID_0403&PID_6001\\B2");
    EXPECT_EQ(comm.DevAddrOfComPort(L"COM8"), L"");
    EXPECT_EQ(comm.ComPortOfDevAddr(L""), L"");
    EXPECT_EQ(ports.lookups, 4);
    config.SetEnvironment(nullptr);
}

// The worker reads while the window thread applies; strings must come out
// whole (one of the two values, never a mix) and nothing may race.
TEST(LMConsCommConfig, ReadsWhileAnotherThreadAppliesSeeWholeValues)
{
    LMConsConfig config(L"k1", NamedSettings());
    LMConsCommConfig comm(config);
    LMConsSettings a = config.CopySettings();
    a.HostPort = L"alpha.example:1";
    a.RxWrap = 10;
    LMConsSettings b = config.CopySettings();
    b.HostPort = L"a-much-longer-host-name.example.org:65535";
    b.RxWrap = 4000;
    ASSERT_TRUE(config.Apply(a));

    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; i < 500; ++i) config.Apply((i & 1) ? a : b);
        stop = true;
    });
    int bad = 0;
    while (!stop) {
        std::wstring hp = comm.HostPort();
        uint32_t wrap = comm.RxWrap();
        if (hp != a.HostPort && hp != b.HostPort) ++bad;
        if (wrap != 10 && wrap != 4000) ++bad;
    }
    writer.join();
    EXPECT_EQ(bad, 0);
}

}  // namespace
