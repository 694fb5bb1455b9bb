#include "foundation/WindowPlacementText.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

#include <gtest/gtest.h>

TEST(WindowPlacementText, DefaultPlacementRoundTrips)
{
    NWindowPlacementText p;
    ASSERT_TRUE(p.Parse(L"0,1,-1,-1,-1,-1,103,75,619,334"));
    EXPECT_EQ(p.flags, 0u);
    EXPECT_EQ(p.showCmd, 1u);
    EXPECT_EQ(p.minX, -1);
    EXPECT_EQ(p.maxY, -1);
    EXPECT_EQ(p.left, 103);
    EXPECT_EQ(p.top, 75);
    EXPECT_EQ(p.right, 619);
    EXPECT_EQ(p.bottom, 334);
    EXPECT_EQ(p.Format(), L"0,1,-1,-1,-1,-1,103,75,619,334");
}

TEST(WindowPlacementText, ExtremesAndBlanks)
{
    NWindowPlacementText p;
    p.flags = 0xFFFFFFFF;
    p.showCmd = 3;
    p.minX = INT32_MIN;
    p.minY = INT32_MAX;
    p.bottom = -32000;
    const std::wstring text = p.Format();
    EXPECT_EQ(text, L"4294967295,3,-2147483648,2147483647,0,0,0,0,0,-32000");
    NWindowPlacementText q;
    ASSERT_TRUE(q.Parse(text));
    EXPECT_EQ(q, p);
    ASSERT_TRUE(q.Parse(L" 2 ,\t1, -5 ,6,7,8,9,10,11,12 "));
    EXPECT_EQ(q.flags, 2u);
    EXPECT_EQ(q.minX, -5);
    EXPECT_EQ(q.bottom, 12);
    ASSERT_TRUE(q.Parse(L"0,1,-0,0,0,0,0,0,0,0"));
    EXPECT_EQ(q.minX, 0);
}

TEST(WindowPlacementText, AnythingButTenCleanNumbersIsRefused)
{
    for (const wchar_t* bad : {L"", L"0,1,2,3,4,5,6,7,8", L"0,1,2,3,4,5,6,7,8,9,10", L"0,1,2,3,4,5,6,7,8,9,",
                               L"0,1,2,3,4,5,6,7,8,9x", L"0,1,2,3,4,5,6,7,8,9 x", L"-1,1,2,3,4,5,6,7,8,9",
                               L"0,-1,2,3,4,5,6,7,8,9", L"+0,1,2,3,4,5,6,7,8,9", L"0,1,+2,3,4,5,6,7,8,9",
                               L"4294967296,1,2,3,4,5,6,7,8,9", L"0,1,2147483648,3,4,5,6,7,8,9",
                               L"0,1,-2147483649,3,4,5,6,7,8,9", L"0,1,99999999999999999999,3,4,5,6,7,8,9",
                               L"0,,2,3,4,5,6,7,8,9", L"0;1;2;3;4;5;6;7;8;9", L"0,1,2,3,4,5,6,7,8,0x9",
                               L"0,1,- 2,3,4,5,6,7,8,9", L"0,1,2 3,4,5,6,7,8,9,10", L"0,1,2,3,4,5,6,7,8,9\n"}) {
        NWindowPlacementText p;
        p.left = 77;
        NSetLastError(0);
        EXPECT_FALSE(p.Parse(bad)) << std::wstring(bad).size();
        EXPECT_EQ(p.left, 77) << "changed on failure";
        EXPECT_EQ(NGetLastError(), nerr::kInvalidData);
    }
}
