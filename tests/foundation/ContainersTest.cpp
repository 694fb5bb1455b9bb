// Ownership forms of the containers: the owning forms delete exactly what
// they hold, the non-owning forms never do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "foundation/Containers.h"

namespace {
struct TestCounted {
    static int alive;
    int value;
    explicit TestCounted(int v) : value(v) { ++alive; }
    ~TestCounted() { --alive; }
};
int TestCounted::alive = 0;
}  // namespace

TEST(Containers, OwningFormsDeleteTheirElements)
{
    TestCounted::alive = 0;
    {
        TNArrOfADPtrTo<TestCounted> array;
        array.push_back(std::make_unique<TestCounted>(1));
        array.push_back(std::make_unique<TestCounted>(2));
        TNListOfADPtrTo<TestCounted> list;
        list.push_back(std::make_unique<TestCounted>(3));
        EXPECT_EQ(3, TestCounted::alive);
        array.erase(array.begin());
        EXPECT_EQ(2, TestCounted::alive);
        TNHashTabOfADPtrTo<TestCounted> table;
        EXPECT_TRUE(table.Set(NHTKey(L"four"), std::make_unique<TestCounted>(4)));
        EXPECT_TRUE(table.Set(NHTKey(L"four"), std::make_unique<TestCounted>(44)));  // replaces, deletes 4
        EXPECT_EQ(3, TestCounted::alive);
        ASSERT_NE(nullptr, table.Find(NHTKey(L"four")));
        EXPECT_EQ(44, (*table.Find(NHTKey(L"four")))->value);
    }
    EXPECT_EQ(0, TestCounted::alive);
}

TEST(Containers, NonOwningFormsLeaveElementsAlone)
{
    TestCounted::alive = 0;
    TestCounted a(1), b(2);
    {
        TNArrOfPtrTo<TestCounted> array{&a, &b};
        TNListOfPtrTo<TestCounted> list{&b};
        TNHashTabOfPtrTo<TestCounted> table;
        EXPECT_TRUE(table.Set(NHTKey(L"a"), &a));
        EXPECT_EQ(&a, *table.Find(NHTKey(L"a")));
    }
    EXPECT_EQ(2, TestCounted::alive);
}

TEST(Containers, SinglePointersDeleteOrFree)
{
    TestCounted::alive = 0;
    {
        TNAutoDelPtrTo<TestCounted> one(new TestCounted(5));
        TNAutoFreePtrTo<char> raw(static_cast<char*>(std::malloc(16)));  // ASan reports a leak or a mismatch
        ASSERT_NE(nullptr, raw.get());
        std::memset(raw.get(), 0, 16);
        EXPECT_EQ(1, TestCounted::alive);
    }
    EXPECT_EQ(0, TestCounted::alive);
}
