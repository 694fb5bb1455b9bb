#include "config/win32/NRegKey.h"

#include <gtest/gtest.h>

#include "config/NPSStore.h"
#include "config/RegText.h"
#include "config/win32/NPSRegistry.h"

namespace {

const wchar_t* const kBase = L"HKCU\\SOFTWARE\\LumbraConfigTest";

class NRegKeyTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        NRegKey root;
        if (root.Open(L"HKCU\\SOFTWARE", nreg::kKeyReadWrite)) root.DeleteKey(L"LumbraConfigTest");
    }
};

TEST_F(NRegKeyTest, RootNamesAndBadPaths)
{
    NRegKey a, b;
    EXPECT_TRUE(a.Open(L"HKLM\\Software", KEY_READ));
    EXPECT_TRUE(b.Open(L"hklm\\software", KEY_READ));
    EXPECT_TRUE(b.Open(L"HKEY_CURRENT_USER", KEY_READ));
    NRegKey c;
    EXPECT_FALSE(c.Open(L"HKXX\\Software", KEY_READ));
    EXPECT_EQ(c.LastError(), 87u);
    EXPECT_FALSE(c.Open(L"", KEY_READ));
    EXPECT_EQ(c.LastError(), 87u);
    EXPECT_FALSE(c.IsOpen());
}

TEST_F(NRegKeyTest, CreatesComponentsAndDeletesTrees)
{
    NRegKey k;
    ASSERT_TRUE(k.Open(std::wstring(kBase) + L"\\A\\B", nreg::kKeyReadWrite));
    EXPECT_TRUE(k.Created());
    const uint32_t one = 1;
    ASSERT_TRUE(k.SetValue(L"V", REG_DWORD, &one, 4));
    ASSERT_TRUE(k.Open(std::wstring(kBase) + L"\\A\\B", nreg::kKeyReadWrite));
    EXPECT_FALSE(k.Created());
    NRegKey base;
    ASSERT_TRUE(base.Open(kBase, nreg::kKeyReadWrite));
    NSTRList subs;
    ASSERT_TRUE(base.EnumSubKeys(subs));
    EXPECT_EQ(subs, NSTRList{L"A"});
    k.Close();
    ASSERT_TRUE(base.DeleteKey(L"A"));
    NRegKey gone;
    EXPECT_FALSE(gone.Open(std::wstring(kBase) + L"\\A", KEY_READ));
    EXPECT_EQ(gone.LastError(), static_cast<uint32_t>(ERROR_FILE_NOT_FOUND));
    NSTRList none;
    EXPECT_FALSE(gone.EnumValues(none));
    EXPECT_EQ(gone.LastError(), 6u);
}

TEST_F(NRegKeyTest, OversizedStringIsReadWhole)
{
    NRegKey k;
    ASSERT_TRUE(k.Open(kBase, nreg::kKeyReadWrite));
    const std::wstring big(100000, L'x');
    const auto bytes = NEncodeRegSz(big);
    ASSERT_TRUE(k.SetValue(L"Big", REG_SZ, bytes.data(), static_cast<uint32_t>(bytes.size())));
    NRegKey::Value v;
    ASSERT_TRUE(k.QueryValue(L"Big", v));
    EXPECT_EQ(v.Type(), static_cast<uint32_t>(REG_SZ));
    EXPECT_EQ(v.Size(), bytes.size());
    EXPECT_EQ(NDecodeRegSz(v.Data(), v.Size()), big);
    ASSERT_TRUE(k.SetValue(L"Empty", REG_BINARY, nullptr, 0));
    ASSERT_TRUE(k.QueryValue(L"Empty", v));
    EXPECT_EQ(v.Size(), 0u);
    EXPECT_EQ(v.Data(), nullptr);
    EXPECT_FALSE(k.QueryValue(L"Missing", v));
}

TEST_F(NRegKeyTest, StoreRoundTripAndTypeRepairThroughTheRegistry)
{
    {
        NRegKey k;
        ASSERT_TRUE(k.Open(kBase, nreg::kKeyReadWrite));
        const uint8_t be[4] = {0, 0, 0, 1};
        ASSERT_TRUE(k.SetValue(L"Number", REG_DWORD_BIG_ENDIAN, be, 4));
        const auto sz = NEncodeRegSz(L"5000");
        ASSERT_TRUE(k.SetValue(L"Depth", REG_SZ, sz.data(), static_cast<uint32_t>(sz.size())));
    }
    TNAtom32<unsigned int> number{7}, depth{5000};
    std::wstring text{L"t"};
    NPSStore store(L"T");
    store.SetPath(kBase);
    store.AddUInt32(L"Number", &number);
    store.AddUInt32(L"Depth", &depth);
    store.AddString(L"Text", &text);
    ASSERT_TRUE(NPSLoadAll(store));
    EXPECT_EQ(number.Get(), 1u);
    EXPECT_EQ(depth.Get(), 5000u);
    text = L"changed";
    ASSERT_TRUE(NPSSaveAll(store, false));
    NRegKey k;
    ASSERT_TRUE(k.Open(kBase, KEY_READ));
    NRegKey::Value v;
    ASSERT_TRUE(k.QueryValue(L"Depth", v));
    EXPECT_EQ(v.Type(), static_cast<uint32_t>(REG_DWORD)) << "the mistyped value is replaced";
    ASSERT_TRUE(k.QueryValue(L"Text", v));
    EXPECT_EQ(NDecodeRegSz(v.Data(), v.Size()), L"changed");
    ASSERT_TRUE(k.QueryValue(L"Number", v));
    EXPECT_EQ(v.Type(), static_cast<uint32_t>(REG_DWORD_BIG_ENDIAN)) << "unchanged and loaded: not rewritten";
}

}  // namespace

#include "config/win32/LMNewKeyName.h"

namespace {
TEST(LMNewKeyName, LowerCaseUuidInBraces)
{
    const std::wstring a = LMNewConsoleKeyName(), b = LMNewConsoleKeyName();
    ASSERT_EQ(a.size(), 38u);
    EXPECT_EQ(a.front(), L'{');
    EXPECT_EQ(a.back(), L'}');
    EXPECT_EQ(a[9], L'-');
    for (wchar_t c : a) EXPECT_FALSE(c >= L'A' && c <= L'F');
    EXPECT_NE(a, b);
}
}  // namespace
