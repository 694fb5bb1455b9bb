#include <gtest/gtest.h>

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "transport/HostPort.h"

TEST(HostPort, HostAloneTakesTelnetPort)
{
    NHostPort a;
    ASSERT_TRUE(a.Parse(L"board7"));
    EXPECT_EQ(a.host, L"board7");
    EXPECT_EQ(a.port, 23);
    ASSERT_TRUE(a.Parse(L"10.0.0.5:2001"));
    EXPECT_EQ(a.host, L"10.0.0.5");
    EXPECT_EQ(a.port, 2001);
    ASSERT_TRUE(a.Parse(L"h:65535"));
    EXPECT_EQ(a.port, 65535);
    // The split is at the last colon.
    ASSERT_TRUE(a.Parse(L"a:b:1"));
    EXPECT_EQ(a.host, L"a:b");
    EXPECT_EQ(a.port, 1);
}

TEST(HostPort, BadPortsAndEmptyHostsLeaveNothingBehind)
{
    for (const wchar_t* bad : {L"h:0", L"h:65536", L"h:99999999999", L"h:", L"h:x1", L"h:+5", L"h: 5", L"h:0x10",
                               L":23", L"", L"h:-1"}) {
        NHostPort a;
        a.host = L"stale";
        a.port = 7;
        NSetLastError(0);
        EXPECT_FALSE(a.Parse(bad)) << std::string(bad, bad + wcslen(bad));
        EXPECT_EQ(NGetLastError(), nerr::kInvalidParameter);
        EXPECT_TRUE(a.host.empty());
        EXPECT_EQ(a.port, 0);
    }
}
