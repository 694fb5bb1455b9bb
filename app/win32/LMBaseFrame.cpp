#include "app/win32/LMBaseFrame.h"

#include "config/LMGlobalPrefs.h"
#include "app/win32/LMApp.h"
#include "config/win32/LMRegisteredMessages.h"
#include "foundation/WindowPlacementText.h"
#include "foundation/win32/WindowPlacement.h"
#include "framework/win32/NIconCache.h"
#include "resources/resource.h"
#include "transport/win32/NCOMPortEnumThread.h"

namespace {
constexpr UINT kIconSizeCommands[5] = {ID_VIEW_ICONS_SMALL, ID_VIEW_ICONS_MEDIUM, ID_VIEW_ICONS_LARGE,
                                       ID_VIEW_ICONS_XLARGE, ID_VIEW_ICONS_DEFAULT};
constexpr int kIconSizes[5] = {16, 24, 32, 48, 0};
// WM_DEVICECHANGE events after which the serial ports may differ.
constexpr WPARAM kDevNodesChanged = 0x0007, kDeviceArrival = 0x8000, kDeviceRemoveComplete = 0x8004;

const std::vector<IconToolBar::SButton>& ToolBarButtons()
{
    static const std::vector<IconToolBar::SButton> buttons = {
        {ID_CONSOLE_OPEN, IDI_OPEN_SHOW},     {ID_CONSOLE_OPEN_ALL, IDI_OPEN_SHOW_ALL},
        {ID_CONSOLE_MINIMIZE_ALL, IDI_MINIMIZE_ALL}, {0, 0},
        {ID_SETUP_RECORDING, IDI_RECORDING},  {ID_SETUP_LIST_FONT, IDI_LIST_FONT},
        {0, 0},                               {ID_CONSOLE_ADD, IDI_ADD},
        {ID_CONSOLE_SETUP, IDI_SETUP},        {ID_CONSOLE_ENABLE, IDI_ENABLE},
        {ID_CONSOLE_REMOVE, IDI_REMOVE},      {0, 0},
        {ID_CONSOLE_MOVE_UP, IDI_MOVE_UP},    {ID_CONSOLE_MOVE_DOWN, IDI_MOVE_DOWN},
        {0, 0},                               {ID_APP_ABOUT, IDI_ABOUT},
    };
    return buttons;
}

}  // namespace

LMBaseFrame::LMBaseFrame()
{
    SetView(&m_view);
    SetBars(&m_rebar, &m_toolbar, &m_status);
}

LMBaseFrame::~LMBaseFrame()
{
    // Destroyed here, while the handlers of this class still exist.
    DestroyWindow();
}

bool LMBaseFrame::CreateToolBar()
{
    const int size = LMGlobalPrefs::Instance().BaseToolbarIconSize.load();
    const bool rebuilt = m_toolbar.Handle() != nullptr;
    if (!(rebuilt ? m_toolbar.Rebuild(size)
                  : m_toolbar.Create(m_rebar.Handle(), Handle(), kToolBarId, size, ToolBarButtons())))
        return false;
    if (rebuilt)
        return m_rebar.ReplaceBar(0, m_toolbar.Handle(), m_toolbar.IdealSize());
    return m_rebar.AddBar(m_toolbar.Handle(), m_toolbar.IdealSize());
}

bool LMBaseFrame::OnCreate(const CREATESTRUCTW& create)
{
    RECT none{0, 0, 0, 0};
    if (!m_view.Create(Handle(), kIdFirstPane, none, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL))
        return false;
    if (!m_rebar.Create(Handle(), kReBarId) || !CreateToolBar())
        return false;
    if (!m_status.Create(Handle(), kStatusBarId))
        return false;
    NIconCache& icons = NIconCache::Instance();
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(icons.Get(IDR_MAINFRAME, ::GetSystemMetrics(SM_CXICON))));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(icons.Get(IDR_MAINFRAME, ::GetSystemMetrics(SM_CXSMICON))));
    return true;
}

void LMBaseFrame::ApplySavedPlacement()
{
    LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
    const std::wstring text = prefs.CopyString(prefs.BaseWindowPlacement);
    NWindowPlacementText fields;
    if (text.empty() || !fields.Parse(text))
        return;
    const WINDOWPLACEMENT placement = NPlacementFromText(fields);
    ::SetWindowPlacement(Handle(), &placement);
}

void LMBaseFrame::OnDestroy()
{
    if (::IsIconic(Handle()))
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(Handle(), &placement))
        return;
    LMGlobalPrefs& prefs = LMGlobalPrefs::Instance();
    prefs.SetString(prefs.BaseWindowPlacement, NPlacementToText(placement).Format());
}

void LMBaseFrame::BringToFront()
{
    if (!::IsIconic(Handle()))
        ::ShowWindow(Handle(), SW_MINIMIZE);
    ::SetActiveWindow(Handle());
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(Handle());
    ::BringWindowToTop(Handle());
}

bool LMBaseFrame::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == LMMessage(lmmsg::kBringToFront)) {
        BringToFront();
        result = 0;
        return true;
    }
    if (message == WM_PAINT && m_placementPending) {
        m_placementPending = false;
        ApplySavedPlacement();
        return false;
    }
    if (message == WM_DEVICECHANGE && (wParam == kDevNodesChanged || wParam == kDeviceArrival ||
                                       wParam == kDeviceRemoveComplete)) {
        NCOMPortEnumThread::Global().RequestScan(true);
        ::PostMessageW(m_view.Handle(), LMMessage(lmmsg::kUpdateDevice), 0, 0);
        return false;
    }
    if (message == WM_ENTERIDLE) {
        if (auto* app = LMApp::Instance())
            app->IdleWhileModal();
        return false;
    }
    return false;
}

bool LMBaseFrame::OnCmdMsg(UINT id, UINT code, HWND control)
{
    for (int i = 0; i < 5; ++i) {
        if (id == kIconSizeCommands[i]) {
            LMGlobalPrefs::Instance().BaseToolbarIconSize.store(kIconSizes[i]);
            CreateToolBar();
            RecalcLayout();
            return true;
        }
    }
    return NFrameWnd::OnCmdMsg(id, code, control);
}

bool LMBaseFrame::OnUpdateCmdUI(NCmdUI& cmd)
{
    for (int i = 0; i < 5; ++i) {
        if (cmd.id == kIconSizeCommands[i]) {
            cmd.SetCheck(LMGlobalPrefs::Instance().BaseToolbarIconSize.load() == kIconSizes[i]);
            return true;
        }
    }
    return NFrameWnd::OnUpdateCmdUI(cmd);
}
