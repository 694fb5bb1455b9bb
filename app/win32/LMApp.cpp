#include "app/win32/LMApp.h"

#include <commctrl.h>

#include "config/LMGlobalPrefs.h"
#include "app/win32/LMImageCheck.h"
#include "app/win32/LMImageStampBlock.h"
#include "app/win32/LMModulePath.h"
#include "config/win32/LMRegisteredMessages.h"
#include "config/win32/NRegKey.h"
#include "console/win32/LMConsFrame.h"
#include "app/win32/LMSingleInstance.h"
#include "app/win32/LMVersionInfo.h"
#include "foundation/win32/NRandomCrypto.h"
#include "framework/NIdleDispatch.h"
#include "framework/win32/NIconCache.h"
#include "framework/win32/NMessageBox.h"
#include "resources/resource.h"
#include "transport/win32/NCOMPortEnumThread.h"

namespace {
// Created at static initialisation, before the application object runs:
// the global store "SET" with every preference at its default, and the
// registered messages.
LMGlobalPrefs& g_prefs = LMGlobalPrefs::Instance();
const UINT g_bringToFront = LMMessage(lmmsg::kBringToFront);

constexpr DWORD kFrameAddToTitle = 0x00008000;  // FWS_ADDTOTITLE: no document, so the title stays
}  // namespace

LMApp::LMApp() : NWinApp(L"Lumbra") {}

LMApp::~LMApp() = default;

LMApp* LMApp::Instance() noexcept
{
    return static_cast<LMApp*>(NWinApp::Instance());
}

bool LMApp::CheckIntegrity(const std::wstring& path)
{
    // Keeps the stamp block in the image.
    (void)LMImageStampBlock();
    const lmstamp::EResult result = LMCheckImageFile(path);
    if (result == lmstamp::EResult::kValid)
        return true;
    std::wstring why;
    switch (result) {
    case lmstamp::EResult::kAltered:
        why = L"The program file has been altered since it was built; it may be damaged or tampered with.";
        break;
    case lmstamp::EResult::kNotStamped:
        why = L"The program file carries no integrity stamp, so it cannot be verified.";
        break;
    default:
        why = L"The program file could not be verified.";
        break;
    }
    NMessageBox(nullptr, why + L"\r\n\r\n" + path + L"\r\n\r\nPlease reinstall Lumbra.", L"Lumbra Integrity Error",
                MB_OK | MB_ICONERROR);
    return false;
}

bool LMApp::InitInstance()
{
    LMSingleInstance& single = LMSingleInstance::Process();
    if (!single.IsFirstInstance()) {
        if (!single.IsFirstInstance())
            single.WakeFirstInstance();
        return false;
    }
    if (!m_sockets.Start()) {
        NMessageBox(nullptr, L"Failed to initialze Windows Sockets", AppName(), MB_OK | MB_ICONERROR);
        return false;
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);

    SetRegistryKey(L"Vexal");

    const std::wstring exePath = LMModulePath();
    LMReadVersionInfo(exePath, m_version);
    if (!CheckIntegrity(exePath))
        return false;

    NIconCache::Instance().Bind(InstanceHandle());
    // A later start's wake-up must also be seen while a console's menu or
    // dialog holds that console's thread.
    LMConsFrame::SetWakeUpCheck([] {
        if (LMApp* app = LMApp::Instance())
            app->CheckWakeUp();
    });

    {
        const wchar_t* text = nullptr;
        const int length =
            ::LoadStringW(InstanceHandle(), IDS_TIMESTAMPFORMAT, reinterpret_cast<LPWSTR>(&text), 0);
        if (length > 0 && text != nullptr)
            g_prefs.SetString(g_prefs.TimeStampFormat, std::wstring(text, static_cast<size_t>(length)));
    }

    // A fresh provider context draws its state from the system's entropy
    // (which already mixes in the clocks).
    NRandomCrypto::Instance().Reseed();

    g_prefs.BindStore(LMGlobalPrefs::kRootPath);
    NRegKey registry;
    g_prefs.Store().LoadAll(registry);
    g_prefs.SetString(g_prefs.LastRunAs, exePath);

    m_frame = std::make_unique<LMBaseFrame>();
    SetMainWnd(m_frame.get());
    if (!m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | kFrameAddToTitle)) {
        SetMainWnd(nullptr);
        m_frame.reset();
        return false;
    }
    ::ShowWindow(m_frame->Handle(), SW_SHOW);
    ::UpdateWindow(m_frame->Handle());
    return true;
}

int LMApp::ExitInstance()
{
    if (!g_prefs.Store().Path().empty()) {
        NRegKey registry;
        g_prefs.Store().SaveAll(registry, false);
    }
    m_frame.reset();
    LMConsFrame::SetWakeUpCheck(nullptr);
    // The list that asked for port scans is gone; nobody reads them any more.
    NCOMPortEnumThread::Global().Stop(kEnumStopMs);
    return NWinApp::ExitInstance();
}

void LMApp::CheckWakeUp()
{
    LMSingleInstance& single = LMSingleInstance::Process();
    if (single.IsFirstInstance() && single.TakeWakeUp() && MainWnd() != nullptr && MainWnd()->Handle() != nullptr)
        ::PostMessageW(MainWnd()->Handle(), g_bringToFront, 0, 0);
}

bool LMApp::OnIdle(LONG count)
{
    CheckWakeUp();
    const bool dispatcher = NIdleDispatch::RunAll(count);
    const bool framework = NWinApp::OnIdle(count);
    return WantsMoreIdle(framework, count, dispatcher);
}

void LMApp::IdleWhileModal()
{
    CheckWakeUp();
    NIdleDispatch::RunAll(0);
    NWinApp::OnIdle(0);
}

bool LMApp::PreTranslateMessage(MSG& message)
{
    return m_frame != nullptr && m_frame->Handle() != nullptr && m_frame->TranslateAccelerators(message);
}

std::wstring LMApp::VersionText() const
{
    return LMFormatVersion(L"%p %g %V", m_version);
}

void LMApp::ShowAbout()
{
    std::wstring text = VersionText();
    text += L"\r\nBuilt " __DATE__ " " __TIME__;
    text += L"\r\n\r\nNo plug-ins loaded.";
    NMessageBox(MainWnd() != nullptr ? MainWnd()->Handle() : nullptr, text, L"About Lumbra",
                MB_OK | MB_ICONINFORMATION);
}

bool LMApp::OnCmdMsg(UINT id, UINT code, HWND control)
{
    if (id == kIdAppAbout) {
        ShowAbout();
        return true;
    }
    if (id == kIdAppExit) {
        if (MainWnd() != nullptr && MainWnd()->Handle() != nullptr)
            ::PostMessageW(MainWnd()->Handle(), WM_CLOSE, 0, 0);
        return true;
    }
    return false;
}
