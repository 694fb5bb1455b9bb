#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(LastError, IsPerThread)
{
    std::atomic<int> step{0};
    uint32_t seenByOther = 1;
    std::thread other([&] {
        seenByOther = NGetLastError();
        NSetLastError(nerr::kTimeout);
        step = 1;
        while (step != 2) std::this_thread::yield();
    });
    while (step != 1) std::this_thread::yield();
    // Set and read with no library call between: starting, yielding to and
    // joining threads may themselves change the last error.
    NSetLastError(nerr::kBusy);
    uint32_t seenHere = NGetLastError();
    step = 2;
    other.join();
    EXPECT_NE(seenByOther, nerr::kTimeout);
    EXPECT_EQ(seenHere, nerr::kBusy);
}

TEST(LastError, FailSetsCodeAndReturnsFalse)
{
    EXPECT_FALSE(NFail(nerr::kInvalidToken));
    EXPECT_EQ(NGetLastError(), 315u);
}
