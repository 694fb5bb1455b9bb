// Where a console window and its bars were: restored at the first paint,
// stored when the window is destroyed.
#include "config/LMConsConfig.h"
#include "config/win32/LMRegisteredMessages.h"
#include "console/win32/LMConsFrame.h"
#include "foundation/WindowPlacementText.h"
#include "foundation/win32/WindowPlacement.h"

namespace {
constexpr int kKeepShowCmd = -1;

std::wstring PlacementOf(HWND window, int showCmd)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (window == nullptr || !::GetWindowPlacement(window, &placement))
        return std::wstring();
    if (showCmd != kKeepShowCmd)
        placement.showCmd = static_cast<UINT>(showCmd);
    return NPlacementToText(placement).Format();
}

// Parses text and applies it; false (and nothing applied) for an empty or
// unreadable text or a window that is gone.
bool Restore(HWND window, const std::wstring& text, WINDOWPLACEMENT& placement)
{
    NWindowPlacementText fields;
    if (text.empty() || window == nullptr || !::IsWindow(window) || !fields.Parse(text))
        return false;
    placement = NPlacementFromText(fields);
    return true;
}
}  // namespace

LMConsFrame::SPlacements LMConsFrame::CurrentPlacements() const
{
    SPlacements now;
    now.frame = PlacementOf(Handle(), kKeepShowCmd);
    // A bar's show command records whether its band was shown, which its
    // window placement alone does not tell.
    now.mainBar = PlacementOf(m_mainBar.Handle(), IsBarVisible(m_mainBar) ? SW_SHOWNORMAL : SW_HIDE);
    now.commandBar = PlacementOf(m_commandBar.Handle(), IsBarVisible(m_commandBar) ? SW_SHOWNORMAL : SW_HIDE);
    now.batchBar = PlacementOf(m_batchBar.Handle(), IsBarVisible(m_batchBar) ? SW_SHOWNORMAL : SW_HIDE);
    return now;
}

void LMConsFrame::SavePlacements()
{
    SPlacements now = CurrentPlacements();
    NLockGuard guard(m_config.Lock());
    LMConsSettings& settings = m_config.Settings();
    // A text that could not be read leaves the stored one alone.
    if (!now.frame.empty())
        settings.ConWndPos = std::move(now.frame);
    if (!now.mainBar.empty())
        settings.ConWndTBPos = std::move(now.mainBar);
    if (!now.commandBar.empty())
        settings.ConWndCBPos = std::move(now.commandBar);
    if (!now.batchBar.empty())
        settings.ConWndBBPos = std::move(now.batchBar);
}

void LMConsFrame::OnFirstPaint()
{
    m_firstPaintPending = false;
    const std::wstring frameText = m_config.CopyString(&LMConsSettings::ConWndPos);
    const std::wstring mainText = m_config.CopyString(&LMConsSettings::ConWndTBPos);
    const std::wstring commandText = m_config.CopyString(&LMConsSettings::ConWndCBPos);
    const std::wstring batchText = m_config.CopyString(&LMConsSettings::ConWndBBPos);

    WINDOWPLACEMENT placement{};
    if (Restore(Handle(), frameText, placement)) {
        // Only normal and maximized windows are ever stored; anything else
        // (a hand-edited value) would leave the console hidden or minimized.
        if (placement.showCmd != SW_SHOWMAXIMIZED)
            placement.showCmd = SW_SHOWNORMAL;
        ::SetWindowPlacement(Handle(), &placement);
    }
    struct SBar {
        IconToolBar& bar;
        const std::wstring& text;
    };
    const SBar bars[] = {{m_mainBar, mainText}, {m_commandBar, commandText}, {m_batchBar, batchText}};
    for (const SBar& bar : bars) {
        if (!Restore(bar.bar.Handle(), bar.text, placement))
            continue;
        const bool visible = placement.showCmd != SW_HIDE;
        // The band decides where its bar sits; the placement only moves it
        // until the next layout, which is posted below.
        placement.showCmd = visible ? SW_SHOWNA : SW_HIDE;
        ::SetWindowPlacement(bar.bar.Handle(), &placement);
        ShowBar(bar.bar, visible);
    }
    ::PostMessageW(Handle(), LMMessage(lmmsg::kRecalcLayout), 0, 0);
    StartBatchWatchNotYetAvailable();
}
