#pragma once
// The top-level window of one open console, on the console's own thread: the
// console menu, a rebar with the main toolbar, the command bar and the batch
// bar, a status bar with a text progress bar, and the log view as its only
// client. Commands go to the view first and then to the frame; registered
// messages from the main window are handled here or passed on to the view.
//
// Thread: every member is the console thread's own. Other threads reach the
// frame only by posted registered messages.
#include <windows.h>

#include <string>
#include <vector>

#include "console/win32/LMConsCommands.h"
#include "console/win32/LMConsView.h"
#include "foundation/win32/Handles.h"
#include "framework/win32/IconToolBar.h"
#include "framework/win32/NFrameWnd.h"
#include "framework/win32/NReBar.h"
#include "framework/win32/NStatusBar.h"
#include "framework/win32/NTextProgressCtrl.h"
#include "framework/win32/ToolBarWithCombo.h"

class LMConsConfig;

class LMConsFrame : public NFrameWnd {
public:
    // Control IDs of the bars and the controls inside them.
    static constexpr UINT kIdMainBar = 59392;
    static constexpr UINT kIdCommandBar = 132;
    static constexpr UINT kIdBatchBar = 133;
    static constexpr UINT kIdReBar = 59396;
    static constexpr UINT kIdProgress = 134;
    static constexpr UINT kIdCommandCombo = 1012;
    static constexpr UINT kIdBatchCombo = 1013;
    static constexpr UINT kIdMenu = 131;  // menu and icon

    // Commands the frame itself handles.
    static constexpr UINT kCmdCommandBar = 32783;
    static constexpr UINT kCmdBatchBar = 32784;
    static constexpr UINT kCmdIconsSmall = 32849;  // .. kCmdIconsDefault, in kIconSizes order
    static constexpr UINT kCmdIconsDefault = 32853;
    static constexpr int kIconSizes[5] = {16, 24, 32, 48, 0};
    static constexpr UINT kCmdConnect = 32780;
    static constexpr UINT kCmdEditCommand = 32800;
    static constexpr UINT kCmdDeleteCommand = 32843, kBtnDeleteCommand = 1020;
    static constexpr UINT kCmdExportCommands = 32846, kBtnExportCommands = 1017;
    static constexpr UINT kCmdImportCommands = 32847, kBtnImportCommands = 1016;
    static constexpr UINT kCmdBatchFolder = 32829, kCmdBatchEdit = 32830, kCmdBatchEditor = 32831,
                          kCmdBatchRun = 32832, kCmdBatchIgnoreErrors = 32833, kCmdBatchSelect = 32834;

    // Icons of the Connect button by the worker's connection state 0..3.
    static constexpr UINT kConnectIcons[4] = {222, 223, 220, 221};

    // Where a console opened before: the placement texts of the frame and
    // its three bars.
    struct SPlacements {
        std::wstring frame, mainBar, commandBar, batchBar;
    };

    // config must outlive the frame; it is not owned.
    explicit LMConsFrame(LMConsConfig& config);
    // Destroys the window first, so the destruction steps run with every
    // member still alive.
    ~LMConsFrame() override;

    LMConsConfig& Config() const noexcept { return m_config; }
    LMConsView& View() noexcept { return m_view; }
    LMConsCommands& Commands() noexcept { return m_commands; }
    IconToolBar& MainBar() noexcept { return m_mainBar; }
    ToolBarWithCombo& CommandBar() noexcept { return m_commandBar; }
    ToolBarWithCombo& BatchBar() noexcept { return m_batchBar; }
    NReBar& ReBar() noexcept { return m_rebar; }
    NStatusBar& StatusBar() noexcept { return m_status; }
    NTextProgressCtrl& Progress() noexcept { return m_progress; }
    const std::wstring& Title() const noexcept { return m_title; }
    bool FirstPaintPending() const noexcept { return m_firstPaintPending; }
    int ConnectState() const noexcept { return m_connectState; }

    // A bar's band in the rebar: shown or hidden, wherever the user dragged it.
    bool IsBarVisible(const IconToolBar& bar) const;
    void ShowBar(IconToolBar& bar, bool visible);
    // Stores size in the global preference and rebuilds the bars at it.
    void SetIconSize(int size);
    // The Connect button's icon for a connection state; others show idle.
    void SetConnectState(int state);

    // The placements as they would be stored now.
    SPlacements CurrentPlacements() const;

    void RecalcLayout() override;
    bool OnCmdMsg(UINT id, UINT code, HWND control) override;
    bool OnUpdateCmdUI(NCmdUI& cmd) override;
    void OnIdleUpdate() override;

    // The wake-up check of the application's idle processing, run while a
    // menu or modal dialog of a console is open; the application installs it
    // (the console folder cannot reach the application object). May be null.
    using WakeUpCheck = void (*)();
    static void SetWakeUpCheck(WakeUpCheck check) noexcept;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCreate(const CREATESTRUCTW& create) override;
    void OnDestroy() override;

private:
    // Creation steps, each false on failure.
    bool CreateBars();
    bool CreateStatusBar();
    void SetWindowIcons();

    // Registered messages; true when message was one of them.
    bool OnRegisteredMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void BringToFront();
    void OnFirstPaint();
    void OnEnterIdle();
    void SavePlacements();

    // Band index of the band holding bar's window, or -1.
    int BandIndexOf(HWND barWindow) const;
    UINT BandStyle(UINT index) const;
    void SetBandStyle(UINT index, UINT style);
    bool RebuildBars(int iconSize);
    void PlaceProgress();

    // The batch folder watch arrives with the batch handling; until then
    // these keep its place in the frame's life cycle.
    void StartBatchWatchNotYetAvailable() {}
    void StopBatchWatchNotYetAvailable() {}
    void RescanBatchFolderNotYetAvailable() {}

    LMConsConfig& m_config;  // not owned
    bool m_firstPaintPending = true;
    bool m_created = false;  // every creation step succeeded; cleared at destruction
    bool m_inLayout = false;
    std::wstring m_title;
    NReBar m_rebar;
    NTextProgressCtrl m_progress;
    NStatusBar m_status;
    IconToolBar m_mainBar;
    ToolBarWithCombo m_commandBar;
    ToolBarWithCombo m_batchBar;
    LMConsView m_view;
    LMConsCommands m_commands;  // after the view: it writes to the view's log
    int m_connectState = -1;  // none shown yet
    NIcon m_bigIcon;
    NIcon m_smallIcon;
};
