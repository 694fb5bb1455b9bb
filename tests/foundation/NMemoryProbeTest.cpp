// Fault-free reads: readable, unreadable and partly readable ranges, through
// the kernel read and through the pipe fallback, and the execute test.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "foundation/NMemoryProbe.h"

#if !defined(_WIN32)
#include <sys/mman.h>
#include <unistd.h>

namespace {
using ReadFn = bool (*)(const void*, void*, size_t);

// Three pages: readable, inaccessible, readable.
class TestMapping {
public:
    TestMapping()
    {
        m_page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
        m_base = static_cast<char*>(mmap(nullptr, 3 * m_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        for (size_t i = 0; i < 3 * m_page; ++i)
            m_base[i] = static_cast<char>(i * 7);
        mprotect(m_base + m_page, m_page, PROT_NONE);
    }
    ~TestMapping() { munmap(m_base, 3 * m_page); }
    char* Base() const { return m_base; }
    size_t Page() const { return m_page; }

private:
    char* m_base;
    size_t m_page;
};

void ExpectProbe(ReadFn read)
{
    TestMapping map;
    std::vector<char> buffer(3 * map.Page());
    // The whole first page, and a range that ends just before the hole.
    ASSERT_TRUE(read(map.Base(), buffer.data(), map.Page()));
    EXPECT_EQ(0, std::memcmp(map.Base(), buffer.data(), map.Page()));
    EXPECT_TRUE(read(map.Base() + map.Page() - 3, buffer.data(), 3));
    // Anything that touches the hole.
    EXPECT_FALSE(read(map.Base() + map.Page() - 3, buffer.data(), 4));
    EXPECT_FALSE(read(map.Base() + map.Page(), buffer.data(), 1));
    EXPECT_FALSE(read(map.Base(), buffer.data(), 3 * map.Page()));
    // After a failure the next read is clean (no left-over bytes).
    ASSERT_TRUE(read(map.Base() + 2 * map.Page(), buffer.data(), 100));
    EXPECT_EQ(0, std::memcmp(map.Base() + 2 * map.Page(), buffer.data(), 100));
    EXPECT_FALSE(read(reinterpret_cast<const void*>(8), buffer.data(), 8));
}
}  // namespace

TEST(NMemoryProbe, KernelReadRefusesUnreadableBytes) { ExpectProbe(&NTryReadMemory); }

TEST(NMemoryProbe, PipeFallbackRefusesUnreadableBytes) { ExpectProbe(&nmemprobe_detail::ReadThroughPipe); }
#endif

TEST(NMemoryProbe, ExecuteTestTellsCodeFromData)
{
    static const int data = 5;
    int local = 0;
    EXPECT_TRUE(NIsExecutableAddress(reinterpret_cast<const void*>(&NIsExecutableAddress)));
    EXPECT_FALSE(NIsExecutableAddress(&data));
    EXPECT_FALSE(NIsExecutableAddress(&local));
    EXPECT_FALSE(NIsExecutableAddress(nullptr));
    EXPECT_FALSE(NIsExecutableAddress(reinterpret_cast<const void*>(16)));
    char byte = 0;
    EXPECT_TRUE(NTryReadMemory(&data, &byte, 0));
    EXPECT_FALSE(NTryReadMemory(nullptr, &byte, 1));
}
