#pragma once
// The program's application object: start-up, idle hook and shutdown of the
// main user-interface thread.
#include <memory>
#include <string>

#include "app/LMVersionText.h"
#include "app/win32/LMBaseFrame.h"
#include "framework/win32/NSocketsInit.h"
#include "framework/win32/NWinApp.h"

class LMApp : public NWinApp {
public:
    static constexpr UINT kIdAppAbout = 57664;
    static constexpr UINT kIdAppExit = 57665;
    // Idle passes kept going after every burst of messages.
    static constexpr LONG kForcedIdlePasses = 300;
    // How long the exit waits for the port enumeration thread.
    static constexpr DWORD kEnumStopMs = 2000;

    LMApp();
    ~LMApp() override;

    static LMApp* Instance() noexcept;

    bool InitInstance() override;
    int ExitInstance() override;
    bool OnIdle(LONG count) override;
    bool PreTranslateMessage(MSG& message) override;
    bool OnCmdMsg(UINT id, UINT code, HWND control) override;

    // The idle work while a modal dialog or menu of the main window runs.
    void IdleWhileModal();
    // Posts BringToFront to the main window when a later start asked for it.
    void CheckWakeUp();

    // "%p %g %V" of the program's version resource.
    std::wstring VersionText() const;
    const SLMVersion& Version() const noexcept { return m_version; }

    // The rule that decides whether the main thread keeps getting idle passes.
    static bool WantsMoreIdle(bool framework, LONG count, bool dispatcher)
    {
        return framework || count < kForcedIdlePasses || dispatcher;
    }

private:
    bool CheckIntegrity(const std::wstring& path);
    void ShowAbout();

    NSocketsInit m_sockets;
    SLMVersion m_version;
    std::unique_ptr<LMBaseFrame> m_frame;
};
