// The commands the console frame handles itself and their menu and button
// states; the view has had its turn before any of these is asked.
#include "config/LMGlobalPrefs.h"
#include "console/win32/LMConsFrame.h"

namespace {
int IconSizeIndex(UINT id)
{
    if (id < LMConsFrame::kCmdIconsSmall || id > LMConsFrame::kCmdIconsDefault)
        return -1;
    return static_cast<int>(id - LMConsFrame::kCmdIconsSmall);
}
}  // namespace

bool LMConsFrame::OnCmdMsg(UINT id, UINT code, HWND control)
{
    if (const int index = IconSizeIndex(id); index >= 0) {
        SetIconSize(kIconSizes[index]);
        return true;
    }
    switch (id) {
    case kIdViewToolBar:
        // The console's "Toolbar" is the main toolbar's band, not the whole rebar.
        ShowBar(m_mainBar, !IsBarVisible(m_mainBar));
        return true;
    case kCmdCommandBar:
        ShowBar(m_commandBar, !IsBarVisible(m_commandBar));
        return true;
    case kCmdBatchBar:
        ShowBar(m_batchBar, !IsBarVisible(m_batchBar));
        return true;
    case kCmdEditCommand:
        // F2 reaches here through the accelerators whatever the menu shows.
        if (IsBarVisible(m_commandBar))
            m_commands.Edit();
        return true;
    case kCmdDeleteCommand:
    case kBtnDeleteCommand:
        if (m_commands.HasEntries())
            m_commands.Delete();
        return true;
    case kCmdExportCommands:
    case kBtnExportCommands:
        m_commands.Export(Handle());
        return true;
    case kCmdImportCommands:
    case kBtnImportCommands:
        m_commands.Import(Handle());
        return true;
    default:
        return NFrameWnd::OnCmdMsg(id, code, control);
    }
}

bool LMConsFrame::OnUpdateCmdUI(NCmdUI& cmd)
{
    if (const int index = IconSizeIndex(cmd.id); index >= 0) {
        cmd.Enable(true);
        cmd.SetCheck(LMGlobalPrefs::Instance().ConsoleToolbarIconSize.load() == kIconSizes[index]);
        return true;
    }
    switch (cmd.id) {
    case kIdViewToolBar:
        cmd.Enable(true);
        cmd.SetCheck(IsBarVisible(m_mainBar));
        return true;
    case kCmdCommandBar:
        cmd.Enable(true);
        cmd.SetCheck(IsBarVisible(m_commandBar));
        return true;
    case kCmdBatchBar:
        cmd.Enable(true);
        cmd.SetCheck(IsBarVisible(m_batchBar));
        return true;
    case kCmdEditCommand:
        cmd.Enable(IsBarVisible(m_commandBar));
        return true;
    case kCmdDeleteCommand:
    case kBtnDeleteCommand:
        cmd.Enable(m_commands.HasEntries());
        return true;
    case kCmdExportCommands:
    case kBtnExportCommands:
    case kCmdImportCommands:
    case kBtnImportCommands:
        cmd.Enable(true);
        return true;
    case kCmdBatchFolder:
    case kCmdBatchEdit:
    case kCmdBatchEditor:
    case kCmdBatchRun:
    case kCmdBatchIgnoreErrors:
    case kCmdBatchSelect:
        // Batches are not handled yet: greyed rather than doing nothing.
        cmd.Enable(false);
        return true;
    default:
        return NFrameWnd::OnUpdateCmdUI(cmd);
    }
}

void LMConsFrame::OnIdleUpdate()
{
    NFrameWnd::OnIdleUpdate();
    const auto update = [this](NCmdUI& cmd) { return RouteUpdate(cmd); };
    m_commandBar.UpdateCmdUI(update);
    m_batchBar.UpdateCmdUI(update);
}
