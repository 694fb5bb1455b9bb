#include "config/LMSetupStore.h"

#include <gtest/gtest.h>

#include <map>

#include "config/LMGlobalPrefs.h"

namespace {
// A registry key in memory that remembers what was written.
class FakeStore : public ILMValueStore {
public:
    bool exists = true;
    bool failOpen = false;
    std::map<std::wstring, SLMStoredValue> values;
    std::vector<std::wstring> writes;
    std::wstring openedPath;

    bool Open(const std::wstring& path, bool write) override
    {
        openedPath = path;
        if (failOpen || (!write && !exists))
            return false;
        exists = true;
        return true;
    }
    void Close() override {}
    SLMStoredValue Read(const std::wstring& name) override
    {
        auto it = values.find(name);
        return it == values.end() ? SLMStoredValue{} : it->second;
    }
    bool WriteString(const std::wstring& name, const std::wstring& text) override
    {
        writes.push_back(name);
        values[name] = SLMStoredValue{SLMStoredValue::kString, text, 0};
        return true;
    }
    bool WriteNumber(const std::wstring& name, uint32_t number) override
    {
        writes.push_back(name);
        values[name] = SLMStoredValue{SLMStoredValue::kNumber, L"", number};
        return true;
    }
};

const std::vector<std::wstring> kTableOrder = {
    L"TimeStampFormat",     L"LastRunAs",           L"LogListFontCode",        L"BaseListFontCode",
    L"BaseWindowPlacement", L"BaseToolbarIconSize", L"ConsoleToolbarIconSize", L"LogMaxItems",
    L"CmdDropDownWidth",    L"CmdDropDownHeight",   L"FileLogPath",            L"FileLogMaxSizeMB",
    L"FileLogRollovers"};
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
    EXPECT_EQ(LMGlobalPrefs::ComposePath(L"SOFTWARE\\Vexal\\Lumbra"), L"SOFTWARE\\Vexal\\Lumbra\\Setup");
    EXPECT_EQ(LMGlobalPrefs::ComposePath(L"SOFTWARE\\Vexal\\Lumbra\\"), L"SOFTWARE\\Vexal\\Lumbra\\Setup");
}

TEST(LMGlobalPrefs, EmptyRegistryWritesAllThirteenInTableOrder)
{
    LMGlobalPrefs prefs;
    prefs.BindStore(LMGlobalPrefs::kRootPath);
    ASSERT_EQ(prefs.Store().Count(), 13u);
    for (size_t i = 0; i < 13; ++i)
        EXPECT_EQ(prefs.Store().EntryName(i), kTableOrder[i]);
    prefs.BindStore(LMGlobalPrefs::kRootPath);  // registering again changes nothing
    EXPECT_EQ(prefs.Store().Count(), 13u);

    FakeStore store;
    store.exists = false;
    EXPECT_FALSE(prefs.Store().Load(store));
    EXPECT_EQ(store.openedPath, L"SOFTWARE\\Vexal\\Lumbra\\Setup");
    EXPECT_EQ(prefs.LogMaxItems.load(), 5000);
    prefs.SetString(prefs.LastRunAs, L"C:\\Lumbra\\Lumbra.exe");
    ASSERT_TRUE(prefs.Store().Save(store, false));
    EXPECT_EQ(store.writes, kTableOrder);
    EXPECT_EQ(store.values[L"LogMaxItems"].type, SLMStoredValue::kNumber);
    EXPECT_EQ(store.values[L"LogMaxItems"].number, 5000u);
    EXPECT_EQ(store.values[L"LastRunAs"].text, L"C:\\Lumbra\\Lumbra.exe");

    // Nothing changed since: nothing is written.
    store.writes.clear();
    ASSERT_TRUE(prefs.Store().Save(store, false));
    EXPECT_TRUE(store.writes.empty());
}

TEST(LMGlobalPrefs, ValueOfTheWrongTypeIsIgnoredAndReplacedOnTheNextSave)
{
    FakeStore store;
    store.values[L"LogMaxItems"] = SLMStoredValue{SLMStoredValue::kString, L"9999", 0};
    store.values[L"CmdDropDownWidth"] = SLMStoredValue{SLMStoredValue::kNumber, L"", 640};
    store.values[L"BaseToolbarIconSize"] = SLMStoredValue{SLMStoredValue::kNumber, L"", 0xFFFFFFFFu};
    store.values[L"FileLogPath"] = SLMStoredValue{SLMStoredValue::kNumber, L"", 1};
    store.values[L"LastRunAs"] = SLMStoredValue{SLMStoredValue::kString, L"C:\\old\\Lumbra.exe", 0};
    for (const std::wstring& name : kTableOrder)
        store.values.emplace(name, SLMStoredValue{});  // the rest missing
    LMGlobalPrefs prefs;
    prefs.BindStore(LMGlobalPrefs::kRootPath);
    ASSERT_TRUE(prefs.Store().Load(store));
    EXPECT_EQ(prefs.LogMaxItems.load(), 5000);
    EXPECT_EQ(prefs.CmdDropDownWidth.load(), 640);
    EXPECT_EQ(prefs.BaseToolbarIconSize.load(), -1);
    EXPECT_EQ(prefs.FileLogPath, L"%LOCALAPPDATA%\\Lumbra\\Logs");

    // Same executable, nothing else changed: no write at all.
    prefs.SetString(prefs.LastRunAs, L"C:\\old\\Lumbra.exe");
    ASSERT_TRUE(prefs.Store().Save(store, false));
    EXPECT_TRUE(store.writes.empty());

    // Another executable path: the change plus everything never read.
    prefs.SetString(prefs.LastRunAs, L"D:\\new\\Lumbra.exe");
    ASSERT_TRUE(prefs.Store().Save(store, false));
    EXPECT_EQ(store.values[L"LogMaxItems"].type, SLMStoredValue::kNumber);
    EXPECT_EQ(store.values[L"LogMaxItems"].number, 5000u);
    EXPECT_EQ(store.values[L"FileLogPath"].type, SLMStoredValue::kString);
    const auto wrote = [&](const wchar_t* n) {
        return std::find(store.writes.begin(), store.writes.end(), n) != store.writes.end();
    };
    EXPECT_TRUE(wrote(L"LastRunAs"));
    EXPECT_TRUE(wrote(L"TimeStampFormat"));
    EXPECT_FALSE(wrote(L"CmdDropDownWidth"));     // read and unchanged
    EXPECT_FALSE(wrote(L"BaseToolbarIconSize"));  // read and unchanged
}

TEST(LMGlobalPrefs, FailedWriteKeyIsReported)
{
    LMGlobalPrefs prefs;
    prefs.BindStore(LMGlobalPrefs::kRootPath);
    FakeStore store;
    store.failOpen = true;
    prefs.LogMaxItems = 10;
    EXPECT_FALSE(prefs.Store().Save(store, false));
    LMSetupStore unbound(L"X");
    EXPECT_FALSE(unbound.Save(store, true));  // no path
}
