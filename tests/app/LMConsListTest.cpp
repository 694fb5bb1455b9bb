// The console array on real configurations, with stand-ins for an open
// console's thread, its worker and the port enumeration.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/LMConsList.h"
#include "app/LMConsListCells.h"
#include "config/IComPortDirectory.h"
#include "config/IConsoleLink.h"
#include "config/LMConsConfig.h"

namespace {
// An open console whose thread ends as soon as it is asked to close.
struct SFakeConsole : ILMConsoleLink {
    LMConsConfig* config = nullptr;
    std::vector<uint32_t> posted;
    bool PostToMainWindow(uint32_t message, uintptr_t, intptr_t) override
    {
        posted.push_back(message);
        if (message == LMConsConfig::kWmClose && config != nullptr) {
            config->SetCommThread(nullptr);
            config->SetConsoleThread(nullptr);
        }
        return true;
    }
};

struct SFakeWorker : ILMCommLink {
    uint8_t state = kConnected;
    uint8_t ConnectionState() const override { return state; }
};

struct SFakePorts : ILMComPortDirectory {
    bool IsComPortPresent(std::wstring_view p) override { return p == L"COM3" || p == L"COM4"; }
    bool IsComPortBusy(std::wstring_view p) override { return p == L"COM4"; }
    bool IsDevAddrPresent(std::wstring_view d) override { return d == L"USB\\DEV1"; }
    bool IsDevAddrBusy(std::wstring_view) override { return false; }
    std::wstring DevAddrOfComPort(std::wstring_view p) override { return p == L"COM3" ? L"USB\\DEV3" : L""; }
    std::wstring ComPortOfDevAddr(std::wstring_view d) override { return d == L"USB\\DEV1" ? L"COM7" : L""; }
};

std::unique_ptr<LMConsConfig> Console(const std::wstring& name, unsigned listIndex = 0,
                                      unsigned mode = LMConsSettings::kTcpIp)
{
    LMConsSettings s = LMConsSettings::Defaults();
    s.Name = name;
    s.ConMode = mode;
    s.HostPort = L"board.local:23";
    s.COMPort = L"COM3";
    s.ListIndex = listIndex;
    return std::make_unique<LMConsConfig>(L"{" + name + L"}", s);
}

std::wstring Order(const LMConsList& list)
{
    std::wstring names;
    for (const std::wstring& n : list.Names(list.Rows(ELMConsRowFilter::kAll, false)))
        names += n;
    return names;
}

struct LMConsListTest : testing::Test {
    void Fill(const std::wstring& letters)
    {
        for (wchar_t c : letters)
            list.Append(Console(std::wstring(1, c)));
        for (size_t i = 0; i < list.Count(); ++i)
            list.At(i)->SetSelected(false);
    }
    void Select(std::initializer_list<size_t> rows)
    {
        for (size_t i = 0; i < list.Count(); ++i)
            list.At(i)->SetSelected(false);
        for (size_t r : rows)
            list.At(r)->SetSelected(true);
    }
    void Open(size_t row, SFakeConsole& console)
    {
        console.config = list.At(row);
        list.At(row)->SetConsoleThread(&console);
    }
    LMConsList list;
};
}  // namespace

TEST_F(LMConsListTest, LoadedConsolesAreOrderedByListIndexAndRenumbered)
{
    std::vector<std::unique_ptr<LMConsConfig>> loaded;
    loaded.push_back(Console(L"C", 2));
    loaded.push_back(Console(L"A", 0));
    loaded.push_back(Console(L"X", 0));  // duplicate index: after the numbered rows
    loaded.push_back(Console(L"B", 1));
    list.AssignLoaded(std::move(loaded));
    EXPECT_EQ(Order(list), L"ABCX");
    for (size_t i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.At(i)->Settings().ListIndex.Get(), i);
    EXPECT_EQ(list.Caret(), kNoCaret);
}

TEST_F(LMConsListTest, AppendSelectsOnlyTheNewRowAndNumbersIt)
{
    Fill(L"AB");
    Select({0, 1});
    const size_t row = list.Append(Console(L"C", 99));
    EXPECT_EQ(row, 2u);
    EXPECT_EQ(list.Caret(), 2u);
    EXPECT_EQ(list.At(2)->Settings().ListIndex.Get(), 2u);
    EXPECT_EQ(list.SelectedCount(), 1u);
    EXPECT_TRUE(list.At(2)->IsSelected());
}

TEST_F(LMConsListTest, RemoveDeletesExactlyTheGivenRowsAndKeepsIndices)
{
    Fill(L"ABCDE");
    Select({1, 3});
    list.SetCaret(4);
    const std::vector<size_t> rows = list.RemovableRows();
    EXPECT_EQ(rows, (std::vector<size_t>{1, 3}));
    list.Remove(rows);
    EXPECT_EQ(Order(list), L"ACE");
    EXPECT_EQ(list.Caret(), 2u) << "the caret stays on E";
    EXPECT_EQ(list.At(2)->Settings().ListIndex.Get(), 4u) << "renumbered only by the next load";
    list.SetCaret(1);
    list.Remove({1, 1, 7});
    EXPECT_EQ(Order(list), L"AE");
    EXPECT_EQ(list.Caret(), kNoCaret);
    EXPECT_EQ(list.KeyNames(), (std::vector<std::wstring>{L"{A}", L"{E}"}));
}

TEST_F(LMConsListTest, AnOpenConsoleIsNeitherRemovedNorDisabled)
{
    Fill(L"ABC");
    SFakeConsole console;
    Open(0, console);
    list.At(1)->Settings().Enabled = false;
    Select({0, 1});
    EXPECT_EQ(list.RemovableRows(), (std::vector<size_t>{1}));
    EXPECT_TRUE(list.EnableChange().rows.empty());
    EXPECT_FALSE(list.ToggleEnable());
    EXPECT_TRUE(list.At(0)->Settings().Enabled.Get());
    EXPECT_FALSE(list.At(1)->Settings().Enabled.Get());

    Select({1, 2});
    EXPECT_TRUE(list.ToggleEnable()) << "C is enabled and closed: it is disabled";
    EXPECT_FALSE(list.At(2)->Settings().Enabled.Get());
    EXPECT_TRUE(list.ToggleEnable()) << "now none is enabled: both are enabled";
    EXPECT_TRUE(list.At(1)->Settings().Enabled.Get());
    EXPECT_TRUE(list.At(2)->Settings().Enabled.Get());

    list.Clear();  // closes the open console first
    EXPECT_EQ(console.posted, (std::vector<uint32_t>{LMConsConfig::kWmClose}));
}

TEST_F(LMConsListTest, MovingRenumbersAndTheCaretFollows)
{
    Fill(L"ABCD");
    Select({1, 2});
    list.SetCaret(2);
    EXPECT_TRUE(list.CanMove(true));
    EXPECT_TRUE(list.Move(true));
    EXPECT_EQ(Order(list), L"BCAD");
    EXPECT_EQ(list.Caret(), 1u);
    for (size_t i = 0; i < list.Count(); ++i)
        EXPECT_EQ(list.At(i)->Settings().ListIndex.Get(), i);
    EXPECT_FALSE(list.Move(true));
    EXPECT_TRUE(list.Move(false));
    EXPECT_TRUE(list.Move(false));
    EXPECT_EQ(Order(list), L"ADBC");
    EXPECT_FALSE(list.CanMove(false));
}

TEST_F(LMConsListTest, ConnectedAndOpenableRows)
{
    Fill(L"AB");
    SFakeConsole console;
    SFakeWorker worker;
    Open(1, console);
    list.At(1)->SetCommThread(&worker);
    EXPECT_EQ(list.Rows(ELMConsRowFilter::kConnected, false), (std::vector<size_t>{1}));
    worker.state = 1;
    EXPECT_TRUE(list.Rows(ELMConsRowFilter::kConnected, false).empty());
    // A TCP/IP console with a valid host is openable without any port directory.
    EXPECT_EQ(list.Rows(ELMConsRowFilter::kOpenable, false), (std::vector<size_t>{0, 1}));
    list.At(0)->Settings().Enabled = false;
    EXPECT_EQ(list.Rows(ELMConsRowFilter::kOpenable, false), (std::vector<size_t>{1}));
    list.Clear();
}

TEST(LMConsListCells, TextsAndIconsPerModeAndState)
{
    SFakePorts ports;
    SLMConsEnvironment env;
    env.ports = &ports;
    auto tcp = Console(L"Net", 0, LMConsSettings::kTcpIp);
    auto com = Console(L"Com", 0, LMConsSettings::kComSerial);
    auto dev = Console(L"Dev", 0, LMConsSettings::kDeviceSerial);
    for (auto* c : {tcp.get(), com.get(), dev.get()})
        c->SetEnvironment(&env);

    EXPECT_EQ(LMConsCellOf(*tcp, 0, &ports).text, L"Net");
    EXPECT_EQ(LMConsCellOf(*tcp, 0, &ports).icon, lmcell::kIconReady);
    EXPECT_EQ(LMConsCellOf(*tcp, 1, &ports).text, L"board.local:23");
    EXPECT_EQ(LMConsCellOf(*tcp, 1, &ports).icon, lmcell::kIconTcpIp);
    EXPECT_EQ(LMConsCellOf(*tcp, 2, &ports).text, L"");
    EXPECT_EQ(LMConsCellOf(*tcp, 2, &ports).icon, 0);
    EXPECT_EQ(LMConsCellOf(*tcp, 3, &ports).text, L"Ready");

    EXPECT_EQ(LMConsCellOf(*com, 1, &ports).text, L"COM3");
    EXPECT_EQ(LMConsCellOf(*com, 1, &ports).icon, lmcell::kIconSerial);
    EXPECT_EQ(LMConsCellOf(*com, 2, &ports).text, L"USB\\DEV3");
    EXPECT_EQ(LMConsCellOf(*com, 2, &ports).icon, lmcell::kIconPortOk);

    // Device serial without an address: no lookup answer, port missing.
    EXPECT_EQ(LMConsCellOf(*dev, 1, &ports).text, L"");
    EXPECT_EQ(LMConsCellOf(*dev, 2, &ports).text, L"N/A");
    EXPECT_EQ(LMConsCellOf(*dev, 2, &ports).icon, lmcell::kIconPortMissing);
    EXPECT_EQ(LMConsCellOf(*dev, 0, &ports).icon, lmcell::kIconUnavailable);
    LMConsSettings s = dev->CopySettings();
    s.DevAddr = L"USB\\DEV1";
    ASSERT_TRUE(dev->Apply(s));
    EXPECT_EQ(LMConsCellOf(*dev, 2, &ports).text, L"COM7");
    EXPECT_EQ(LMConsCellOf(*dev, 0, &ports).icon, lmcell::kIconReady);

    s = com->CopySettings();
    s.COMPort = L"COM4";
    ASSERT_TRUE(com->Apply(s));
    EXPECT_EQ(LMConsCellOf(*com, 2, &ports).icon, lmcell::kIconPortBusy);
    EXPECT_EQ(LMConsCellOf(*com, 2, &ports).text, L"N/A");
    EXPECT_EQ(LMConsCellOf(*com, 3, &ports).text, L"Serial port busy");
    SFakeWorker worker;
    com->SetCommThread(&worker);
    EXPECT_EQ(LMConsCellOf(*com, 2, &ports).icon, lmcell::kIconPortOk) << "connected wins over busy";
    com->SetCommThread(nullptr);

    tcp->Settings().Enabled = false;
    EXPECT_EQ(LMConsCellOf(*tcp, 0, &ports).icon, lmcell::kIconDisabled);
    EXPECT_EQ(LMConsCellOf(*tcp, 3, &ports).text, L"Disabled");
    tcp->Settings().ConMode = 9;  // a damaged record
    EXPECT_EQ(LMConsCellOf(*tcp, 1, &ports).text, L"*** ERROR ***");
    EXPECT_EQ(LMConsCellOf(*tcp, 2, &ports).text, L"");
    EXPECT_EQ(LMConsCellOf(*tcp, 7, &ports).text, L"");

    SFakeConsole console;
    console.config = com.get();
    com->SetConsoleThread(&console);
    EXPECT_EQ(LMConsCellOf(*com, 0, &ports).icon, lmcell::kIconOpen);
    com.reset();  // closes the console while its stand-in still exists
    EXPECT_EQ(console.posted, (std::vector<uint32_t>{LMConsConfig::kWmClose}));
}
