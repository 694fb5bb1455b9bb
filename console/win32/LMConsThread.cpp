#include "console/win32/LMConsThread.h"

#include "config/LMConsConfig.h"
#include "console/win32/LMConsFrame.h"

LMConsThread::LMConsThread(LMConsConfig* config) : m_config(config)
{
    SetAutoDelete(true);
}

LMConsThread::~LMConsThread() = default;

bool LMConsThread::InitInstance()
{
    if (m_config == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    m_frame = std::make_unique<LMConsFrame>(*m_config);
    m_accelerators = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIdAccelerators));
    SetMainWnd(m_frame.get());
    if (!m_frame->LoadFrame(kIdFrame, WS_OVERLAPPEDWINDOW)) {
        SetMainWnd(nullptr);
        return false;
    }
    m_frameWindow.store(m_frame->Handle());
    ::ShowWindow(m_frame->Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(m_frame->Handle());
    return true;
}

int LMConsThread::ExitInstance()
{
    m_frameWindow.store(nullptr);
    if (m_config != nullptr)
        m_config->SetCommThread(nullptr);
    // The frame, its view and the worker go while the configuration is still
    // linked: once the thread slot is clear the main window may delete it.
    m_frame.reset();
    SetMainWnd(nullptr);
    if (m_config != nullptr) {
        m_config->SetConsoleThread(nullptr);
        m_config = nullptr;
    }
    return NWinThread::ExitInstance();
}

bool LMConsThread::PreTranslateMessage(MSG& message)
{
    HWND frame = m_frame != nullptr ? m_frame->Handle() : nullptr;
    return m_accelerators != nullptr && frame != nullptr &&
           ::TranslateAcceleratorW(frame, m_accelerators, &message) != 0;
}

bool LMConsThread::PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    HWND window = m_frameWindow.load();
    return window != nullptr && ::PostMessageW(window, message, wParam, lParam) != FALSE;
}
