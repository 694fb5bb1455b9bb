// The process-wide random source: it fills buffers, differs between draws,
// survives re-seeding and concurrent use.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "foundation/win32/NRandomCrypto.h"

TEST(NRandomCrypto, FillsBuffersWithFreshBytes)
{
    NRandomCrypto& random = NRandomCrypto::Instance();
    EXPECT_EQ(&random, &NRandomCrypto::Instance());
    std::array<unsigned char, 64> a{}, b{};
    ASSERT_TRUE(random.GetBytes(a.data(), a.size()));
    ASSERT_TRUE(random.GetBytes(b.data(), b.size()));
    EXPECT_NE(0, std::memcmp(a.data(), b.data(), a.size()));
    EXPECT_TRUE(random.GetBytes(nullptr, 0));
    EXPECT_FALSE(random.GetBytes(nullptr, 4));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), ::GetLastError());
}

TEST(NRandomCrypto, EveryByteValueOccurs)
{
    std::vector<unsigned char> bytes(64 * 1024);
    ASSERT_TRUE(NRandomCrypto::Instance().GetBytes(bytes.data(), bytes.size()));
    std::array<int, 256> counts{};
    for (unsigned char c : bytes)
        ++counts[c];
    for (int v = 0; v < 256; ++v)
        EXPECT_GT(counts[v], 100) << v;  // about 256 expected; 100 is far outside chance
}

TEST(NRandomCrypto, ReseedAndConcurrentDraws)
{
    NRandomCrypto& random = NRandomCrypto::Instance();
    ASSERT_TRUE(random.Reseed());
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                uint32_t v = 0;
                if (!random.GetBytes(&v, sizeof v))
                    ++failures;
                if (i == 100 && !random.Reseed())
                    ++failures;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(0, failures.load());
    // An independent object works as well.
    NRandomCrypto own;
    EXPECT_NE(own.NextUInt32() | own.NextUInt32(), 0u);
}
