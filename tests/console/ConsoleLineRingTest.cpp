#include "console/ConsoleLineRing.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int32_t Add(ConsoleLineRing& ring, const std::wstring& text)
{
    bool dropped = false;
    int32_t width = 0;
    return ring.Store(ring.Capacity(), 1, text, dropped, width);
}

TEST(ConsoleLineRing, ShrinkingAPartlyFilledRingKeepsItsLines)
{
    ConsoleLineRing ring;
    ASSERT_TRUE(ring.SetDepth(10));
    Add(ring, L"a");
    Add(ring, L"b");
    Add(ring, L"c");
    ASSERT_TRUE(ring.SetDepth(2));
    EXPECT_EQ(ring.Last(), 1);
    EXPECT_EQ(ring.Line(0).text, L"b");
    EXPECT_EQ(ring.Line(1).text, L"c");
    ASSERT_TRUE(ring.SetDepth(4));
    EXPECT_EQ(ring.Last(), 1);
    EXPECT_EQ(ring.Line(2).text, L"");
}

TEST(ConsoleLineRing, IndexPastCapacityAppendsWithoutDroppingWhileRoomIsLeft)
{
    ConsoleLineRing ring;
    ASSERT_TRUE(ring.SetDepth(3));
    bool dropped = true;
    int32_t width = 0;
    EXPECT_EQ(ring.Store(99, 1, L"a", dropped, width), 0);
    EXPECT_FALSE(dropped);
    Add(ring, L"b");
    Add(ring, L"c");
    EXPECT_EQ(ring.Store(3, 1, L"d", dropped, width), 2);
    EXPECT_TRUE(dropped);
    EXPECT_EQ(ring.Line(0).text, L"b");
}

TEST(ConsoleLineRing, FullRingReusesSlotBuffers)
{
    ConsoleLineRing ring;
    ASSERT_TRUE(ring.SetDepth(4));
    const std::wstring longText(200, L'x');
    for (int i = 0; i < 4; ++i) Add(ring, longText);
    const wchar_t* buffers[4];
    for (int i = 0; i < 4; ++i) buffers[i] = ring.Line(i).text.data();
    for (int i = 0; i < 40; ++i) Add(ring, L"short line " + std::to_wstring(i));
    // Logical lines rotated through the slots, but each slot kept its buffer.
    for (int i = 0; i < 4; ++i) {
        const wchar_t* now = ring.Line(i).text.data();
        EXPECT_TRUE(now == buffers[0] || now == buffers[1] || now == buffers[2] || now == buffers[3]);
    }
    EXPECT_EQ(ring.Line(3).text, L"short line 39");
}

TEST(ConsoleLineRing, RejectsBadDepthAndKeepsTheRing)
{
    ConsoleLineRing ring;
    ASSERT_TRUE(ring.SetDepth(2));
    Add(ring, L"a");
    NSetLastError(0);
    EXPECT_FALSE(ring.SetDepth(-1));
    EXPECT_EQ(NGetLastError(), nerr::kInvalidParameter);
    EXPECT_EQ(ring.Capacity(), 2);
    EXPECT_EQ(ring.Line(0).text, L"a");

    // The largest configurable depth cannot be held by a 32-bit process; it
    // must fail cleanly instead of throwing out of the ring. (A 64-bit
    // process might really try to build it, so only there.)
    NSetLastError(0);
    if (sizeof(void*) == 4 && !ring.SetDepth(0x7FFFFFFF)) {
        EXPECT_EQ(NGetLastError(), nerr::kNotEnoughMemory);
        EXPECT_EQ(ring.Capacity(), 2);
        EXPECT_EQ(ring.Line(0).text, L"a");
    }
}

}  // namespace
