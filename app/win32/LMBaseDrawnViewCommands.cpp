// The "&Console" and "&Setup" commands of the console list and their update
// handlers.
#include <chrono>
#include <thread>

#include "app/LMConsConfigRow.h"
#include "app/LMConsListTexts.h"
#include "app/win32/LMBaseDrawnView.h"
#include "config/LMConsConfig.h"
#include "config/LMGlobalPrefs.h"
#include "config/win32/LMConsSetupDlgFont.h"
#include "config/win32/LMConsSetupDlgSettings.h"
#include "config/win32/LMNewKeyName.h"
#include "config/win32/LMRegisteredMessages.h"
#include "console/win32/LMConsThread.h"
#include "framework/win32/NMessageBox.h"
#include "resources/resource.h"

namespace {
constexpr const wchar_t* kThreadError = L"Error creating a console window thread";
constexpr const wchar_t* kThreadErrorTitle = L"Open Console Error";
constexpr const wchar_t* kApplyError = L"The console's settings could not be applied";
constexpr const wchar_t* kApplyErrorTitle = L"Console Setup Error";
}  // namespace

bool LMBaseDrawnView::OnCmdMsg(UINT id, UINT code, HWND control)
{
    switch (id) {
    case ID_CONSOLE_ADD: AddConsole(); break;
    case ID_CONSOLE_REMOVE: RemoveConsoles(); break;
    case ID_CONSOLE_SETUP: SetupConsole(); break;
    case ID_CONSOLE_ENABLE: m_list.ToggleEnable(); break;
    case ID_CONSOLE_RESET_SELECTED: ResetBoards(true); break;
    case ID_CONSOLE_RESET_ALL: ResetBoards(false); break;
    case ID_CONSOLE_MOVE_UP: m_list.Move(true); break;
    case ID_CONSOLE_MOVE_DOWN: m_list.Move(false); break;
    case ID_CONSOLE_OPEN: OpenConsoles(true); break;
    case ID_CONSOLE_OPEN_ALL: OpenConsoles(false); break;
    case ID_CONSOLE_MINIMIZE_ALL: PostToOpenConsoles(LMMessage(lmmsg::kMinimize)); break;
    case ID_CONSOLE_CLOSE_ALL: CloseAllConsoles(); break;
    case ID_SETUP_RECORDING: return true;  // the recording setup dialog is not built yet
    case ID_SETUP_LIST_FONT: ChooseListFont(); break;
    case ID_SETUP_DEFAULT_FONT: UseDefaultFont(); break;
    default: return false;
    }
    AfterCommand();
    return true;
}

bool LMBaseDrawnView::OnUpdateCmdUI(NCmdUI& cmd)
{
    switch (cmd.id) {
    case ID_CONSOLE_ADD: cmd.Enable(true); break;
    case ID_CONSOLE_REMOVE: cmd.Enable(m_list.Any(ELMConsRowFilter::kNotOpen, true)); break;
    case ID_CONSOLE_SETUP: cmd.Enable(m_list.SelectedCount() == 1); break;
    case ID_CONSOLE_ENABLE:
        cmd.Enable(!m_list.EnableChange().rows.empty());
        cmd.SetCheck(m_list.Any(ELMConsRowFilter::kEnabled, true));
        break;
    case ID_CONSOLE_RESET_SELECTED: cmd.Enable(m_list.Any(ELMConsRowFilter::kConnected, true)); break;
    case ID_CONSOLE_RESET_ALL: cmd.Enable(m_list.Any(ELMConsRowFilter::kConnected, false)); break;
    case ID_CONSOLE_MOVE_UP: cmd.Enable(m_list.CanMove(true)); break;
    case ID_CONSOLE_MOVE_DOWN: cmd.Enable(m_list.CanMove(false)); break;
    case ID_CONSOLE_OPEN: cmd.Enable(m_list.Any(ELMConsRowFilter::kOpenable, true)); break;
    case ID_CONSOLE_OPEN_ALL: cmd.Enable(m_list.Any(ELMConsRowFilter::kOpenable, false)); break;
    case ID_CONSOLE_MINIMIZE_ALL:
    case ID_CONSOLE_CLOSE_ALL: cmd.Enable(m_list.Any(ELMConsRowFilter::kOpen, false)); break;
    case ID_SETUP_RECORDING: cmd.Enable(false); break;
    case ID_SETUP_LIST_FONT:
    case ID_SETUP_DEFAULT_FONT: cmd.Enable(true); break;
    default: return false;
    }
    return true;
}

void LMBaseDrawnView::AfterCommand()
{
    RequestLayout();
}

LMConsSetupDlgContext LMBaseDrawnView::SetupContext(const LMConsConfig* editing) const
{
    LMConsSetupDlgContext context;
    context.isNew = editing == nullptr;
    context.editable = editing == nullptr || editing->ConsoleThread() == nullptr;
    for (size_t i = 0; i < m_list.Count(); ++i) {
        const LMConsConfig* c = m_list.At(i);
        const std::wstring name = c->CopyString(&LMConsSettings::Name);
        if (c == editing)
            context.currentName = name;
        else
            context.namesInUse.push_back(name);
    }
    context.ports = m_ports.DialogPorts();
    return context;
}

void LMBaseDrawnView::AddConsole()
{
    LMConsSettings result = LMConsSettings::Defaults();
    if (!m_runSetup || !m_runSetup(Handle(), nullptr, SetupContext(nullptr), result))
        return;
    auto config = std::make_unique<LMConsConfig>(LMNewConsoleKeyName(), result);
    config->SetEnvironment(&m_env);
    m_list.Append(std::move(config));
}

void LMBaseDrawnView::SetupConsole()
{
    if (m_list.SelectedCount() != 1)
        return;
    const std::vector<size_t> rows = m_list.Rows(ELMConsRowFilter::kAll, true);
    LMConsConfig* config = m_list.At(rows.front());
    const LMConsSettings current = config->CopySettings();
    LMConsSettings result = current;
    if (!m_runSetup || !m_runSetup(Handle(), &current, SetupContext(config), result))
        return;
    // The console may have been opened meanwhile; Apply refuses what an open
    // console cannot take, and the user must hear that nothing changed. Only
    // the dialog's own fields are taken: an open console went on changing
    // its history, folders and placements while the dialog was up.
    if (!LMApplySetupDlgResult(*config, result))
        NMessageBox(Handle(), kApplyError, kApplyErrorTitle, MB_OK | MB_ICONEXCLAMATION);
}

void LMBaseDrawnView::RemoveConsoles()
{
    const std::vector<size_t> rows = m_list.RemovableRows();
    if (rows.empty())
        return;
    const SLMConfirmText ask = LMRemoveConfirmText(m_list.Names(rows));
    if (NMessageBox(Handle(), ask.text, ask.title, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    m_list.Remove(rows);
}

void LMBaseDrawnView::ResetBoards(bool selectedOnly)
{
    const std::vector<size_t> rows = m_list.Rows(ELMConsRowFilter::kConnected, selectedOnly);
    if (rows.empty())
        return;
    std::vector<LMConsConfig*> configs;
    for (size_t r : rows)
        configs.push_back(m_list.At(r));
    const SLMConfirmText ask = LMResetConfirmText(m_list.Names(rows));
    if (NMessageBox(Handle(), ask.text, ask.title, MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
        return;
    // A board that went off line while the question was shown is left alone.
    for (LMConsConfig* c : configs)
        if (LMConsConfigRow(*c).IsConnected())
            c->PostToConsole(LMMessage(lmmsg::kResetBoard));
}

void LMBaseDrawnView::OpenConsoles(bool selectedOnly)
{
    const UINT bringToFront = LMMessage(lmmsg::kBringToFront);
    int failures = 0;
    for (size_t r : m_list.Rows(ELMConsRowFilter::kOpenable, selectedOnly)) {
        LMConsConfig* config = m_list.At(r);
        bool alreadyOpen = false;
        {
            NLockGuard guard(config->Lock());
            if (config->ConsoleThread() != nullptr) {
                alreadyOpen = true;
            } else {
                auto* thread = new LMConsThread(config);
                if (!thread->CreateThread(true)) {
                    // Never started, so it cannot delete itself.
                    delete thread;
                    ++failures;
                    continue;
                }
                config->SetConsoleThread(thread);
                thread->ResumeThread();
            }
        }
        // Posted outside the lock: PostToConsole takes it itself.
        if (alreadyOpen)
            config->PostToConsole(bringToFront);
    }
    for (int i = 0; i < failures; ++i)
        NMessageBox(Handle(), kThreadError, kThreadErrorTitle, MB_OK | MB_ICONSTOP);
}

void LMBaseDrawnView::PostToOpenConsoles(UINT message)
{
    for (size_t r : m_list.Rows(ELMConsRowFilter::kOpen, false))
        m_list.At(r)->PostToConsole(message);
}

void LMBaseDrawnView::CloseAllConsoles()
{
    PostToOpenConsoles(WM_CLOSE);
    for (size_t i = 0; i < m_list.Count(); ++i) {
        LMConsConfig* config = m_list.At(i);
        if (config->ConsoleThread() == nullptr)
            continue;
        // No time limit: a console is never left running behind a closed list.
        // A console whose window does not exist yet cannot take the message,
        // so it is posted again until it goes through; otherwise a console
        // opened a moment ago would be waited for forever.
        bool posted = config->PostToConsole(WM_CLOSE);
        while (config->ConsoleThread() != nullptr) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (!posted)
                posted = config->PostToConsole(WM_CLOSE);
        }
    }
}

void LMBaseDrawnView::ChooseListFont()
{
    LOGFONTW font{};
    if (::GetObjectW(ListFont(), sizeof font, &font) == 0)
        return;
    if (!m_chooseFont || !m_chooseFont(Handle(), font))
        return;
    LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
    prefs.SetString(prefs.BaseListFontCode, LMCodeFromFont(font));
    DropFont();
}

void LMBaseDrawnView::UseDefaultFont()
{
    LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
    prefs.SetString(prefs.BaseListFontCode, L"");
    DropFont();
}
