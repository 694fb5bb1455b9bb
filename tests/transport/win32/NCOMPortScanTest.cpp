// The registry walk and the enumeration thread against device keys made in
// the test prefix's own registry, and the COM port mutex across owners.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <thread>
#include <string>

#include "foundation/win32/Handles.h"
#include "transport/win32/NCOMPortEnumThread.h"
#include "transport/win32/NCOMPortMutex.h"
#include "transport/win32/NCOMPortScanner.h"

namespace {

const wchar_t kEnum[] = L"SYSTEM\\CurrentControlSet\\Enum";
const wchar_t kTestRoot[] = L"SYSTEM\\CurrentControlSet\\Enum\\LUMBRATEST";

void SetString(HKEY key, const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ)
{
    ::RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// A device key below LUMBRATEST with the given class, friendly name and port.
bool MakeDevice(const std::wstring& sub, const std::wstring& classGuid, const std::wstring& friendly,
                const std::wstring& port)
{
    NRegKeyHandle key;
    const std::wstring path = std::wstring(kTestRoot) + L"\\" + sub;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    SetString(key.Get(), L"ClassGUID", classGuid);
    SetString(key.Get(), L"FriendlyName", friendly, REG_EXPAND_SZ);
    NRegKeyHandle params;
    if (::RegCreateKeyExW(key.Get(), L"Device Parameters", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, params.Put(),
                          nullptr) != ERROR_SUCCESS)
        return false;
    SetString(params.Get(), L"PortName", port);
    return true;
}

class NCOMPortScanTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestRoot);
        ::SetEnvironmentVariableW(L"LUMBRA_ADAPTER", L"FT232R");
        ASSERT_TRUE(MakeDevice(L"VID_0403\\A1", L"{4d36e978-e325-11ce-bfc1-08002be10318}",
                               L"USB Serial Port (%LUMBRA_ADAPTER%)", L"COM41"));
        ASSERT_TRUE(MakeDevice(L"VID_0403\\B2", L"{4D36E978-E325-11CE-BFC1-08002BE10318}", L"Second", L"COM42"));
        ASSERT_TRUE(MakeDevice(L"MOUSE\\C3", L"{4D36E96F-E325-11CE-BFC1-08002BE10318}", L"Not a port", L"COM43"));
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, kTestRoot); }

    static NCOMPortScanner::Tester Statuses(std::map<std::wstring, int32_t> statuses)
    {
        return [statuses](const std::wstring& port) {
            const auto it = statuses.find(port);
            return it == statuses.end() ? NCOMPortEnum::kAbsent : it->second;
        };
    }
};

}  // namespace

TEST_F(NCOMPortScanTest, FindsPortsClassDevicesOnly)
{
    NCOMPortEnum list;
    ASSERT_TRUE(NCOMPortScanner::Scan(list, Statuses({{L"COM41", NCOMPortEnum::kPresent}})));
    const auto* a = list.FindPort(L"com41");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->instancePath, L"LUMBRATEST\\VID_0403\\A1");
    EXPECT_EQ(a->interfacePath, L"\\\\?\\LUMBRATEST#VID_0403#A1#{4D36E978-E325-11CE-BFC1-08002BE10318}");
    EXPECT_EQ(a->friendlyName, L"USB Serial Port (FT232R)");
    EXPECT_EQ(a->status, NCOMPortEnum::kPresent);
    const auto* b = list.FindDevice(L"lumbratest\\vid_0403\\b2");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->portName, L"COM42");
    EXPECT_EQ(b->status, NCOMPortEnum::kAbsent);
    EXPECT_EQ(list.FindPort(L"COM43"), nullptr);

    // A missing root is an error, not an empty list.
    EXPECT_FALSE(NCOMPortScanner::Scan(list, Statuses({}), {}, HKEY_LOCAL_MACHINE, L"SYSTEM\\NoSuchEnumRoot"));
    // A stop request ends the walk.
    EXPECT_FALSE(NCOMPortScanner::Scan(list, Statuses({}), [] { return false; }));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CANCELLED));
}

TEST_F(NCOMPortScanTest, RealPresenceTestsOfAnAbsentPort)
{
    // No such device exists in the test prefix.
    EXPECT_FALSE(NCOMPortEnum::IsPresent(NCOMPortScanner::AttributeTest(L"COM241")));
    EXPECT_EQ(NCOMPortScanner::PortTest(L"COM241"), NCOMPortEnum::kAbsent);
}

TEST_F(NCOMPortScanTest, ThreadListsPresentPortsAndNoticesChanges)
{
    NCOMPortEnumThread thread;
    NCOMPortEnum copy;
    thread.SetTester(Statuses({{L"COM41", NCOMPortEnum::kPresentBusy}, {L"COM42", NCOMPortEnum::kAbsent},
                               {L"COM47", NCOMPortEnum::kPresent}}));
    ASSERT_TRUE(thread.RequestScan(true));
    ASSERT_EQ(::WaitForSingleObject(thread.ScanDoneEvent(), 10000), WAIT_OBJECT_0);
    ASSERT_TRUE(thread.CopyList(copy));
    ASSERT_NE(copy.FindPort(L"COM41"), nullptr);
    EXPECT_TRUE(NCOMPortEnum::IsBusy(copy.FindPort(L"COM41")->status));
    EXPECT_EQ(copy.FindPort(L"COM42"), nullptr);  // absent ports are filtered once scans are requested

    // The adapter moves to another port: a requested scan picks it up.
    ASSERT_TRUE(MakeDevice(L"VID_0403\\A1", L"{4D36E978-E325-11CE-BFC1-08002BE10318}", L"Moved", L"COM47"));
    const uint32_t before = copy.changeCounter;
    bool seen = false;
    for (int i = 0; i < 20 && !seen; ++i) {
        thread.ResetScanDone();
        thread.RequestScan(true);
        ::WaitForSingleObject(thread.ScanDoneEvent(), 5000);
        ASSERT_TRUE(thread.CopyList(copy));
        seen = copy.FindDevice(L"LUMBRATEST\\VID_0403\\A1") != nullptr &&
               copy.FindDevice(L"LUMBRATEST\\VID_0403\\A1")->portName == L"COM47";
    }
    EXPECT_TRUE(seen);
    EXPECT_EQ(copy.FindPort(L"COM41"), nullptr);
    EXPECT_GT(copy.changeCounter, before);

    const DWORD start = ::GetTickCount();
    EXPECT_TRUE(thread.Stop(10000));
    EXPECT_LT(::GetTickCount() - start, 3000u);
}

TEST(NCOMPortMutex, SecondOwnerWaitsAndTimesOut)
{
    NCOMPortMutex a;
    ASSERT_TRUE(a.Acquire());
    EXPECT_TRUE(a.IsHeld());
    EXPECT_FALSE(a.Acquire());  // not counted twice
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_BUSY));
    bool got = true;
    DWORD error = 0;
    std::thread other([&] {
        NCOMPortMutex b;
        got = b.Acquire(200);
        error = ::GetLastError();
    });
    other.join();
    EXPECT_FALSE(got);
    EXPECT_EQ(error, 1460u);
    a.Release();
    std::thread third([&] {
        NCOMPortMutex b;
        got = b.Acquire(200);
    });
    third.join();
    EXPECT_TRUE(got);
}
