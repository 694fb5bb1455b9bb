#include "app/win32/LMPrefsLogFolder.h"

#include "app/win32/LMModulePath.h"
#include "config/LMGlobalPrefs.h"

std::wstring LMPrefsLogFolder::CopyFileLogPath()
{
    LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
    return prefs.CopyString(prefs.FileLogPath);
}

std::wstring LMPrefsLogFolder::ExecutableDirectory()
{
    const std::wstring path = LMModulePath();
    const size_t cut = path.find_last_of(L'\\');
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}
