#pragma once
// The program's global preferences: one variable per value of the global
// store "SET" (registry subkey "Setup"), holding its compiled-in default until
// the store is loaded. Strings are REG_SZ values, numbers REG_DWORD. Numbers
// are atomic and may be read and set from any thread; strings are copied and
// assigned only under Lock() (use CopyString / SetString from other threads).
#include <cstdint>
#include <string>

#include "config/LMGlobalPrefsNumber.h"
#include "config/NPSStore.h"
#include "foundation/NLock.h"

class LMGlobalPrefs {
public:
    // The program's key; the store lives in its subkey "Setup".
    static constexpr const wchar_t* kRootPath = L"HKCU\\SOFTWARE\\Vexal\\Lumbra";
    static constexpr const wchar_t* kSetupKey = L"Setup";

    // The process-wide object, created on first use (at static
    // initialisation by the application's translation unit).
    static LMGlobalPrefs& Instance();

    LMGlobalPrefs();
    LMGlobalPrefs(const LMGlobalPrefs&) = delete;
    LMGlobalPrefs& operator=(const LMGlobalPrefs&) = delete;

    NLock& Lock() noexcept { return m_lock; }
    NPSStore& Store() noexcept { return m_store; }

    // Root + "\" (unless the root ends in one) + "Setup".
    static std::wstring ComposePath(const std::wstring& root);
    // Sets the store's path, attaches the lock and registers the thirteen
    // entries in their fixed order.
    void BindStore(const std::wstring& root);

    std::wstring CopyString(const std::wstring& field);
    void SetString(std::wstring& field, std::wstring value);

    std::wstring TimeStampFormat{L"%H:%M:%S.%N "};
    std::wstring LastRunAs;
    std::wstring LogListFontCode{L"Consolas,10"};
    std::wstring BaseListFontCode;
    std::wstring BaseWindowPlacement{L"0,1,-1,-1,-1,-1,103,75,619,334"};
    LMGlobalPrefsNumber<int32_t> BaseToolbarIconSize{0};
    LMGlobalPrefsNumber<int32_t> ConsoleToolbarIconSize{0};
    LMGlobalPrefsNumber<int32_t> LogMaxItems{5000};
    LMGlobalPrefsNumber<int32_t> CmdDropDownWidth{320};
    LMGlobalPrefsNumber<int32_t> CmdDropDownHeight{480};
    std::wstring FileLogPath{L"%LOCALAPPDATA%\\Lumbra\\Logs"};
    LMGlobalPrefsNumber<uint32_t> FileLogMaxSizeMB{30};
    LMGlobalPrefsNumber<uint32_t> FileLogRollovers{3};

private:
    NLock m_lock;
    NPSStore m_store{L"SET"};
};
