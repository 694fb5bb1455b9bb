#include "config/LMGlobalPrefs.h"

LMGlobalPrefs& LMGlobalPrefs::Instance()
{
    static LMGlobalPrefs prefs;
    return prefs;
}

LMGlobalPrefs::LMGlobalPrefs()
{
    m_lock.Init();
}

std::wstring LMGlobalPrefs::ComposePath(const std::wstring& root)
{
    std::wstring path = root;
    if (path.empty() || path.back() != L'\\')
        path += L'\\';
    return path + kSetupKey;
}

void LMGlobalPrefs::BindStore(const std::wstring& root)
{
    m_store.SetPath(ComposePath(root));
    m_store.SetLock(&m_lock);
    // Registration order is load and write order.
    m_store.AddString(L"TimeStampFormat", &TimeStampFormat);
    m_store.AddString(L"LastRunAs", &LastRunAs);
    m_store.AddString(L"LogListFontCode", &LogListFontCode);
    m_store.AddString(L"BaseListFontCode", &BaseListFontCode);
    m_store.AddString(L"BaseWindowPlacement", &BaseWindowPlacement);
    m_store.AddInt32(L"BaseToolbarIconSize", &BaseToolbarIconSize);
    m_store.AddInt32(L"ConsoleToolbarIconSize", &ConsoleToolbarIconSize);
    m_store.AddInt32(L"LogMaxItems", &LogMaxItems);
    m_store.AddInt32(L"CmdDropDownWidth", &CmdDropDownWidth);
    m_store.AddInt32(L"CmdDropDownHeight", &CmdDropDownHeight);
    m_store.AddString(L"FileLogPath", &FileLogPath);
    m_store.AddUInt32(L"FileLogMaxSizeMB", &FileLogMaxSizeMB);
    m_store.AddUInt32(L"FileLogRollovers", &FileLogRollovers);
}

std::wstring LMGlobalPrefs::CopyString(const std::wstring& field)
{
    NLockGuard guard(m_lock);
    return field;
}

void LMGlobalPrefs::SetString(std::wstring& field, std::wstring value)
{
    NLockGuard guard(m_lock);
    field = std::move(value);
}
