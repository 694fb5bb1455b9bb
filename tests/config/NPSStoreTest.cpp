#include "config/NPSStore.h"

#include <gtest/gtest.h>

#include "config/RegText.h"
#include "config/TNPSEntry.h"
#include "foundation/ErrorCodes.h"
#include "support/MemRegKey.h"

namespace {

const wchar_t* const kPath = L"HKCU\\SOFTWARE\\Vexal\\Lumbra\\Setup";

struct SVars {
    std::wstring text{L"abc"};
    TNAtom32<int> signedNumber{-5};
    TNAtom32<unsigned int> number{30};
    TNAtom8<bool> flag{true};
    NSTRList list{L"one", L"two"};
};

class NPSStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store.SetPath(kPath);
        store.SetLock(&lock);
        lock.Init();
        ASSERT_TRUE(store.AddString(L"Text", &v.text));
        ASSERT_TRUE(store.AddInt32(L"Signed", &v.signedNumber));
        ASSERT_TRUE(store.AddUInt32(L"Number", &v.number));
        ASSERT_TRUE(store.AddBool(L"Flag", &v.flag));
        ASSERT_TRUE(store.AddStringList(L"List", &v.list));
    }
    NLock lock;
    SVars v;
    NPSStore store{L"T"};
    MemRegistry reg;
    MemRegKey key{reg};
};

TEST_F(NPSStoreTest, RegistrationIsNotAChangeAndNamesAreUnique)
{
    EXPECT_FALSE(store.IsModified());
    TNAtom32<unsigned int> other{1};
    EXPECT_FALSE(store.AddUInt32(L"Number", &other));
    EXPECT_EQ(store.Count(), 5u);
    EXPECT_TRUE(store.AddUInt32(L"number", &other)) << "names compare case-sensitively";
    EXPECT_EQ(static_cast<NPSUInt32Entry*>(store.Find(L"Number"))->Variable(), &v.number);
    EXPECT_EQ(store.Find(L"Missing"), nullptr);
}

TEST_F(NPSStoreTest, UnforcedSaveWithNothingChangedOpensNothing)
{
    EXPECT_TRUE(store.SaveAll(key, false));
    EXPECT_EQ(reg.opens, 0);
    v.number = 31;
    EXPECT_TRUE(store.SaveAll(key, false));
    // Once the save proceeds, entries never written go too.
    EXPECT_EQ(reg.writes, 5);
    EXPECT_EQ(reg.Find(kPath, L"Text")->bytes, NEncodeRegSz(L"abc"));
    EXPECT_FALSE(store.IsModified());
    const int opens = reg.opens;
    EXPECT_TRUE(store.SaveAll(key, false));
    EXPECT_EQ(reg.opens, opens);
}

TEST_F(NPSStoreTest, LoadThenSaveWritesNothing)
{
    ASSERT_TRUE(store.SaveAll(key, true));
    SVars w;
    NPSStore other(L"O");
    other.SetPath(kPath);
    other.AddString(L"Text", &w.text);
    other.AddInt32(L"Signed", &w.signedNumber);
    other.AddUInt32(L"Number", &w.number);
    other.AddBool(L"Flag", &w.flag);
    other.AddStringList(L"List", &w.list);
    w.text = L"x";
    w.signedNumber = 0;
    w.number = 0;
    w.flag = false;
    w.list.clear();
    ASSERT_TRUE(other.LoadAll(key));
    EXPECT_EQ(w.text, L"abc");
    EXPECT_EQ(w.signedNumber.Get(), -5);
    EXPECT_EQ(w.number.Get(), 30u);
    EXPECT_TRUE(w.flag.Get());
    EXPECT_EQ(w.list, (NSTRList{L"one", L"two"}));
    const int opens = reg.opens;
    EXPECT_TRUE(other.SaveAll(key, false));
    EXPECT_EQ(reg.opens, opens);
}

TEST_F(NPSStoreTest, MissingKeyIsNotAFailureAndEmptyPathIs)
{
    EXPECT_TRUE(store.LoadAll(key));
    EXPECT_EQ(v.text, L"abc");
    NPSStore empty(L"E");
    EXPECT_FALSE(empty.LoadAll(key));
    EXPECT_FALSE(empty.SaveAll(key, true));
}

TEST_F(NPSStoreTest, BigEndianDwordLoadsIntoNumbersAndBooleans)
{
    reg.Put(kPath, L"Number", nreg::kDwordBigEndian, {0, 0, 0, 1});
    reg.Put(kPath, L"Flag", nreg::kDwordBigEndian, {0, 0, 0, 1});
    v.flag = false;
    ASSERT_TRUE(store.LoadAll(key));
    EXPECT_EQ(v.number.Get(), 1u);
    EXPECT_TRUE(v.flag.Get());
    EXPECT_TRUE(store.Find(L"Number")->InRegistry());
}

TEST_F(NPSStoreTest, MistypedValuesKeepTheDefaultAndAreRewrittenAsDword)
{
    reg.PutString(kPath, L"Number", L"77");
    reg.Put(kPath, L"Signed", nreg::kDword, {1, 0});
    reg.Put(kPath, L"Flag", nreg::kBinary, {1, 0, 0, 0});
    reg.PutString(kPath, L"Text", L"%LOCALAPPDATA%\\Lumbra", nreg::kExpandSz);
    reg.PutString(kPath, L"List", L"not a list");
    ASSERT_TRUE(store.LoadAll(key));
    EXPECT_EQ(v.number.Get(), 30u);
    EXPECT_EQ(v.signedNumber.Get(), -5);
    EXPECT_TRUE(v.flag.Get());
    EXPECT_EQ(v.list.size(), 2u);
    EXPECT_EQ(v.text, L"%LOCALAPPDATA%\\Lumbra") << "expandable text is taken as stored";
    EXPECT_FALSE(store.Find(L"Number")->InRegistry());
    EXPECT_FALSE(store.IsModified()) << "a failed load is not a change";

    v.text = L"changed";
    ASSERT_TRUE(store.SaveAll(key, false));
    EXPECT_EQ(reg.Find(kPath, L"Number")->type, nreg::kDword);
    EXPECT_EQ(reg.Find(kPath, L"Number")->bytes, (std::vector<uint8_t>{30, 0, 0, 0}));
    EXPECT_EQ(reg.Find(kPath, L"Flag")->bytes, (std::vector<uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(reg.Find(kPath, L"List")->type, nreg::kMultiSz);
    EXPECT_EQ(reg.Find(kPath, L"Text")->type, nreg::kSz);
}

TEST_F(NPSStoreTest, FailedSaveStopsAtTheFailingEntry)
{
    reg.failWritesAfter = 2;
    reg.writeError = nerr::kAccessDenied;
    EXPECT_FALSE(store.SaveAll(key, true));
    EXPECT_EQ(key.LastError(), nerr::kAccessDenied);
    EXPECT_TRUE(store.Find(L"Text")->InRegistry());
    EXPECT_TRUE(store.Find(L"Signed")->InRegistry());
    EXPECT_FALSE(store.Find(L"Number")->InRegistry());
    EXPECT_EQ(reg.Find(kPath, L"Flag"), nullptr);
}

TEST_F(NPSStoreTest, SetModifiedForcesOrSkipsTheNextWrite)
{
    ASSERT_TRUE(store.SaveAll(key, true));
    NPSEntry* e = store.Find(L"Number");
    e->SetModified(true);
    EXPECT_TRUE(store.IsModified());
    const int writes = reg.writes;
    ASSERT_TRUE(store.SaveAll(key, false));
    EXPECT_EQ(reg.writes, writes + 1);
    v.number = 99;
    e->SetModified(false);
    EXPECT_FALSE(store.IsModified());
}

TEST_F(NPSStoreTest, SaveWithoutOpenKeyFailsWithInvalidHandle)
{
    NPSEntry* e = store.Find(L"Text");
    EXPECT_FALSE(e->Save(key, true));
    EXPECT_EQ(key.LastError(), nerr::kInvalidHandle);
}

TEST(NPSEntryTest, EncodingsAndDescriptions)
{
    std::wstring empty;
    NPSStringEntry s(L"S", &empty);
    EXPECT_EQ(s.Describe(), L"\"\"");
    EXPECT_EQ(NEncodeRegSz(L"").size(), 2u) << "an empty string is its terminating zero";
    TNAtom32<unsigned int> n{1};
    EXPECT_EQ(NPSUInt32Entry(L"N", &n).Describe(), L"TNAtom32<unsigned int> of 4 bytes");
    TNAtom8<bool> b{true};
    EXPECT_EQ(NPSBoolEntry(L"B", &b).Describe(), L"TNAtom8<bool> of 1 bytes");
    NSTRList l{L"a", L"b", L"c"};
    NPSStore st(L"");
    EXPECT_EQ(st.Name().substr(0, 2), L"0x");
    EXPECT_GE(st.Name().size(), 10u);
    NPSStringEntry nul(L"X", nullptr);
    EXPECT_EQ(nul.CurrentCrc(), 0u);
}

TEST(RegTextTest, StringsAndListsSurviveOddData)
{
    const uint8_t unterminated[] = {'h', 0, 'i', 0, 'x'};
    EXPECT_EQ(NDecodeRegSz(unterminated, sizeof unterminated), L"hi");
    EXPECT_EQ(NDecodeRegSz(nullptr, 0), L"");
    const NSTRList withEmpty{L"a", L"", L"b"};
    const auto bytes = NEncodeRegMultiSz(withEmpty);
    EXPECT_EQ(NDecodeRegMultiSz(bytes.data(), bytes.size()), withEmpty);
    const auto none = NEncodeRegMultiSz({});
    EXPECT_EQ(none.size(), 2u);
    EXPECT_TRUE(NDecodeRegMultiSz(none.data(), none.size()).empty());
    std::wstring big(70000, L'\x263A');
    const auto bb = NEncodeRegSz(big);
    EXPECT_EQ(NDecodeRegSz(bb.data(), bb.size()), big);
}

}  // namespace
