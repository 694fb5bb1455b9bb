// One tree used from several threads at once. Run under ASan/UBSan natively, so a
// reference-count or locking fault shows as a use-after-free or a leak.
#include "foundation/Njv.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 2000;

TEST(JsonConcurrency, OneArrayFromSeveralThreads)
{
    Njv shared = Njv::MakeArray();
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kRounds; ++i) {
                Njv item = Njv::MakeObject();
                item.SetMember(L"t", Njv::MakeNumber(t));
                item.SetMember(L"i", Njv::MakeNumber(i));
                if (!shared.Append(item))
                    failed = true;
                Njv got;
                if (shared.GetAt(-1, got) && !got.IsObject())
                    failed = true;
                // Replace, write and drop elements while others append.
                if (i % 7 == 0)
                    shared.SetAt(i / 7, Njv::MakeString(L"replaced"));
                if (i % 50 == 0) {
                    std::wstring text;
                    Njv back;
                    if (!shared.Write(text, i % 100 == 0) || !back.ParseWhole(text))
                        failed = true;
                }
                if (i % 500 == 499)
                    shared.RemoveRange(0, 10);
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_FALSE(failed);
    EXPECT_EQ(shared.Count(), static_cast<size_t>(kThreads * kRounds - kThreads * (kRounds / 500) * 10));
}

TEST(JsonConcurrency, HolderReassignedWhileOthersRead)
{
    // Readers copy the holder while a writer keeps replacing (and so releasing) its
    // element: a reader must never take a reference to an element already destroyed.
    Njv slot = Njv::MakeString(L"start");
    std::atomic<bool> stop{false};
    std::atomic<bool> failed{false};
    std::vector<std::thread> readers;
    for (int t = 0; t < kThreads - 1; ++t) {
        readers.emplace_back([&] {
            while (!stop) {
                Njv copy = slot;
                std::wstring s;
                if (!copy.GetString(s) || s.empty())
                    failed = true;
            }
        });
    }
    for (int i = 0; i < 20000; ++i)
        slot = Njv::MakeString(L"value " + std::to_wstring(i));
    stop = true;
    for (auto& th : readers)
        th.join();
    EXPECT_FALSE(failed);
}

TEST(JsonConcurrency, ObjectsHoldingEachOtherDoNotDeadlock)
{
    // Writing a while b is changed, and b while a is changed: the writer copies
    // members out under the lock, so there is no lock order to get wrong.
    Njv a = Njv::MakeObject();
    Njv b = Njv::MakeObject();
    a.SetMember(L"b", b);
    b.SetMember(L"a", a);
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&, t] {
            Njv mine = t == 0 ? a : b;
            Njv other = t == 0 ? b : a;
            for (int i = 0; i < kRounds; ++i) {
                std::wstring text;
                mine.Write(text, false);
                other.SetMember(L"n" + std::to_wstring(i % 10), Njv::MakeNumber(i));
                mine.Equals(other);
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(b.Count(), 11u);
    b.RemoveMember(L"a");  // break the cycle, or both leak
}

}  // namespace
