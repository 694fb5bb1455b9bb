#pragma once
// The application object: the main thread's NWinThread with the program's
// identity (instance handle, application name, registry maker word). There is
// one per program, reached through Instance().
#include <windows.h>

#include <string>

#include "framework/win32/NWinThread.h"

class NWinApp : public NWinThread {
public:
    explicit NWinApp(const wchar_t* appName);
    ~NWinApp() override;

    static NWinApp* Instance() noexcept;

    // The program's body, called from wWinMain: InitInstance, then Run when it
    // succeeded, else ExitInstance. Returns the process exit code.
    int Main(HINSTANCE instance, int showCommand);

    HINSTANCE InstanceHandle() const noexcept { return m_instance; }
    int ShowCommand() const noexcept { return m_showCommand; }
    const std::wstring& AppName() const noexcept { return m_appName; }

    // The framework's profile root becomes "SOFTWARE\" + maker + "\" + AppName()
    // under HKEY_CURRENT_USER.
    void SetRegistryKey(const wchar_t* maker);
    const std::wstring& RegistryKey() const noexcept { return m_registryKey; }
    std::wstring ProfileRoot() const;

private:
    HINSTANCE m_instance = nullptr;
    int m_showCommand = SW_SHOWNORMAL;
    std::wstring m_appName;
    std::wstring m_registryKey;
};
