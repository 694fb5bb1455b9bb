#include "config/LMConsConfig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "config/IComPortDirectory.h"
#include "config/IConsoleLink.h"
#include "config/ILogFolderSource.h"
#include "support/MemRegKey.h"

namespace {

// Test doubles of the COM port enumeration, the console thread, the worker
// and the global preferences.
class FakePorts : public ILMComPortDirectory {
public:
    bool IsComPortPresent(std::wstring_view p) override { return p == L"COM3" || p == L"COM4"; }
    bool IsComPortBusy(std::wstring_view p) override { return p == L"COM4"; }
    bool IsDevAddrPresent(std::wstring_view d) override { return d == L"DEV1" || d == L"DEV2"; }
    bool IsDevAddrBusy(std::wstring_view d) override { return d == L"DEV2"; }
    std::wstring DevAddrOfComPort(std::wstring_view) override { return L""; }
    std::wstring ComPortOfDevAddr(std::wstring_view) override { return L""; }
};

class FakeThread : public ILMConsoleLink {
public:
    bool PostToMainWindow(uint32_t message, uintptr_t, intptr_t) override
    {
        last = message;
        ++posts;
        if (message == LMConsConfig::kWmClose && config != nullptr && closes) {
            // The console thread ends on its own time, not inside the post.
            ender = std::thread([this] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                config->SetCommThread(nullptr);
                config->SetConsoleThread(nullptr);
            });
        }
        return hasWindow;
    }
    ~FakeThread() override
    {
        if (ender.joinable()) ender.join();
    }
    std::atomic<uint32_t> last{0};
    std::atomic<int> posts{0};
    bool hasWindow = true;
    bool closes = true;
    LMConsConfig* config = nullptr;
    std::thread ender;
};

class FakeWorker : public ILMCommLink {
public:
    uint8_t ConnectionState() const override { return state; }
    uint8_t state = 0;
};

class FakeFolder : public ILMLogFolderSource {
public:
    std::wstring CopyFileLogPath() override { return path; }
    std::wstring ExecutableDirectory() override { return L"C:\\Program\\"; }
    std::wstring path = L"%LOCALAPPDATA%\\Lumbra\\Logs";
};

class LMConsConfigTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        env.ports = &ports;
        env.logFolder = &folder;
        env.msgUpdateSetup = 0xC123;
        cfg.SetEnvironment(&env);
        thread.config = &cfg;
    }
    void TearDown() override
    {
        thread.closes = true;
        cfg.SetConsoleThread(nullptr);
    }
    LMConsSettings Record(const wchar_t* name)
    {
        LMConsSettings s = cfg.CopySettings();
        s.Name = name;
        return s;
    }
    FakePorts ports;
    FakeFolder folder;
    FakeWorker worker;
    SLMConsEnvironment env;
    LMConsConfig cfg;
    FakeThread thread;
};

TEST_F(LMConsConfigTest, DefaultObjectHasShadesText)
{
    EXPECT_FALSE(cfg.CopyString(&LMConsSettings::Shades).empty());
    EXPECT_TRUE(LMConsSettings::Defaults().Shades.empty());
    ASSERT_NE(cfg.CurrentShades(), nullptr);
    EXPECT_EQ(cfg.CurrentShades()->RowCount(), 12u);
}

TEST_F(LMConsConfigTest, StatusInRuleOrder)
{
    int icon = 0;
    cfg.Settings().COMPort = L"COM3";  // single-thread test: no lock needed
    cfg.Settings().Enabled = false;
    EXPECT_EQ(cfg.GetStatus(&icon), L"Disabled");
    EXPECT_EQ(icon, 269);
    cfg.Settings().Enabled = true;
    EXPECT_EQ(cfg.GetStatus(&icon), L"Ready");
    EXPECT_EQ(icon, 270);
    cfg.Settings().COMPort = L"COM9";
    EXPECT_EQ(cfg.GetStatus(&icon), L"Serial port not present");
    EXPECT_EQ(icon, 242);
    cfg.Settings().COMPort = L"COM3";
    cfg.Settings().SerMode = L"BAUD=0";
    EXPECT_EQ(cfg.GetStatus(&icon), L"Bad serial mode");
    EXPECT_EQ(icon, 271);
    cfg.Settings().SerMode = L"9600,N,8,1";
    cfg.Settings().COMPort = L"COM4";
    EXPECT_EQ(cfg.GetStatus(&icon), L"Serial port busy");
    EXPECT_EQ(icon, 243);
    cfg.SetCommThread(&worker);
    worker.state = ILMCommLink::kConnected;
    EXPECT_EQ(cfg.GetStatus(&icon), L"Connected") << "connected wins over busy: the port is ours";
    EXPECT_EQ(icon, 220);
    worker.state = 1;
    cfg.Settings().COMPort = L"COM3";
    cfg.SetConsoleThread(&thread);
    EXPECT_EQ(cfg.GetStatus(&icon), L"Active");
    EXPECT_EQ(icon, 222);
}

TEST_F(LMConsConfigTest, StatusOfNetworkDeviceAndUnknownModes)
{
    cfg.Settings().ConMode = 0;
    EXPECT_EQ(cfg.GetStatus(), L"Serial port not present") << "empty host[:port]";
    cfg.Settings().HostPort = L"board.lab:23";
    cfg.Settings().SerMode = L"garbage";
    EXPECT_EQ(cfg.GetStatus(), L"Ready") << "the serial mode does not matter for TCP/IP";
    cfg.Settings().ConMode = 1;
    cfg.Settings().DevAddr = L"DEV2";
    cfg.Settings().SerMode = L"";
    EXPECT_EQ(cfg.GetStatus(), L"Serial port busy");
    cfg.Settings().DevAddr = L"DEV3";
    EXPECT_EQ(cfg.GetStatus(), L"Serial port not present");
    cfg.Settings().ConMode = 7;
    EXPECT_EQ(cfg.GetStatus(), L"Serial port not present");
    EXPECT_TRUE(cfg.IsPortBusy());
    cfg.SetEnvironment(nullptr);
    cfg.Settings().ConMode = 2;
    cfg.Settings().COMPort = L"COM3";
    EXPECT_EQ(cfg.GetStatus(), L"Serial port not present") << "without an enumeration nothing is present";
}

TEST_F(LMConsConfigTest, ApplyChecksTheRecordAndTheOpenConsole)
{
    LMConsSettings bad = Record(L"");
    EXPECT_FALSE(cfg.Apply(bad));
    LMConsSettings s = Record(L"Board");
    s.RxWrap = 4097;
    EXPECT_FALSE(cfg.Apply(s));
    s.RxWrap = 4096;
    ASSERT_TRUE(cfg.Apply(s));
    EXPECT_EQ(cfg.CopyString(&LMConsSettings::Name), L"Board");

    cfg.SetConsoleThread(&thread);
    thread.closes = false;
    EXPECT_FALSE(cfg.Apply(Record(L"board"))) << "names compare case-sensitively here";
    LMConsSettings off = Record(L"Board");
    off.Enabled = false;
    EXPECT_FALSE(cfg.Apply(off));
    LMConsSettings same = Record(L"Board");
    same.LogDepth = 10;
    ASSERT_TRUE(cfg.Apply(same));
    EXPECT_EQ(cfg.Settings().LogDepth.Get(), 10u);
    EXPECT_EQ(thread.last.load(), 0xC123u) << "the console window hears of the new setup";
}

TEST_F(LMConsConfigTest, ReplacedShadesAreRetiredNotFreed)
{
    const LMShades* first = cfg.CurrentShades();
    auto custom = std::make_unique<LMShades>();
    custom->SetCustomColour(0, 0x123456);
    const LMShades* second = custom.get();
    ASSERT_TRUE(cfg.SetShades(std::move(custom)));
    EXPECT_EQ(cfg.CurrentShades(), second);
    EXPECT_EQ(cfg.RetiredShadesCount(), 1u);
    EXPECT_EQ(first->RowCount(), 12u) << "still alive for readers";
    const std::wstring text = cfg.CopyString(&LMConsSettings::Shades);
    ASSERT_TRUE(cfg.SetShades(nullptr));
    EXPECT_EQ(cfg.CurrentShades()->CustomColours()[0], 0u);
    ASSERT_TRUE(cfg.SetShadesFromText(text));
    EXPECT_EQ(cfg.CurrentShades()->CustomColours()[0], 0x123456u);
    EXPECT_EQ(cfg.RetiredShadesCount(), 3u);
    cfg.Reset();
    EXPECT_EQ(cfg.RetiredShadesCount(), 0u);
}

TEST_F(LMConsConfigTest, PostAndClose)
{
    EXPECT_FALSE(cfg.PostToConsole(5));
    EXPECT_TRUE(cfg.CloseConsole(10));
    cfg.SetConsoleThread(&thread);
    EXPECT_TRUE(cfg.PostToConsole(5));
    thread.hasWindow = false;
    EXPECT_FALSE(cfg.PostToConsole(5));
    thread.closes = false;
    EXPECT_FALSE(cfg.CloseConsole(30)) << "a console that does not end in time";
    thread.closes = true;
    cfg.SetCommThread(&worker);
    EXPECT_TRUE(cfg.CloseConsole(2000));
    EXPECT_EQ(cfg.ConsoleThread(), nullptr);
    EXPECT_EQ(cfg.CommThread(), nullptr);
}

TEST_F(LMConsConfigTest, LogFileName)
{
    ASSERT_TRUE(cfg.Apply(Record(L"Left / Right")));
    EXPECT_EQ(cfg.GetLogFileName(), L"%LOCALAPPDATA%\\Lumbra\\Logs\\Left%20%2F%20Right.log");
    folder.path.clear();
    EXPECT_EQ(cfg.GetLogFileName(), L"C:\\Program\\Left%20%2F%20Right.log");
}

TEST(LMConsConfigStore, SaveLoadRoundTripWithMissingAndMistypedValues)
{
    MemRegistry reg;
    MemRegKey key(reg);
    LMConsSettings s = LMConsSettings::Defaults();
    s.Name = L"Board";
    s.Commands = {L"help", L"ver"};
    s.ConMode = 0;
    s.HostPort = L"board:23";
    LMConsConfig added(L"{1234}", s);
    ASSERT_TRUE(added.Save(key));
    const std::wstring path = LMConsConfig::KeyPath(L"{1234}");
    EXPECT_EQ(path, L"HKCU\\SOFTWARE\\Vexal\\Lumbra\\Base\\{1234}");
    EXPECT_EQ(reg.ValueCount(path), 32u) << "a new key gets every value";
    const int writes = reg.writes;
    ASSERT_TRUE(added.Save(key));
    EXPECT_EQ(reg.writes, writes) << "nothing changed";

    reg.PutString(path, L"LogDepth", L"77");  // a string where a number belongs
    LMConsConfig loaded;
    ASSERT_TRUE(loaded.Load(L"{1234}", key));
    EXPECT_EQ(loaded.KeyName(), L"{1234}");
    EXPECT_EQ(loaded.CopyString(&LMConsSettings::Name), L"Board");
    EXPECT_EQ(loaded.CopyCommands(), (NSTRList{L"help", L"ver"}));
    EXPECT_EQ(loaded.Settings().ConMode.Get(), 0u);
    EXPECT_EQ(loaded.Settings().LogDepth.Get(), 5000u);
    EXPECT_EQ(loaded.GetStatus(), L"Ready");
    loaded.Settings().ListIndex = 3;
    ASSERT_TRUE(loaded.Save(key));
    EXPECT_EQ(reg.Find(path, L"LogDepth")->type, nreg::kDword) << "the mistyped value is replaced";
    EXPECT_EQ(reg.Find(path, L"ListIndex")->bytes[0], 3);

    LMConsConfig missing;
    EXPECT_TRUE(missing.Load(L"{absent}", key));
    EXPECT_EQ(missing.CopyString(&LMConsSettings::COMPort), L"COM1");
    EXPECT_FALSE(missing.Load(L"", key));
}

TEST(LMConsConfigStore, StringsAreCopiedWhileAnotherThreadApplies)
{
    LMConsConfig cfg;
    LMConsSettings a = cfg.CopySettings();
    a.Name = std::wstring(200, L'a');
    LMConsSettings b = a;
    b.Name = std::wstring(300, L'b');
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; i < 40; ++i) cfg.Apply(i % 2 ? a : b);
        stop = true;
    });
    while (!stop) {
        const std::wstring n = cfg.CopyString(&LMConsSettings::Name);
        ASSERT_TRUE(n.empty() || n == a.Name || n == b.Name);
        ASSERT_NE(cfg.CurrentShades(), nullptr);
        std::this_thread::yield();
    }
    writer.join();
}

}  // namespace
