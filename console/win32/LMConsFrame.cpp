#include "console/win32/LMConsFrame.h"

#include <commctrl.h>

#include <atomic>

#include "config/IConsoleLink.h"
#include "config/LMConsConfig.h"
#include "config/win32/LMRegisteredMessages.h"
#include "framework/win32/NWinThread.h"

namespace {
std::atomic<LMConsFrame::WakeUpCheck> g_wakeUpCheck{nullptr};
}  // namespace

LMConsFrame::LMConsFrame(LMConsConfig& config)
    : m_config(config), m_view(&config), m_commands(config, m_view.Log())
{
}

LMConsFrame::~LMConsFrame()
{
    DestroyWindow();
}

void LMConsFrame::SetWakeUpCheck(WakeUpCheck check) noexcept
{
    g_wakeUpCheck.store(check);
}

bool LMConsFrame::OnCreate(const CREATESTRUCTW& create)
{
    if (!NFrameWnd::OnCreate(create))
        return false;
    if (!m_view.Create(Handle(), kIdFirstPane))
        return false;
    SetView(&m_view);
    // Plug-in sessions for this console are attached here once plug-ins can
    // be loaded: one per loaded plug-in, under the plug-in list's lock.
    if (!CreateBars())
        return false;
    m_commands.SetCombo(m_commandBar.Combo());
    m_commands.Fill();
    m_view.SetCommands(&m_commands);
    const ILMCommLink* worker = m_config.CommThread();
    SetConnectState(worker != nullptr ? worker->ConnectionState() : 0);
    if (!CreateStatusBar())
        return false;
    SetWindowIcons();
    SetBars(&m_rebar, &m_mainBar, &m_status);
    m_created = true;
    return true;
}

void LMConsFrame::SetWindowIcons()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_bigIcon.Reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIdMenu), IMAGE_ICON,
                                                     ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0)));
    m_smallIcon.Reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIdMenu), IMAGE_ICON,
                                                       ::GetSystemMetrics(SM_CXSMICON),
                                                       ::GetSystemMetrics(SM_CYSMICON), 0)));
    // A missing icon leaves the class's default; the console works without.
    if (m_bigIcon)
        ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon.Get()));
    if (m_smallIcon)
        ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon.Get()));
}

void LMConsFrame::OnDestroy()
{
    StopBatchWatchNotYetAvailable();
    // A frame whose creation failed has nothing worth keeping.
    if (m_created && !::IsIconic(Handle()))
        SavePlacements();
    // This console's plug-in sessions end here once plug-ins exist.
    m_created = false;
    SetBars(nullptr, nullptr, nullptr);
    NFrameWnd::OnDestroy();
}

bool LMConsFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message >= 0xC000 && OnRegisteredMessage(message, wParam, lParam)) {
        result = 0;
        return true;
    }
    switch (message) {
    case WM_PAINT:
        if (m_firstPaintPending && m_created)
            OnFirstPaint();
        return false;  // painted normally afterwards
    case WM_ENTERIDLE:
        OnEnterIdle();
        return false;
    case WM_SETTEXT:
        m_title = lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        return false;
    case WM_COMMAND:
        // The command combo's own notification carries nothing to do.
        if (wParam == kIdCommandCombo) {
            result = 0;
            return true;
        }
        return false;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom == m_rebar.Handle() && header->code == RBN_HEIGHTCHANGE) {
            RecalcLayout();
            result = 0;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

bool LMConsFrame::OnRegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == LMMessage(lmmsg::kBringToFront)) {
        BringToFront();
    } else if (message == LMMessage(lmmsg::kMinimize)) {
        ::ShowWindow(Handle(), SW_MINIMIZE);
    } else if (message == LMMessage(lmmsg::kRecalcLayout)) {
        RecalcLayout();
    } else if (message == LMMessage(lmmsg::kResetBoard) || message == LMMessage(lmmsg::kShutdown) ||
               message == LMMessage(lmmsg::kUpdateSetup) || message == LMMessage(lmmsg::kUpdateLogging)) {
        if (m_view.Handle() != nullptr)
            ::SendMessageW(m_view.Handle(), message, wParam, lParam);
    } else if (message == LMMessage(lmmsg::kOnDirWatch) || message == LMMessage(lmmsg::kOnDirChange)) {
        RescanBatchFolderNotYetAvailable();
    } else if (message == LMMessage(lmmsg::kOnConnect)) {
        SetConnectState(static_cast<int>(wParam));
    } else {
        return false;
    }
    return true;
}

void LMConsFrame::BringToFront()
{
    HWND self = Handle();
    // Minimizing first makes the window manager restore it in front of
    // whatever covers it, which activation alone does not always do.
    if (!::IsIconic(self))
        ::ShowWindow(self, SW_MINIMIZE);
    ::SetForegroundWindow(self);
    ::ShowWindow(self, SW_RESTORE);
    ::BringWindowToTop(self);
}

void LMConsFrame::OnEnterIdle()
{
    // Only work of this thread runs here: the main thread's idle handlers
    // are the main thread's own and must not run on a console thread.
    if (WakeUpCheck check = g_wakeUpCheck.load())
        check();
    if (NWinThread* thread = NWinThread::Current())
        thread->OnIdle(0);
}
