// The guarded is-a test on memory that the platform marks inaccessible,
// guarded or released: it must answer no, and leave a guard page guarded.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "foundation/NClassInfo.h"
#include "foundation/NMemoryProbe.h"

namespace {
class TestWidget : public NClassInfo {
    N_DECLARE_CLASS_INFO(TestWidget)
public:
    int value = 1;
};

// Two committed pages; the second one's protection is what the test sets.
class TestPages {
public:
    TestPages() { m_base = static_cast<char*>(::VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE)); }
    ~TestPages()
    {
        if (m_base != nullptr)
            ::VirtualFree(m_base, 0, MEM_RELEASE);
    }
    char* First() const { return m_base; }
    char* Second() const { return m_base + kPage; }
    bool Protect(char* page, DWORD protection) const
    {
        DWORD old = 0;
        return ::VirtualProtect(page, kPage, protection, &old) != FALSE;
    }
    void Release()
    {
        ::VirtualFree(m_base, 0, MEM_RELEASE);
        m_base = nullptr;
    }
    static constexpr size_t kPage = 4096;

private:
    char* m_base;
};

void PlaceWidget(char* at)
{
    TestWidget widget;
    std::memcpy(at, static_cast<const void*>(&widget), sizeof widget);
}

DWORD ProtectionOf(const void* at)
{
    MEMORY_BASIC_INFORMATION info{};
    ::VirtualQuery(at, &info, sizeof info);
    return info.Protect;
}
}  // namespace

N_DEFINE_CLASS_INFO(TestWidget, NClassInfo)

TEST(NClassInfoWin32, InaccessiblePageIsNotAnObject)
{
    TestPages pages;
    ASSERT_NE(nullptr, pages.First());
    PlaceWidget(pages.Second());
    EXPECT_TRUE(NIsA(pages.Second(), TestWidget::ms_classDesc));
    ASSERT_TRUE(pages.Protect(pages.Second(), PAGE_NOACCESS));
    EXPECT_FALSE(NIsA(pages.Second(), TestWidget::ms_classDesc));
    // A header that starts on the readable page and ends on the other.
    EXPECT_FALSE(NIsA(pages.Second() - 4, NClassInfo::ms_classDesc));
    char byte = 0;
    EXPECT_TRUE(NTryReadMemory(pages.Second() - 1, &byte, 1));
    EXPECT_FALSE(NTryReadMemory(pages.Second() - 1, &byte, 2));
}

TEST(NClassInfoWin32, GuardPageIsNotAnObjectAndKeepsItsGuard)
{
    TestPages pages;
    ASSERT_NE(nullptr, pages.First());
    PlaceWidget(pages.Second());
    ASSERT_TRUE(pages.Protect(pages.Second(), PAGE_READWRITE | PAGE_GUARD));
    EXPECT_FALSE(NIsA(pages.Second(), TestWidget::ms_classDesc));
    EXPECT_FALSE(NIsA(pages.Second(), TestWidget::ms_classDesc));
    EXPECT_NE(0u, ProtectionOf(pages.Second()) & PAGE_GUARD);
}

TEST(NClassInfoWin32, ReleasedAndReservedMemoryIsNotAnObject)
{
    TestPages pages;
    ASSERT_NE(nullptr, pages.First());
    char* at = pages.First() + 128;
    PlaceWidget(at);
    EXPECT_TRUE(NIsA(at, TestWidget::ms_classDesc));
    pages.Release();
    EXPECT_FALSE(NIsA(at, TestWidget::ms_classDesc));

    void* reserved = ::VirtualAlloc(nullptr, 65536, MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(nullptr, reserved);
    EXPECT_FALSE(NIsA(reserved, NClassInfo::ms_classDesc));
    ::VirtualFree(reserved, 0, MEM_RELEASE);
}

TEST(NClassInfoWin32, TableIntoNonExecutableMemoryIsRefused)
{
    TestPages pages;
    ASSERT_NE(nullptr, pages.First());
    // A header whose table is readable data that holds a pointer to more data.
    const void* fakeFunction = pages.First() + 512;
    std::memcpy(pages.First() + 256, &fakeFunction, sizeof fakeFunction);
    const void* table = pages.First() + 256;
    std::memcpy(pages.First(), &table, sizeof table);
    const uint32_t marker = NClassInfo::kMarker;
    std::memcpy(pages.First() + sizeof(void*), &marker, sizeof marker);
    EXPECT_FALSE(NIsA(pages.First(), NClassInfo::ms_classDesc));
    // The table itself on an inaccessible page.
    const void* hiddenTable = pages.Second();
    std::memcpy(pages.First(), &hiddenTable, sizeof hiddenTable);
    ASSERT_TRUE(pages.Protect(pages.Second(), PAGE_NOACCESS));
    EXPECT_FALSE(NIsA(pages.First(), NClassInfo::ms_classDesc));
}
