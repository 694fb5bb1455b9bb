// The console view's commands and their update rules.
#include "comm/LMRequestCodes.h"
#include "comm/win32/LMCommThread.h"
#include "config/LMConsConfig.h"
#include "config/win32/LMConsSetupDlgSettings.h"
#include "console/win32/LMConsCommands.h"
#include "console/win32/LMConsView.h"
#include "foundation/win32/SystemErrorText.h"

bool LMConsView::OnCmdMsg(UINT id, UINT code, HWND control)
{
    switch (id) {
    case kCmdConnect: OnConnect(); return true;
    case kCmdAltMode: OnAltMode(); return true;
    case kCmdCopyVisible: CopyToClipboard(true); return true;
    case kCmdCopyWhole: CopyToClipboard(false); return true;
    case kCmdErase: Erase(); return true;
    case kCmdSetup: OnSetup(); return true;
    case kCmdFollow: ToggleFollow(); return true;
    case kCmdPin: TogglePin(); return true;
    case kCmdSuppress: {
        auto& flag = m_config->Settings().SuppressFWUpd;
        bool before = flag.Get();
        // Toggled by exchange so that a concurrent reader sees one value or the other.
        while (flag.Exchange(!before) != before)
            before = flag.Get();
        return true;
    }
    case kCmdRecording:
    case kCmdCommandWindow:
        return true;  // disabled: recording files and the command window are not built yet
    case kCmdSend:
    case kCmdSendButton: OnSend(); return true;
    case kCmdAbort:
    case kCmdAbortButton:
        if (State() == LMCommThread::kConnected)
            m_worker->PostRequest(lmreq::kUserBreak);
        return true;
    case kCmdReset: NotAvailableYet(L"Reset"); return true;
    case kCmdBaudTest: NotAvailableYet(L"Baudrate Test"); return true;
    case kCmdFwCheck: NotAvailableYet(L"Firmware Check"); return true;
    case kCmdFwUpdate: NotAvailableYet(L"Firmware Update"); return true;
    case kCmdDebugTest:
        if (State() == LMCommThread::kConnected && !ProcedureActive())
            m_worker->PostRequest(lmreq::kFlood);
        return true;
    default:
        return ConsoleWnd::OnCmdMsg(id, code, control);
    }
}

bool LMConsView::OnUpdateCmdUI(NCmdUI& cmd)
{
    const uint8_t state = State();
    const bool connected = state == LMCommThread::kConnected;
    const bool idleConnected = connected && !ProcedureActive();
    switch (cmd.id) {
    case kCmdConnect:
        cmd.Enable(m_worker != nullptr);
        cmd.SetCheck(state == LMCommThread::kConnecting || state == LMCommThread::kConnected);
        return true;
    case kCmdAltMode:
        cmd.Enable(m_config->Settings().ConMode.Get() != LMConsSettings::kTcpIp &&
                   !m_config->CopyString(&LMConsSettings::AltMode).empty());
        cmd.SetCheck(m_altMode);
        return true;
    case kCmdCopyVisible:
    case kCmdCopyWhole:
    case kCmdErase:
    case kCmdSetup:
        cmd.Enable(true);
        return true;
    case kCmdFollow:
        cmd.SetCheck(IsFollowing());
        return true;
    case kCmdPin:
        cmd.SetCheck(IsPinned());
        return true;
    case kCmdSuppress:
        cmd.SetCheck(m_config->Settings().SuppressFWUpd.Get());
        return true;
    case kCmdRecording:
    case kCmdCommandWindow:
        cmd.Enable(false);
        cmd.SetCheck(false);
        return true;
    case kCmdSend:
    case kCmdSendButton:
    case kCmdBaudTest:
    case kCmdFwCheck:
    case kCmdFwUpdate:
        cmd.Enable(idleConnected);
        return true;
    case kCmdAbort:
    case kCmdAbortButton:
    case kCmdReset:
    case kCmdDebugTest:
        cmd.Enable(connected);
        return true;
    default:
        return ConsoleWnd::OnUpdateCmdUI(cmd);
    }
}

void LMConsView::NotAvailableYet(const wchar_t* what)
{
    m_log.AddWarning(std::wstring(what) + L" is not available yet.", NTimeStamp::LocalNow());
    DrainLog();
}

void LMConsView::OnConnect()
{
    if (!m_worker)
        return;
    ReportState();
    const uint8_t state = State();
    if (state == LMCommThread::kIdle) {
        if (!m_worker->Connect(m_altMode)) {
            const DWORD error = ::GetLastError();
            // The worker took the connecting state but no thread runs to
            // leave it again: give it back, or the console stays "connecting".
            uint8_t connecting = LMCommThread::kConnecting;
            if (!m_worker->IsRunning() &&
                m_worker->m_state.compare_exchange_strong(connecting, LMCommThread::kIdle)) {
                Error(L"Cannot start the connection");
                Error(NSystemErrorText(error));
            }
        }
    } else if (state == LMCommThread::kConnecting || state == LMCommThread::kConnected) {
        StopWorker();
    }
    ReportState();
    DrainLog();
}

void LMConsView::OnAltMode()
{
    m_altMode = !m_altMode;
    if (State() != LMCommThread::kConnected || !m_worker->IsRunning() ||
        ::GetCurrentThreadId() == m_worker->ThreadId())
        return;
    const uint8_t wanted = m_altMode ? 1 : 0;
    if (m_worker->m_altMode.exchange(wanted) != wanted)
        m_worker->PostRequest(lmreq::kPortMode);
}

void LMConsView::OnSend()
{
    if (m_commands == nullptr || State() != LMCommThread::kConnected)
        return;
    std::wstring text;
    if (m_commands->Send(ProcedureActive(), text))
        m_worker->PostRequest(lmreq::kUserCommand, std::move(text));
}

void LMConsView::OnSetup()
{
    const LMConsSettings current = m_config->CopySettings();
    LMConsSetupDlgContext context;
    context.editable = false;  // the console is open
    context.isNew = false;
    context.currentName = current.Name;
    LMConsSettings result = current;
    HWND owner = ::GetParent(Handle()) != nullptr ? ::GetParent(Handle()) : Handle();
    // Only the dialog's own fields are taken: commands sent and folders
    // chosen while the dialog was up must not be undone by its old copy.
    if (LMRunConsSetupDlg(owner, &current, context, result) && !LMApplySetupDlgResult(*m_config, result))
        m_log.AddError(L"The console setup could not be applied", NTimeStamp::LocalNow());
}

void LMConsView::OnUpdateSetup()
{
    LoadColours();
    LoadFont();
    DrainLog();
    if (m_worker && m_worker->IsRunning())
        m_worker->PostRequest(lmreq::kSettings);
}

void LMConsView::OnResetBoard()
{
    if (!m_worker || !m_worker->RequestReset())
        Error(L"Worker rejected a reset request");
    DrainLog();
}

void LMConsView::OnShutdown()
{
    StopWorker();
    DrainLog();
}
