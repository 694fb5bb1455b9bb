// The console frame's bars: creation, bands shown and hidden, icon size and
// the Connect button.
#include <windows.h>
#include <commctrl.h>

#include "config/LMGlobalPrefs.h"
#include "console/win32/LMConsFrame.h"

namespace {
// A stored extent that is not positive or absurdly large (a hand-edited
// registry) falls back to the default rather than giving an unusable combo.
int SaneExtent(int value, int fallback)
{
    return value > 0 && value <= 4096 ? value : fallback;
}

int ComboWidthPreference()
{
    return SaneExtent(LMGlobalPrefs::Instance().CmdDropDownWidth.load(), 320);
}

int ComboHeightPreference()
{
    return SaneExtent(LMGlobalPrefs::Instance().CmdDropDownHeight.load(), 480);
}
}  // namespace

bool LMConsFrame::CreateBars()
{
    LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
    const int size = prefs.ConsoleToolbarIconSize.load();
    HWND self = Handle();
    const std::vector<IconToolBar::SButton> mainButtons = {
        {kCmdConnect, kConnectIcons[0]}, {32790, 224}, {32842, 225}, {57634, 274}, {32841, 275}, {57633, 227},
        {0, 0}, {32848, 273}, {32786, 228}, {32787, 229}, {0, 0}, {32792, 230}, {0, 0},
        {32801, 231}, {32840, 232}, {32803, 233}};
    if (!m_mainBar.Create(self, self, kIdMainBar, size, mainButtons))
        return false;

    ToolBarWithCombo::SCombo command;
    command.id = kIdCommandCombo;
    command.slot = 1;
    command.editable = true;
    command.enterCommand = 1014;
    command.width = ComboWidthPreference();
    command.dropHeight = ComboHeightPreference();
    if (!m_commandBar.Create(self, self, kIdCommandBar, size,
                             {{kBtnDeleteCommand, 240}, {0, 0}, {1014, 241}, {1015, 242}, {kBtnImportCommands, 244},
                              {kBtnExportCommands, 245}},
                             command))
        return false;

    ToolBarWithCombo::SCombo batch = command;
    batch.id = kIdBatchCombo;
    batch.slot = 3;
    batch.editable = false;
    batch.enterCommand = 0;
    if (!m_batchBar.Create(self, self, kIdBatchBar, size,
                           {{32829, 250}, {32831, 251}, {32830, 252}, {0, 0}, {32832, 253}, {32833, 254}}, batch))
        return false;

    if (!m_rebar.Create(self, kIdReBar, RBS_VARHEIGHT | RBS_AUTOSIZE | RBS_DBLCLKTOGGLE))
        return false;
    if (!m_rebar.AddBar(m_mainBar.Handle(), m_mainBar.IdealSize()) ||
        !m_rebar.AddBar(m_commandBar.Handle(), m_commandBar.IdealSize()) ||
        !m_rebar.AddBar(m_batchBar.Handle(), m_batchBar.IdealSize()))
        return false;
    // Each bar starts a row of its own: side by side the wide combos would
    // squeeze the later bars out of sight in a window of ordinary width.
    for (UINT index = 1; index < 3; ++index)
        SetBandStyle(index, BandStyle(index) | RBBS_BREAK);
    return true;
}

UINT LMConsFrame::BandStyle(UINT index) const
{
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE;
    if (!::SendMessageW(m_rebar.Handle(), RB_GETBANDINFOW, index, reinterpret_cast<LPARAM>(&band)))
        return 0;
    return band.fStyle;
}

void LMConsFrame::SetBandStyle(UINT index, UINT style)
{
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE;
    band.fStyle = style;
    ::SendMessageW(m_rebar.Handle(), RB_SETBANDINFOW, index, reinterpret_cast<LPARAM>(&band));
}

bool LMConsFrame::CreateStatusBar()
{
    if (!m_status.Create(Handle(), kIdViewStatusBar))
        return false;
    // Nothing drives the progress bar yet; it waits hidden in the first pane.
    const RECT none{0, 0, 0, 0};
    if (!m_progress.Create(m_status.Handle(), kIdProgress, none, WS_CHILD))
        return false;
    PlaceProgress();
    return true;
}

void LMConsFrame::PlaceProgress()
{
    if (m_progress.Handle() == nullptr || m_status.Handle() == nullptr)
        return;
    RECT pane{};
    if (!::SendMessageW(m_status.Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&pane)))
        return;
    // The right part of the message pane, leaving room for the message.
    const int width = (pane.right - pane.left) / 3;
    ::MoveWindow(m_progress.Handle(), pane.right - width, pane.top + 1, width, pane.bottom - pane.top - 2, TRUE);
}

int LMConsFrame::BandIndexOf(HWND barWindow) const
{
    if (barWindow == nullptr || m_rebar.Handle() == nullptr)
        return -1;
    const UINT count = m_rebar.BandCount();
    for (UINT i = 0; i < count; ++i) {
        REBARBANDINFOW band{};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_CHILD;
        if (::SendMessageW(m_rebar.Handle(), RB_GETBANDINFOW, i, reinterpret_cast<LPARAM>(&band)) &&
            band.hwndChild == barWindow)
            return static_cast<int>(i);
    }
    return -1;
}

bool LMConsFrame::IsBarVisible(const IconToolBar& bar) const
{
    const int index = BandIndexOf(bar.Handle());
    return index >= 0 && (BandStyle(static_cast<UINT>(index)) & RBBS_HIDDEN) == 0;
}

void LMConsFrame::ShowBar(IconToolBar& bar, bool visible)
{
    const int index = BandIndexOf(bar.Handle());
    if (index < 0)
        return;
    ::SendMessageW(m_rebar.Handle(), RB_SHOWBAND, static_cast<WPARAM>(index), visible ? TRUE : FALSE);
    RecalcLayout();
}

bool LMConsFrame::RebuildBars(int iconSize)
{
    // The bands stay where the user put them, hidden or shown, on their
    // rows; each gets its rebuilt bar.
    struct SBand {
        IconToolBar& bar;
        int index;
        UINT style;
    };
    SBand bands[] = {{m_mainBar, BandIndexOf(m_mainBar.Handle()), 0},
                     {m_commandBar, BandIndexOf(m_commandBar.Handle()), 0},
                     {m_batchBar, BandIndexOf(m_batchBar.Handle()), 0}};
    for (SBand& band : bands)
        band.style = band.index >= 0 ? BandStyle(static_cast<UINT>(band.index)) : 0;
    // The combos pick up changed preferences, as the icon size does.
    m_commandBar.SetExtents(ComboWidthPreference(), ComboHeightPreference());
    m_batchBar.SetExtents(ComboWidthPreference(), ComboHeightPreference());
    bool ok = m_mainBar.Rebuild(iconSize);
    ok = m_commandBar.Rebuild(iconSize) && ok;
    ok = m_batchBar.Rebuild(iconSize) && ok;
    m_commands.SetCombo(m_commandBar.Combo());
    for (SBand& band : bands) {
        if (band.index < 0 || band.bar.Handle() == nullptr)
            continue;
        const UINT index = static_cast<UINT>(band.index);
        ok = m_rebar.ReplaceBar(index, band.bar.Handle(), band.bar.IdealSize()) && ok;
        SetBandStyle(index, band.style & ~static_cast<UINT>(RBBS_HIDDEN));
        ::SendMessageW(m_rebar.Handle(), RB_SHOWBAND, index, (band.style & RBBS_HIDDEN) == 0 ? TRUE : FALSE);
    }
    return ok;
}

void LMConsFrame::SetIconSize(int size)
{
    LMGlobalPrefs::Instance().ConsoleToolbarIconSize.store(size);
    RebuildBars(size);
    RecalcLayout();
}

void LMConsFrame::SetConnectState(int state)
{
    if (state < 0 || state > 3)
        state = 0;
    // Each new icon adds an image to the bar's list: only real changes count.
    if (state == m_connectState)
        return;
    m_connectState = state;
    m_mainBar.SetButtonIcon(kCmdConnect, kConnectIcons[state]);
}

void LMConsFrame::RecalcLayout()
{
    // The rebar reports a height change while it is being laid out.
    if (m_inLayout)
        return;
    m_inLayout = true;
    NFrameWnd::RecalcLayout();
    PlaceProgress();
    m_inLayout = false;
}
