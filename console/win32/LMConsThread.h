#pragma once
// The user-interface thread of one open console: it creates the console's
// frame, translates the console accelerators and, when the frame is gone,
// unlinks itself from the configuration. The object deletes itself when the
// thread ends.
//
// Opening (main thread): new LMConsThread(config), CreateThread(true),
// config->SetConsoleThread(thread), ResumeThread().
#include <windows.h>

#include <atomic>
#include <memory>

#include "config/IConsoleLink.h"
#include "framework/win32/NWinThread.h"

class LMConsConfig;
class LMConsFrame;

class LMConsThread : public NWinThread, public ILMConsoleLink {
public:
    static constexpr UINT kIdAccelerators = 128;
    static constexpr UINT kIdFrame = 131;

    explicit LMConsThread(LMConsConfig* config);
    ~LMConsThread() override;

    LMConsConfig* Config() const noexcept { return m_config; }
    // The console thread's own; null before InitInstance and after ExitInstance.
    LMConsFrame* Frame() const noexcept { return m_frame.get(); }

    bool InitInstance() override;
    int ExitInstance() override;
    bool PreTranslateMessage(MSG& message) override;

    // ILMConsoleLink (any thread)
    bool PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

private:
    LMConsConfig* m_config;  // not owned; set before the thread runs
    std::unique_ptr<LMConsFrame> m_frame;  // console thread only
    HACCEL m_accelerators = nullptr;       // a resource table: freed with the module
    // Read by other threads to post to the frame: written only by the
    // console thread, while the window exists.
    std::atomic<HWND> m_frameWindow{nullptr};
};
