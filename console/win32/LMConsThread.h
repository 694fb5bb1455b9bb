#pragma once
// The user-interface thread of one open console: it creates the console's
// frame, translates the console accelerators and, when the frame is gone,
// unlinks itself from the configuration. The object deletes itself when the
// thread ends.
//
// Opening (main thread): new LMConsThread(config), CreateThread(true),
// config->SetConsoleThread(thread), ResumeThread().
#include <windows.h>

#include "config/IConsoleLink.h"
#include "framework/win32/NWinThread.h"

class LMConsConfig;

class LMConsThread : public NWinThread, public ILMConsoleLink {
public:
    explicit LMConsThread(LMConsConfig* config);
    ~LMConsThread() override;

    LMConsConfig* Config() const noexcept { return m_config; }

    bool InitInstance() override;
    int ExitInstance() override;
    bool PreTranslateMessage(MSG& message) override;

    // ILMConsoleLink (any thread)
    bool PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    LMConsConfig* m_config;  // not owned; set before the thread runs
};
