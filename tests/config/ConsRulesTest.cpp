#include <gtest/gtest.h>

#include "config/ConsNameRules.h"
#include "config/HostPortRules.h"
#include "config/IComPortDirectory.h"
#include "config/LMConsValidation.h"
#include "config/LogFileName.h"
#include "config/RegRootName.h"

namespace {

TEST(ConsNameRules, ReservedDeviceNames)
{
    for (const wchar_t* n : {L"COM7", L"lpt1", L"Com 3", L"NUL", L"com", L"Aux", L"prn", L"CON", L"COM-1", L"LPT+0x10", L"LPT0x1",
                             L"COM99999999999"})
        EXPECT_TRUE(LMIsReservedConsoleName(n)) << n;
    for (const wchar_t* n : {L"COMET", L"COMabc", L"LPTX", L"COM3x", L"CONSOLE", L"Board 1", L"COM 3 4", L"COM08", L"COM1a", L"LPT"})
        EXPECT_FALSE(LMIsReservedConsoleName(n)) << n;
}

TEST(ConsNameRules, ComPortNames)
{
    EXPECT_TRUE(LMIsValidComPortName(L"COM1"));
    EXPECT_TRUE(LMIsValidComPortName(L"com999"));
    EXPECT_FALSE(LMIsValidComPortName(L"COM0"));
    EXPECT_FALSE(LMIsValidComPortName(L"COM1000"));
    EXPECT_FALSE(LMIsValidComPortName(L"COM"));
    EXPECT_FALSE(LMIsValidComPortName(L"COMA"));
}

TEST(HostPortRules, MessagesInRuleOrder)
{
    struct SCase {
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {L"", L"Empty host[:port]"},
        {L":23", L"Invalid host (port only?)"},
        {L"host:", L"Invalid (: + empty?) port"},
        {L"host:0", L"Invalid port value"},
        {L"host:65536", L"Invalid port value"},
        {L"host:08", L"Invalid port value"},
        {L"host:0x17", L"Invalid port character(s)"},
        {L"host:2:3", L"Invalid port character(s)"},
        {L"host: 23", L"Invalid port character(s)"},
        {L"a..b", L"Invalid (empty) host segment"},
        {L".a", L"Invalid (empty) host segment"},
        {L"a.b.", L"Empty host"},
        {L"my_host", L"Invalid host character"},
        {L"my_host:23", L"Invalid host character"},
        {L"a..b:0", L"Invalid port value"},
    };
    for (const SCase& c : cases) {
        const wchar_t* m = LMCheckHostPort(c.text);
        ASSERT_NE(m, nullptr) << c.text;
        EXPECT_STREQ(m, c.message) << c.text;
    }
    uint32_t port = 1;
    EXPECT_EQ(LMCheckHostPort(L"host:023", &port), nullptr);
    EXPECT_EQ(port, 19u);
    EXPECT_EQ(LMCheckHostPort(L"192.168.1.10:23", &port), nullptr);
    EXPECT_EQ(port, 23u);
    EXPECT_EQ(LMCheckHostPort(L"board-7.lab", &port), nullptr);
    EXPECT_EQ(port, 0u);
    EXPECT_EQ(LMCheckHostPort(L"h:65535"), nullptr);
}

TEST(LogFileName, EscapesTheTenCharacters)
{
    EXPECT_EQ(LMEscapeLogName(L"Left / Right"), L"Left%20%2F%20Right");
    EXPECT_EQ(LMEscapeLogName(L"\\:*?\"<>|"), L"%5C%3A%2A%3F%22%3C%3E%7C");
    EXPECT_EQ(LMComposeLogFileName(L"C:\\Logs", L"a b"), L"C:\\Logs\\a%20b.log");
    EXPECT_EQ(LMComposeLogFileName(L"%LOCALAPPDATA%\\Lumbra\\Logs\\", L"x"), L"%LOCALAPPDATA%\\Lumbra\\Logs\\x.log");
}

TEST(RegRootName, ThreeNamesPerRoot)
{
    EXPECT_EQ(NRegRootFromName(L"hkcu"), NRegRoot::kCurrentUser);
    EXPECT_EQ(NRegRootFromName(L"HCU"), NRegRoot::kCurrentUser);
    EXPECT_EQ(NRegRootFromName(L"HKEY_LOCAL_MACHINE"), NRegRoot::kLocalMachine);
    EXPECT_EQ(NRegRootFromName(L"HDD"), NRegRoot::kDynData);
    EXPECT_EQ(NRegRootFromName(L"HKXX"), NRegRoot::kNone);
    NRegRoot root;
    std::wstring sub;
    ASSERT_TRUE(NSplitRegPath(L"HKLM\\Software\\\\Vexal\\", root, sub));
    EXPECT_EQ(sub, L"Software\\Vexal");
    ASSERT_TRUE(NSplitRegPath(L"HKU", root, sub));
    EXPECT_EQ(sub, L"");
    EXPECT_FALSE(NSplitRegPath(L"", root, sub));
}

// Test double of the COM port enumeration.
class FakePorts : public ILMComPortDirectory {
public:
    bool IsComPortPresent(std::wstring_view p) override { return p == L"COM3" || p == L"COM4"; }
    bool IsComPortBusy(std::wstring_view p) override { return p == L"COM4"; }
    bool IsDevAddrPresent(std::wstring_view d) override { return d == L"USB\\VID_1"; }
    bool IsDevAddrBusy(std::wstring_view) override { return false; }
    std::wstring DevAddrOfComPort(std::wstring_view p) override { return p == L"COM3" ? L"USB\\VID_1" : L""; }
    std::wstring ComPortOfDevAddr(std::wstring_view d) override { return d == L"USB\\VID_1" ? L"COM3" : L""; }
};

SLMConsInput GoodInput()
{
    SLMConsInput in;
    in.name = L"  Board A ";
    in.currentName = L"Board A";
    in.namesInUse = {L"board b"};
    in.rxTerm = 4;
    in.rxWrap = L"80";
    in.rxTimeout = L"0";
    in.txTerm = 0;
    in.conMode = 2;
    in.comPort = L"COM3";
    in.logDepth = L"5000";
    return in;
}

TEST(ConsValidation, GoodInputIsWrittenIntoTheRecord)
{
    FakePorts ports;
    LMConsSettings rec;
    SLMConsInput in = GoodInput();
    in.rxWrap = L"0x1000";
    const auto r = LMValidateConsInput(in, rec, &ports);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_TRUE(r.portValid);
    EXPECT_EQ(rec.Name, L"Board A");
    EXPECT_EQ(rec.RxWrap.Get(), 4096u);
    EXPECT_EQ(rec.COMPort, L"COM3");
    EXPECT_EQ(rec.DevAddr, L"USB\\VID_1") << "the partner field comes from the enumeration";
}

TEST(ConsValidation, EveryFailingRuleInOrder)
{
    FakePorts ports;
    LMConsSettings rec;
    SLMConsInput in;
    in.name = L" ";
    in.rxTerm = 6;
    in.rxWrap = L"5000";
    in.rxTimeout = L"-1";
    in.txTerm = -1;
    in.conMode = 0;
    in.hostPort = L"host:0";
    in.logDepth = L"0";
    const auto r = LMValidateConsInput(in, rec, &ports);
    const std::vector<std::wstring> expected{L"Name cannot be empty",       L"Rx termination out of range",
                                             L"Invalid Rx line wrap",       L"Invalid Rx timeout",
                                             L"Tx termination out of range", L"Invalid port value",
                                             L"Invalid log depth"};
    EXPECT_EQ(r.messages, expected);
    EXPECT_EQ(rec.RxWrap.Get(), 80u) << "a failing value keeps the record's value";
    EXPECT_FALSE(r.portValid);
}

TEST(ConsValidation, NamesInUseReservedAndPorts)
{
    FakePorts ports;
    LMConsSettings rec;
    SLMConsInput in = GoodInput();
    in.name = L"BOARD B";
    EXPECT_EQ(LMValidateConsInput(in, rec, &ports).messages, std::vector<std::wstring>{L"Name already in use"});
    in.name = L"board a";  // its own name in another case
    in.namesInUse.push_back(L"Board A");
    EXPECT_TRUE(LMValidateConsInput(in, rec, &ports).messages.empty());
    in.adding = true;
    EXPECT_EQ(LMValidateConsInput(in, rec, &ports).messages, std::vector<std::wstring>{L"Name already in use"});
    in.name = L"lpt1";
    EXPECT_EQ(LMValidateConsInput(in, rec, &ports).messages, std::vector<std::wstring>{L"Name is reserved"});
    in = GoodInput();
    in.comPort = L"COM9";
    EXPECT_EQ(LMValidateConsInput(in, rec, &ports).messages, std::vector<std::wstring>{L"Invalid COM port"});
    EXPECT_EQ(LMValidateConsInput(in, rec, nullptr).messages, std::vector<std::wstring>{L"Invalid COM port"});
    in.conMode = 1;
    in.devAddr = L"USB\\VID_2";
    EXPECT_EQ(LMValidateConsInput(in, rec, &ports).messages, std::vector<std::wstring>{L"Invalid serial device"});
    in.devAddr = L"USB\\VID_1";
    rec.COMPort = L"COM1";
    EXPECT_TRUE(LMValidateConsInput(in, rec, &ports).messages.empty());
    EXPECT_EQ(rec.COMPort, L"COM3");
}

TEST(ConsValidation, AMarkedMissingPortKeepsTheRecordsPort)
{
    // The setup dialog shows a stored port that is gone as "*COM9"; choosing
    // it must not put the mark into the record.
    FakePorts ports;
    LMConsSettings rec;
    rec.Name = L"Old";
    rec.COMPort = L"COM1";
    SLMConsInput in = GoodInput();
    in.name = L"\t";
    in.comPort = L"*COM3";
    const auto r = LMValidateConsInput(in, rec, &ports);
    EXPECT_EQ(r.messages, (std::vector<std::wstring>{L"Name cannot be empty", L"Invalid COM port"}));
    EXPECT_FALSE(r.portValid);
    EXPECT_EQ(rec.COMPort, L"COM1");
    EXPECT_EQ(rec.Name, L"Old");
    in.conMode = 1;
    in.devAddr = L"*USB\\VID_1";
    EXPECT_EQ(LMValidateConsInput(in, rec, &ports).messages,
              (std::vector<std::wstring>{L"Name cannot be empty", L"Invalid serial device"}));
}

}  // namespace
