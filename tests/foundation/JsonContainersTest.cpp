// The containers under the JSON values: hash keys, segmented array, hash table.
#include "foundation/Crc32.h"
#include "foundation/NHTKey.h"
#include "foundation/TNHashTabOf.h"
#include "foundation/TNSegArrOf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

TEST(NHTKey, BytesAreUtf16LittleEndianWithCrc)
{
    const NHTKey k(L"Ab");
    ASSERT_EQ(k.Size(), 4u);
    const uint8_t expect[] = {'A', 0, 'b', 0};
    EXPECT_EQ(std::memcmp(k.Data(), expect, 4), 0);
    EXPECT_EQ(k.Hash(), NCrc32(expect, 4));
    EXPECT_EQ(k.ToWide(), L"Ab");
    EXPECT_EQ(NHTKey().Size(), 0u);
    EXPECT_EQ(NHTKey(L""), NHTKey());
}

TEST(NHTKey, InlineAndHeapKeysCompareAndCopy)
{
    // 5 code units = 10 bytes (inline), 6 = 12 bytes (heap).
    for (const wchar_t* text : {L"abcde", L"abcdef", L"a much longer member name"}) {
        const NHTKey k(text);
        NHTKey copy(k);
        EXPECT_EQ(copy, k);
        EXPECT_NE(copy.Data(), k.Data());
        NHTKey moved(std::move(copy));
        EXPECT_EQ(moved, k);
        EXPECT_EQ(copy.Size(), 0u);
        NHTKey assigned;
        assigned = moved;
        assigned = assigned;  // self-assignment keeps the key
        EXPECT_EQ(assigned.ToWide(), text);
    }
    EXPECT_NE(NHTKey(L"Name"), NHTKey(L"name"));  // case-sensitive
    EXPECT_NE(NHTKey(L"abcdef"), NHTKey(L"abcdeg"));
    // Equal hash alone is not equality: CRC-32 of these two differs only by data, but a
    // key with a different length never matches.
    EXPECT_NE(NHTKey(L"a"), NHTKey(std::wstring(L"a\0", 2)));
}

TEST(TNSegArrOf, ElementsLandInTheirSegmentsAndSurviveGrowth)
{
    TNSegArrOf<std::wstring, 2> a;  // segments of 4
    for (int i = 0; i < 11; ++i)
        ASSERT_TRUE(a.Append(std::to_wstring(i)));
    ASSERT_EQ(a.Count(), 11u);
    const std::wstring* fifth = a.At(5);
    for (int i = 11; i < 100; ++i)
        ASSERT_TRUE(a.Append(std::to_wstring(i)));
    EXPECT_EQ(a.At(5), fifth);  // past the first segment nothing moves
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(a[i], std::to_wstring(i));
    EXPECT_EQ(a.At(100), nullptr);
}

TEST(TNSegArrOf, InsertRemoveAcrossSegmentBoundaries)
{
    TNSegArrOf<int, 3> a;  // segments of 8
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(a.Append(i));
    ASSERT_TRUE(a.Insert(0, -1));
    ASSERT_TRUE(a.Insert(21, 99));
    ASSERT_FALSE(a.Insert(23, 5));
    EXPECT_EQ(a[0], -1);
    EXPECT_EQ(a[8], 7);
    EXPECT_EQ(a[21], 99);
    EXPECT_EQ(a.RemoveRange(1, 10), 10u);
    ASSERT_EQ(a.Count(), 12u);
    EXPECT_EQ(a[1], 10);
    EXPECT_EQ(a[11], 99);
    EXPECT_EQ(a.RemoveRange(5, 1000), 7u);
    EXPECT_EQ(a.Count(), 5u);
    EXPECT_EQ(a.RemoveRange(5, 1), 0u);
    ASSERT_TRUE(a.Resize(30));
    EXPECT_EQ(a[29], 0);
    TNSegArrOf<int, 3> copy(a);
    a.Clear();
    EXPECT_EQ(copy.Count(), 30u);
    EXPECT_EQ(copy[4], 13);
    EXPECT_FALSE(a.Resize(TNSegArrOf<int, 3>::kMaxCount + 1));
}

TEST(TNSegArrOf, ShrinkingReleasesElements)
{
    auto p = std::make_shared<int>(1);
    TNSegArrOf<std::shared_ptr<int>, 2> a;
    for (int i = 0; i < 10; ++i)
        a.Append(p);
    EXPECT_EQ(p.use_count(), 11);
    a.RemoveRange(2, 5);
    EXPECT_EQ(p.use_count(), 6);
    a.Resize(1);
    EXPECT_EQ(p.use_count(), 2);
}

TEST(TNHashTabOf, InsertionOrderReplaceRemove)
{
    TNHashTabOf<int> t;
    // Enough entries to rehash several times.
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(t.Set(NHTKey(L"k" + std::to_wstring(i)), i));
    ASSERT_TRUE(t.Set(NHTKey(L"k5"), 55));  // replace keeps its place
    for (int i = 0; i < 1000; i += 2)
        ASSERT_TRUE(t.Remove(NHTKey(L"k" + std::to_wstring(i))));
    EXPECT_FALSE(t.Remove(NHTKey(L"k0")));
    ASSERT_EQ(t.Count(), 500u);
    ASSERT_NE(t.Find(NHTKey(L"k5")), nullptr);
    EXPECT_EQ(*t.Find(NHTKey(L"k5")), 55);
    EXPECT_EQ(t.Find(NHTKey(L"k4")), nullptr);
    std::vector<int> order;
    t.ForEach([&](const NHTKey&, int v) { order.push_back(v); });
    ASSERT_EQ(order.size(), 500u);
    EXPECT_EQ(order[0], 1);
    EXPECT_EQ(order[2], 55);
    EXPECT_EQ(order[499], 999);
    // Re-added after removal: goes to the end.
    ASSERT_TRUE(t.Set(NHTKey(L"k0"), -7));
    int last = 0;
    for (auto c = t.First(); c; c = t.Next(c))
        last = c.Value();
    EXPECT_EQ(last, -7);
    int taken = 0;
    ASSERT_TRUE(t.Remove(NHTKey(L"k999"), &taken));
    EXPECT_EQ(taken, 999);

    TNHashTabOf<int> copy(t);
    t.Clear();
    EXPECT_EQ(t.Count(), 0u);
    EXPECT_EQ(t.Find(NHTKey(L"k1")), nullptr);
    EXPECT_EQ(copy.Count(), 500u);
    EXPECT_EQ(copy.First().Value(), 1);
}

TEST(TNHashTabOf, KeysThatDifferOnlyInCase)
{
    TNHashTabOf<std::wstring> t;
    ASSERT_TRUE(t.Set(NHTKey(L"Name"), L"upper"));
    ASSERT_TRUE(t.Set(NHTKey(L"name"), L"lower"));
    EXPECT_EQ(t.Count(), 2u);
    EXPECT_EQ(*t.Find(NHTKey(L"Name")), L"upper");
}

}  // namespace
