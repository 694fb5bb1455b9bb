// Class identity: the is-a test on good objects, on foreign copies of a
// descriptor, and on pointers that must never be followed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "foundation/NClassInfo.h"
#include "foundation/NMemoryProbe.h"

#if !defined(_WIN32)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {
class TestAnimal : public NClassInfo {
    N_DECLARE_CLASS_INFO(TestAnimal)
public:
    int legs = 4;
};
class TestDog : public TestAnimal {
    N_DECLARE_CLASS_INFO(TestDog)
public:
    int barks = 0;
};
class TestStone : public NClassInfo {
    N_DECLARE_CLASS_INFO(TestStone)
};
}  // namespace

N_DEFINE_CLASS_INFO(TestAnimal, NClassInfo)
N_DEFINE_CLASS_INFO(TestDog, TestAnimal)
N_DEFINE_CLASS_INFO(TestStone, NClassInfo)

namespace {
// What a plug-in built from the same headers carries: its own descriptor
// objects with the same contents.
const NClassDesc kForeignBase = {NClassInfo::ms_classDesc.objectSize, "NClassInfo", nullptr};
const NClassDesc kForeignAnimal = {TestAnimal::ms_classDesc.objectSize, "TestAnimal", &kForeignBase};
const NClassDesc kForeignDog = {TestDog::ms_classDesc.objectSize, "TestDog", &kForeignAnimal};
const NClassDesc kWrongSizeDog = {TestDog::ms_classDesc.objectSize + 4, "TestDog", &kForeignAnimal};

// A page of memory that can be made unreadable, and given back at the end.
class TestPage {
public:
    TestPage()
    {
#if defined(_WIN32)
        m_size = 4096;
        m_memory = std::malloc(m_size);  // Win32 variants live in the win32 tests
#else
        m_size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        m_memory = mmap(nullptr, 2 * m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
#endif
    }
    ~TestPage()
    {
#if defined(_WIN32)
        std::free(m_memory);
#else
        munmap(m_memory, 2 * m_size);
#endif
    }
    char* Bytes() const { return static_cast<char*>(m_memory); }
    size_t Size() const { return m_size; }

private:
    void* m_memory = nullptr;
    size_t m_size = 0;
};
}  // namespace

TEST(NClassInfo, ObjectStartsWithTableThenMarker)
{
    TestDog dog;
    uint32_t marker = 0;
    std::memcpy(&marker, reinterpret_cast<const char*>(&dog) + sizeof(void*), sizeof marker);
    EXPECT_EQ(0xC1A551F0u, marker);
    EXPECT_EQ(&TestDog::ms_classDesc, &dog.ClassDesc());
    EXPECT_EQ(sizeof(TestDog), dog.ClassDesc().objectSize);
    EXPECT_STREQ("TestDog", dog.ClassDesc().className);
    EXPECT_EQ(&TestAnimal::ms_classDesc, dog.ClassDesc().base);
    EXPECT_EQ(nullptr, NClassInfo::ms_classDesc.base);
}

TEST(NClassInfo, IsAWalksTheChain)
{
    TestDog dog;
    TestAnimal animal;
    TestStone stone;
    EXPECT_TRUE(NIsA(&dog, TestDog::ms_classDesc));
    EXPECT_TRUE(NIsA(&dog, TestAnimal::ms_classDesc));
    EXPECT_TRUE(NIsA(&dog, NClassInfo::ms_classDesc));
    EXPECT_FALSE(NIsA(&animal, TestDog::ms_classDesc));
    EXPECT_TRUE(NIsA(&animal, TestAnimal::ms_classDesc));
    EXPECT_FALSE(NIsA(&stone, TestAnimal::ms_classDesc));
    EXPECT_TRUE(NIsA(&stone, NClassInfo::ms_classDesc));
}

TEST(NClassInfo, ForeignDescriptorsCompareByContent)
{
    TestDog dog;
    EXPECT_TRUE(NIsA(&dog, kForeignDog));
    EXPECT_TRUE(NIsA(&dog, kForeignAnimal));
    EXPECT_FALSE(NIsA(&dog, kWrongSizeDog));
    EXPECT_TRUE(NClassInfo::SameClass(TestDog::ms_classDesc, kForeignDog));
    EXPECT_FALSE(NClassInfo::SameClass(TestDog::ms_classDesc, kForeignAnimal));
    EXPECT_FALSE(NClassInfo::SameClass(kWrongSizeDog, kForeignDog));
    // Same name and size, different ancestry.
    const NClassDesc orphanDog = {TestDog::ms_classDesc.objectSize, "TestDog", &kForeignBase};
    EXPECT_FALSE(NIsA(&dog, orphanDog));
}

TEST(NClassInfo, NullAndNearNullAreNotObjects)
{
    EXPECT_TRUE(NIsBadObjectPtr(nullptr));
    EXPECT_TRUE(NIsBadObjectPtr(reinterpret_cast<const void*>(511)));
    EXPECT_FALSE(NIsBadObjectPtr(reinterpret_cast<const void*>(512)));
    EXPECT_FALSE(NIsA(nullptr, NClassInfo::ms_classDesc));
    EXPECT_FALSE(NIsA(reinterpret_cast<const void*>(8), NClassInfo::ms_classDesc));
    EXPECT_FALSE(NIsA(reinterpret_cast<const void*>(511), NClassInfo::ms_classDesc));
}

TEST(NClassInfo, GarbageIsNotAnObject)
{
    TestPage page;
    std::memset(page.Bytes(), 0xA5, page.Size());
    EXPECT_FALSE(NIsA(page.Bytes(), NClassInfo::ms_classDesc));
    // The marker alone is not enough: the table pointer must lead to code.
    const uint32_t marker = NClassInfo::kMarker;
    std::memcpy(page.Bytes() + sizeof(void*), &marker, sizeof marker);
    EXPECT_FALSE(NIsA(page.Bytes(), NClassInfo::ms_classDesc));  // table pointer 0xA5A5...
    const void* table = page.Bytes() + 64;  // readable, but data
    std::memcpy(page.Bytes(), &table, sizeof table);
    EXPECT_FALSE(NIsA(page.Bytes(), NClassInfo::ms_classDesc));
    const void* nearNull = reinterpret_cast<const void*>(16);
    std::memcpy(page.Bytes(), &nearNull, sizeof nearNull);
    EXPECT_FALSE(NIsA(page.Bytes(), NClassInfo::ms_classDesc));
    // An object's image copied elsewhere, then its marker broken.
    TestDog dog;
    std::memcpy(page.Bytes() + 256, static_cast<const void*>(&dog), sizeof dog);
    std::memset(page.Bytes() + 256 + sizeof(void*), 0, 4);
    EXPECT_FALSE(NIsA(page.Bytes() + 256, NClassInfo::ms_classDesc));
}

TEST(NClassInfo, DestroyedObjectLosesItsMarker)
{
    alignas(TestDog) unsigned char storage[sizeof(TestDog)];
    auto* dog = new (storage) TestDog;
    EXPECT_TRUE(NIsA(storage, TestDog::ms_classDesc));
    dog->~TestDog();
    EXPECT_FALSE(NIsA(storage, NClassInfo::ms_classDesc));
}

#if !defined(_WIN32)
TEST(NClassInfo, UnreadableMemoryIsNotAnObject)
{
    TestPage page;
    TestDog dog;
    // An object image placed right before an inaccessible page, then the page
    // holding it made inaccessible too.
    char* second = page.Bytes() + page.Size();
    ASSERT_EQ(0, mprotect(second, page.Size(), PROT_NONE));
    EXPECT_FALSE(NIsA(second, NClassInfo::ms_classDesc));
    EXPECT_FALSE(NIsA(second - 4, NClassInfo::ms_classDesc));  // header straddles the boundary
    char byte = 0;
    EXPECT_FALSE(NTryReadMemory(second, &byte, 1));
    EXPECT_TRUE(NTryReadMemory(second - 1, &byte, 1));
    EXPECT_FALSE(NTryReadMemory(second - 1, &byte, 2));

    std::memcpy(page.Bytes(), static_cast<const void*>(&dog), sizeof dog);
    EXPECT_TRUE(NIsA(page.Bytes(), TestDog::ms_classDesc));
    ASSERT_EQ(0, mprotect(page.Bytes(), page.Size(), PROT_NONE));
    EXPECT_FALSE(NIsA(page.Bytes(), TestDog::ms_classDesc));
}

TEST(NClassInfo, UnmappedMemoryIsNotAnObject)
{
    const size_t size = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(MAP_FAILED, memory);
    TestDog dog;
    std::memcpy(memory, static_cast<const void*>(&dog), sizeof dog);
    EXPECT_TRUE(NIsA(memory, TestDog::ms_classDesc));
    ASSERT_EQ(0, munmap(memory, size));
    EXPECT_FALSE(NIsA(memory, TestDog::ms_classDesc));
}
#endif

TEST(NClassInfo, BrokenDescriptorChainIsRejected)
{
    // An object whose descriptor is garbage: a class lying about its base.
    struct Liar : NClassInfo {
        const NClassDesc* reported;
        const NClassDesc& ClassDesc() const override { return *reported; }
    };
    TestPage page;
    Liar liar;
    // Base pointer into unreadable/near-null territory.
    const NClassDesc nearNullBase = {8, "Liar", reinterpret_cast<const NClassDesc*>(64)};
    liar.reported = &nearNullBase;
    EXPECT_FALSE(NIsA(&liar, NClassInfo::ms_classDesc));
    // A cycle.
    NClassDesc cycle = {8, "Liar", nullptr};
    cycle.base = &cycle;
    liar.reported = &cycle;
    EXPECT_FALSE(NIsA(&liar, NClassInfo::ms_classDesc));
    EXPECT_FALSE(NIsA(&liar, cycle));
    // A name with no terminator within the limit.
    std::memset(page.Bytes(), 'x', page.Size());
    const NClassDesc longName = {8, page.Bytes(), &NClassInfo::ms_classDesc};
    liar.reported = &longName;
    EXPECT_FALSE(NIsA(&liar, NClassInfo::ms_classDesc));
    // A sound chain is accepted.
    const NClassDesc good = {8, "Liar", &NClassInfo::ms_classDesc};
    liar.reported = &good;
    EXPECT_TRUE(NIsA(&liar, NClassInfo::ms_classDesc));
    EXPECT_TRUE(NIsA(&liar, good));
}
