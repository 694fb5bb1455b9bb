#include "config/LMGlobalPrefs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "config/RegText.h"
#include "tests/support/MemRegKey.h"

namespace {
// The in-memory registry, remembering the order of the names written.
class RecordingKey : public INRegKey {
public:
    explicit RecordingKey(MemRegistry& registry) : m_key(registry) {}

    bool failOpenForWrite = false;
    std::vector<std::wstring> writes;
    std::wstring openedPath;

    bool Open(std::wstring_view path, uint32_t access) override
    {
        openedPath = path;
        if (failOpenForWrite && (access & nreg::kKeyCreateSubKey) != 0) {
            m_key.SetLastError(nerr::kAccessDenied);
            return false;
        }
        return m_key.Open(path, access);
    }
    bool Close() override { return m_key.Close(); }
    bool IsOpen() const override { return m_key.IsOpen(); }
    bool Created() const override { return m_key.Created(); }
    bool QueryValue(std::wstring_view name, NRegValue& value) override { return m_key.QueryValue(name, value); }
    bool SetValue(std::wstring_view name, uint32_t type, const void* data, uint32_t size) override
    {
        writes.emplace_back(name);
        return m_key.SetValue(name, type, data, size);
    }
    uint32_t LastError() const override { return m_key.LastError(); }
    void SetLastError(uint32_t code) override { m_key.SetLastError(code); }

private:
    MemRegKey m_key;
};

constexpr const wchar_t* kSetupPath = L"HKCU\\SOFTWARE\\Vexal\\Lumbra\\Setup";

const std::vector<std::wstring> kTableOrder = {
    L"TimeStampFormat",     L"LastRunAs",           L"LogListFontCode",        L"BaseListFontCode",
    L"BaseWindowPlacement", L"BaseToolbarIconSize", L"ConsoleToolbarIconSize", L"LogMaxItems",
    L"CmdDropDownWidth",    L"CmdDropDownHeight",   L"FileLogPath",            L"FileLogMaxSizeMB",
    L"FileLogRollovers"};

uint32_t Dword(const MemRegistry::SValue* v)
{
    if (v == nullptr || v->bytes.size() != 4) return 0xDEADBEEF;
    return v->bytes[0] | v->bytes[1] << 8 | v->bytes[2] << 16 | static_cast<uint32_t>(v->bytes[3]) << 24;
}

std::wstring Text(const MemRegistry::SValue* v)
{
    return v == nullptr ? L"<missing>" : NDecodeRegSz(v->bytes.data(), static_cast<uint32_t>(v->bytes.size()));
}

bool Wrote(const RecordingKey& key, const wchar_t* name)
{
    return std::find(key.writes.begin(), key.writes.end(), name) != key.writes.end();
}
}  // namespace

TEST(LMGlobalPrefs, DefaultsAndPath)
{
    LMGlobalPrefs prefs;
    EXPECT_EQ(prefs.Store().Name(), L"SET");
    EXPECT_EQ(prefs.TimeStampFormat, L"%H:%M:%S.%N ");
    EXPECT_EQ(prefs.LogListFontCode, L"Consolas,10");
    EXPECT_EQ(prefs.BaseWindowPlacement, L"0,1,-1,-1,-1,-1,103,75,619,334");
    EXPECT_EQ(prefs.LogMaxItems.load(), 5000);
    EXPECT_EQ(prefs.CmdDropDownWidth.load(), 320);
    EXPECT_EQ(prefs.CmdDropDownHeight.load(), 480);
    EXPECT_EQ(prefs.FileLogPath, L"%LOCALAPPDATA%\\Lumbra\\Logs");
    EXPECT_EQ(prefs.FileLogMaxSizeMB.load(), 30u);
    EXPECT_EQ(prefs.FileLogRollovers.load(), 3u);
    EXPECT_EQ(LMGlobalPrefs::ComposePath(LMGlobalPrefs::kRootPath), kSetupPath);
    EXPECT_EQ(LMGlobalPrefs::ComposePath(L"HKCU\\SOFTWARE\\Vexal\\Lumbra\\"), kSetupPath);
}

TEST(LMGlobalPrefs, NumbersReadAndSetLikeAtomics)
{
    LMGlobalPrefs prefs;
    prefs.BaseToolbarIconSize.store(48);
    EXPECT_EQ(prefs.BaseToolbarIconSize.load(), 48);
    prefs.BaseToolbarIconSize = 0;
    EXPECT_EQ(prefs.BaseToolbarIconSize.load(), 0);
    prefs.FileLogRollovers.store(0xFFFFFFFFu);
    EXPECT_EQ(prefs.FileLogRollovers.load(), 0xFFFFFFFFu);
}

TEST(LMGlobalPrefs, EmptyRegistryWritesAllThirteenInTableOrder)
{
    LMGlobalPrefs prefs;
    prefs.BindStore(LMGlobalPrefs::kRootPath);
    ASSERT_EQ(prefs.Store().Count(), 13u);
    for (size_t i = 0; i < 13; ++i) EXPECT_EQ(prefs.Store().EntryAt(i)->Name(), kTableOrder[i]);
    prefs.BindStore(LMGlobalPrefs::kRootPath);  // registering again changes nothing
    EXPECT_EQ(prefs.Store().Count(), 13u);

    MemRegistry registry;
    RecordingKey key(registry);
    EXPECT_TRUE(prefs.Store().LoadAll(key));  // a missing key keeps every default
    EXPECT_EQ(key.openedPath, kSetupPath);
    EXPECT_FALSE(registry.HasKey(kSetupPath));
    EXPECT_EQ(prefs.LogMaxItems.load(), 5000);

    prefs.SetString(prefs.LastRunAs, L"C:\\Lumbra\\Lumbra.exe");
    ASSERT_TRUE(prefs.Store().SaveAll(key, false));
    EXPECT_EQ(key.writes, kTableOrder);
    const MemRegistry::SValue* items = registry.Find(kSetupPath, L"LogMaxItems");
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(items->type, nreg::kDword);
    EXPECT_EQ(Dword(items), 5000u);
    EXPECT_EQ(registry.Find(kSetupPath, L"FileLogRollovers")->type, nreg::kDword);
    EXPECT_EQ(registry.Find(kSetupPath, L"LastRunAs")->type, nreg::kSz);
    EXPECT_EQ(Text(registry.Find(kSetupPath, L"LastRunAs")), L"C:\\Lumbra\\Lumbra.exe");
    EXPECT_EQ(Text(registry.Find(kSetupPath, L"BaseListFontCode")), L"");

    // Nothing changed since: the key is not even opened.
    key.writes.clear();
    const int opens = registry.opens;
    ASSERT_TRUE(prefs.Store().SaveAll(key, false));
    EXPECT_TRUE(key.writes.empty());
    EXPECT_EQ(registry.opens, opens);
}

TEST(LMGlobalPrefs, StoredValuesComeBackInAFreshProcess)
{
    MemRegistry registry;
    {
        LMGlobalPrefs prefs;
        prefs.BindStore(LMGlobalPrefs::kRootPath);
        RecordingKey key(registry);
        prefs.SetString(prefs.BaseWindowPlacement, L"0,1,-1,-1,-1,-1,10,20,300,400");
        prefs.ConsoleToolbarIconSize.store(32);
        prefs.BaseToolbarIconSize.store(-1);
        ASSERT_TRUE(prefs.Store().SaveAll(key, false));
    }
    LMGlobalPrefs prefs;
    prefs.BindStore(LMGlobalPrefs::kRootPath);
    RecordingKey key(registry);
    ASSERT_TRUE(prefs.Store().LoadAll(key));
    EXPECT_EQ(prefs.CopyString(prefs.BaseWindowPlacement), L"0,1,-1,-1,-1,-1,10,20,300,400");
    EXPECT_EQ(prefs.ConsoleToolbarIconSize.load(), 32);
    EXPECT_EQ(prefs.BaseToolbarIconSize.load(), -1);
    EXPECT_FALSE(prefs.Store().IsModified());
}

TEST(LMGlobalPrefs, ValueOfTheWrongTypeIsIgnoredAndReplacedOnTheNextSave)
{
    MemRegistry registry;
    registry.PutString(kSetupPath, L"LogMaxItems", L"9999");
    registry.PutDword(kSetupPath, L"CmdDropDownWidth", 640);
    registry.PutDword(kSetupPath, L"BaseToolbarIconSize", 0xFFFFFFFFu);
    registry.PutDword(kSetupPath, L"FileLogPath", 1);
    registry.Put(kSetupPath, L"CmdDropDownHeight", nreg::kDword, {1, 2});  // truncated number
    registry.PutString(kSetupPath, L"LastRunAs", L"C:\\old\\Lumbra.exe");
    LMGlobalPrefs prefs;
    prefs.BindStore(LMGlobalPrefs::kRootPath);
    RecordingKey key(registry);
    ASSERT_TRUE(prefs.Store().LoadAll(key));
    EXPECT_EQ(prefs.LogMaxItems.load(), 5000);
    EXPECT_EQ(prefs.CmdDropDownWidth.load(), 640);
    EXPECT_EQ(prefs.CmdDropDownHeight.load(), 480);
    EXPECT_EQ(prefs.BaseToolbarIconSize.load(), -1);
    EXPECT_EQ(prefs.FileLogPath, L"%LOCALAPPDATA%\\Lumbra\\Logs");

    // Same executable, nothing else changed: no write at all.
    prefs.SetString(prefs.LastRunAs, L"C:\\old\\Lumbra.exe");
    ASSERT_TRUE(prefs.Store().SaveAll(key, false));
    EXPECT_TRUE(key.writes.empty());

    // Another executable path: the change plus everything never read.
    prefs.SetString(prefs.LastRunAs, L"D:\\new\\Lumbra.exe");
    ASSERT_TRUE(prefs.Store().SaveAll(key, false));
    EXPECT_EQ(registry.Find(kSetupPath, L"LogMaxItems")->type, nreg::kDword);
    EXPECT_EQ(Dword(registry.Find(kSetupPath, L"LogMaxItems")), 5000u);
    EXPECT_EQ(Dword(registry.Find(kSetupPath, L"CmdDropDownHeight")), 480u);
    EXPECT_EQ(registry.Find(kSetupPath, L"FileLogPath")->type, nreg::kSz);
    EXPECT_TRUE(Wrote(key, L"LastRunAs"));
    EXPECT_TRUE(Wrote(key, L"TimeStampFormat"));
    EXPECT_FALSE(Wrote(key, L"CmdDropDownWidth"));     // read and unchanged
    EXPECT_FALSE(Wrote(key, L"BaseToolbarIconSize"));  // read and unchanged
}

TEST(LMGlobalPrefs, FailuresAreReported)
{
    LMGlobalPrefs prefs;
    prefs.BindStore(LMGlobalPrefs::kRootPath);
    MemRegistry registry;
    RecordingKey key(registry);
    key.failOpenForWrite = true;
    prefs.LogMaxItems = 10;
    EXPECT_FALSE(prefs.Store().SaveAll(key, false));
    EXPECT_EQ(key.LastError(), nerr::kAccessDenied);

    // A write that fails part-way is a failure, and what was not written
    // stays modified for the next save.
    key.failOpenForWrite = false;
    registry.failWritesAfter = 3;
    EXPECT_FALSE(prefs.Store().SaveAll(key, false));
    EXPECT_TRUE(prefs.Store().IsModified());
    registry.failWritesAfter = -1;
    key.writes.clear();
    EXPECT_TRUE(prefs.Store().SaveAll(key, false));
    EXPECT_FALSE(prefs.Store().IsModified());
    EXPECT_EQ(Dword(registry.Find(kSetupPath, L"LogMaxItems")), 10u);
    EXPECT_EQ(key.writes.size(), 10u);  // the three written before stay written

    LMGlobalPrefs unbound;  // no path
    EXPECT_FALSE(unbound.Store().SaveAll(key, true));
    EXPECT_FALSE(unbound.Store().LoadAll(key));
}
