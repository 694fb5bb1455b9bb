#include "framework/win32/NWinApp.h"

namespace {
NWinApp* g_app = nullptr;  // set once, by the constructor, on the main thread
}

NWinApp::NWinApp(const wchar_t* appName) : m_appName(appName != nullptr ? appName : L"")
{
    if (g_app == nullptr)
        g_app = this;
}

NWinApp::~NWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

NWinApp* NWinApp::Instance() noexcept
{
    return g_app;
}

int NWinApp::Main(HINSTANCE instance, int showCommand)
{
    m_instance = instance;
    m_showCommand = showCommand;
    BindToCallingThread();
    try {
        if (InitInstance())
            return Run();
        return ExitInstance();
    } catch (...) {
        return ERROR_INTERNAL_ERROR;
    }
}

void NWinApp::SetRegistryKey(const wchar_t* maker)
{
    m_registryKey = maker != nullptr ? maker : L"";
}

std::wstring NWinApp::ProfileRoot() const
{
    if (m_registryKey.empty())
        return std::wstring();
    return L"SOFTWARE\\" + m_registryKey + L"\\" + m_appName;
}
