// The lock object: uninitialised locks are inert, initialised ones exclude
// and nest, and stray releases do no harm.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "foundation/NLock.h"

TEST(NLock, NeverInitialisedDoesNothing)
{
    NLock lock;
    EXPECT_FALSE(lock.IsInitialized());
    lock.Lock();
    EXPECT_FALSE(lock.IsHeldByCaller());
    lock.Unlock();
    lock.Unlock();
    EXPECT_TRUE(lock.TryLock());
    {
        NLockGuard guard(lock);
    }
    NLockGuard nullGuard(static_cast<NLock*>(nullptr));
}

TEST(NLock, NestsOnOneThreadAndExcludesOthers)
{
    NLock lock(100);
    ASSERT_TRUE(lock.IsInitialized());
    EXPECT_EQ(100u, lock.SpinCount());
    lock.Init(5);
    EXPECT_EQ(100u, lock.SpinCount());
    lock.Lock();
    lock.Lock();
    EXPECT_TRUE(lock.IsHeldByCaller());
    bool otherGot = true;
    std::thread([&] { otherGot = lock.TryLock(); }).join();
    EXPECT_FALSE(otherGot);
    lock.Unlock();
    std::thread([&] { otherGot = lock.TryLock(); }).join();
    EXPECT_FALSE(otherGot);  // still held once
    lock.Unlock();
    EXPECT_FALSE(lock.IsHeldByCaller());
    std::thread([&] {
        otherGot = lock.TryLock();
        if (otherGot)
            lock.Unlock();
    }).join();
    EXPECT_TRUE(otherGot);
}

TEST(NLock, ReleaseByNonHolderIsIgnored)
{
    NLock lock(0);
    lock.Lock();
    std::thread([&] { lock.Unlock(); }).join();
    EXPECT_TRUE(lock.IsHeldByCaller());
    lock.Unlock();
    lock.Unlock();  // one too many
    EXPECT_TRUE(lock.TryLock());
    lock.Unlock();
}

TEST(NLock, GuardsACounterAcrossThreads)
{
    NLock lock;
    lock.Init();
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                NLockGuard guard(lock);
                NLockGuard nested(&lock);
                ++counter;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(80000, counter);
}
