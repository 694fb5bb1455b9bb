#include "console/win32/LMConsThread.h"

#include "config/LMConsConfig.h"
#include "framework/win32/NWnd.h"

LMConsThread::LMConsThread(LMConsConfig* config) : m_config(config)
{
    SetAutoDelete(true);
}

LMConsThread::~LMConsThread() = default;

bool LMConsThread::InitInstance()
{
    // The console frame is not built yet: the thread ends at once.
    return false;
}

int LMConsThread::ExitInstance()
{
    if (m_config != nullptr) {
        m_config->SetCommThread(nullptr);
        m_config->SetConsoleThread(nullptr);
        m_config = nullptr;
    }
    return NWinThread::ExitInstance();
}

bool LMConsThread::PreTranslateMessage(MSG& message)
{
    return false;
}

bool LMConsThread::PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    NWnd* frame = MainWnd();
    HWND window = frame != nullptr ? frame->Handle() : nullptr;
    return window != nullptr && ::PostMessageW(window, message, wParam, lParam) != FALSE;
}
