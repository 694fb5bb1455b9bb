#include <gtest/gtest.h>

#include "transport/NCOMPortDirectory.h"
#include "transport/NCOMPortEnum.h"
#include "transport/NCOMPortInterval.h"

namespace {

// Test double: the shape of the configuration's query interface, so that the
// adapter is checked without depending on the configuration folder.
class IQueriesStandIn {
public:
    virtual ~IQueriesStandIn() = default;
    virtual bool IsComPortPresent(std::wstring_view) = 0;
    virtual bool IsComPortBusy(std::wstring_view) = 0;
    virtual bool IsDevAddrPresent(std::wstring_view) = 0;
    virtual bool IsDevAddrBusy(std::wstring_view) = 0;
    virtual std::wstring DevAddrOfComPort(std::wstring_view) = 0;
    virtual std::wstring ComPortOfDevAddr(std::wstring_view) = 0;
};

NCOMPortEnum TwoPorts()
{
    NCOMPortEnum list;
    NCOMPortEnum::SNCPEEntry a;
    a.portName = L"COM3";
    a.instancePath = L"USB\\VID_0403&PID_6001\\A1B2C3";
    a.interfacePath = NCOMPortEnum::InterfacePath(a.instancePath);
    a.status = NCOMPortEnum::kPresent;
    NCOMPortEnum::SNCPEEntry b;
    b.portName = L"COM4";
    b.instancePath = L"ACPI\\PNP0501\\1";
    b.interfacePath = NCOMPortEnum::InterfacePath(b.instancePath);
    b.status = NCOMPortEnum::kPresentBusy;
    list.entries = {a, b};
    return list;
}

}  // namespace

TEST(NCOMPortEnum, InterfacePathFromInstancePath)
{
    EXPECT_EQ(NCOMPortEnum::InterfacePath(L"USB\\VID_0403&PID_6001\\A1B2C3"),
              L"\\\\?\\USB#VID_0403&PID_6001#A1B2C3#{4D36E978-E325-11CE-BFC1-08002BE10318}");
}

TEST(NCOMPortEnum, LookupsIgnoreCaseInEitherPathForm)
{
    const NCOMPortEnum list = TwoPorts();
    ASSERT_NE(list.FindPort(L"com3"), nullptr);
    EXPECT_EQ(list.FindPort(L"com3")->portName, L"COM3");
    EXPECT_EQ(list.FindPort(L"COM30"), nullptr);
    EXPECT_EQ(list.FindDevice(L"usb\\vid_0403&pid_6001\\a1b2c3")->portName, L"COM3");
    EXPECT_EQ(list.FindDevice(L"\\\\?\\usb#vid_0403&pid_6001#a1b2c3#{4d36e978-e325-11ce-bfc1-08002be10318}")->portName,
              L"COM3");
    EXPECT_EQ(list.FindDevice(L""), nullptr);
    EXPECT_EQ(list.FindDevice(L"USB\\VID_0403&PID_6001"), nullptr);
}

TEST(NCOMPortEnum, MovedAdapterIsFoundByItsDeviceAddress)
{
    NCOMPortEnum list = TwoPorts();
    NCOMPortDirectory before(list);
    const std::wstring address = before.DevAddrOfComPort(L"COM3");
    EXPECT_EQ(address, L"USB\\VID_0403&PID_6001\\A1B2C3");
    list.entries[0].portName = L"COM7";  // plugged into another socket
    NCOMPortDirectory after(list);
    EXPECT_EQ(after.ComPortOfDevAddr(address), L"COM7");
    EXPECT_TRUE(after.IsDevAddrPresent(address));
    EXPECT_FALSE(after.IsComPortPresent(L"COM3"));
    EXPECT_TRUE(after.IsComPortBusy(L"com4"));
    EXPECT_FALSE(after.IsDevAddrBusy(address));
    EXPECT_EQ(after.DevAddrOfComPort(L"COM9"), L"");
    NCOMPortDirectory empty;
    EXPECT_EQ(empty.ComPortOfDevAddr(address), L"");

    TNCOMPortDirectoryAs<IQueriesStandIn> adapter(list);
    IQueriesStandIn& queries = adapter;
    EXPECT_EQ(queries.ComPortOfDevAddr(address), L"COM7");
    EXPECT_TRUE(queries.IsComPortBusy(L"COM4"));
    EXPECT_FALSE(queries.IsDevAddrBusy(address));
}

TEST(NCOMPortEnum, StatusesOfBothPresenceTests)
{
    using E = NCOMPortEnum;
    EXPECT_EQ(E::StatusFromAttributeQuery(0), E::kPresent);
    EXPECT_EQ(E::StatusFromAttributeQuery(5), E::kPresentRefused);
    EXPECT_EQ(E::StatusFromAttributeQuery(1), E::kPresentRefused);
    EXPECT_EQ(E::StatusFromAttributeQuery(87), E::kPresentRefused);
    EXPECT_EQ(E::StatusFromAttributeQuery(121), E::kPresentBusy);
    EXPECT_EQ(E::StatusFromAttributeQuery(2), E::kAbsent);
    EXPECT_EQ(E::StatusFromPortTest(0, false), E::kPresentFree);
    EXPECT_EQ(E::StatusFromPortTest(5, false), E::kPresentBusy);
    EXPECT_EQ(E::StatusFromPortTest(121, false), E::kPresentBusy);
    EXPECT_EQ(E::StatusFromPortTest(0, true), E::kPresentBusy);
    EXPECT_EQ(E::StatusFromPortTest(2, false), E::kAbsent);
    for (int32_t s : {E::kPresent, E::kPresentRefused, E::kPresentFree, E::kPresentBusy})
        EXPECT_TRUE(E::IsPresent(s));
    EXPECT_FALSE(E::IsPresent(E::kAbsent));
}

TEST(NCOMPortInterval, GrowsToItsMaximumAndStaysThere)
{
    NCOMPortInterval iv;
    uint32_t ms = iv.minimumMs;
    std::vector<uint32_t> waits;
    for (int i = 0; i < 6; ++i) {
        waits.push_back(ms);
        ms = iv.Next(ms);
    }
    EXPECT_EQ(waits, (std::vector<uint32_t>{987, 2467, 6167, 14567, 14567, 14567}));
    EXPECT_EQ(iv.Clamp(0), 987u);
    EXPECT_EQ(iv.Next(0xFFFFFFFFu), 14567u);
}
