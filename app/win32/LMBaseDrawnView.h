#pragma once
// The main window's client: the owner-drawn list of consoles. It owns every
// console configuration (loaded from "Base" when the window is created, saved
// when it is destroyed), starts console threads and talks to open consoles
// only by posted messages. It repaints on a timer and on port changes, asking
// each configuration for its status, because console state is never pushed.
//
// Split by concern: LMBaseDrawnView.cpp (life and messages),
// LMBaseDrawnViewStore.cpp (load and save), LMBaseDrawnViewCommands.cpp
// (commands and update handlers), LMBaseDrawnViewDraw.cpp (layout, drawing,
// scrolling), LMBaseDrawnViewInput.cpp (mouse, keys, pop-up menu).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/LMConsList.h"
#include "app/LMConsListLayout.h"
#include "app/win32/LMEnumPortDirectory.h"
#include "app/win32/LMPrefsLogFolder.h"
#include "config/LMConsEnvironment.h"
#include "config/LMConsSettings.h"
#include "config/win32/LMConsSetupDlgRecord.h"
#include "foundation/win32/Handles.h"
#include "framework/win32/DrawnWnd.h"

class LMBaseDrawnView : public DrawnWnd {
public:
    // The list repaints on this timer, which also gives the main thread its
    // regular idle passes (the wake-up event is polled there).
    static constexpr UINT kRefreshTimerId = 1;
    static constexpr UINT kRefreshMs = 970;
    // How long the exit waits for each open console to close and store its placements.
    static constexpr uint32_t kExitCloseTimeoutMs = 10000;

    // Who runs the modal dialogs; tests answer in their place.
    using SetupDialogRunner = std::function<bool(HWND parent, const LMConsSettings* current,
                                                 const LMConsSetupDlgContext& context, LMConsSettings& result)>;
    using FontChooser = std::function<bool(HWND owner, LOGFONTW& font)>;
    using PopupTracker = std::function<void(HMENU menu, POINT screen)>;

    LMBaseDrawnView();
    ~LMBaseDrawnView() override;

    // "HKCU\SOFTWARE\Vexal\Lumbra\Base".
    static std::wstring BaseKeyPath();

    LMConsList& List() noexcept { return m_list; }
    const SLMConsListLayout& Layout() const noexcept { return m_layout; }
    const SLMConsEnvironment& Environment() const noexcept { return m_env; }
    bool IsCreated() const noexcept { return m_created; }
    POINT ScrollPosition() const noexcept { return {m_scrollX, m_scrollY}; }

    void SetSetupDialogRunner(SetupDialogRunner runner) { m_runSetup = std::move(runner); }
    void SetFontChooser(FontChooser chooser) { m_chooseFont = std::move(chooser); }
    void SetPopupTracker(PopupTracker tracker) { m_trackPopup = std::move(tracker); }

    bool OnCmdMsg(UINT id, UINT code, HWND control) override;
    bool OnUpdateCmdUI(NCmdUI& cmd) override;

protected:
    bool OnCreate(const CREATESTRUCTW& create) override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnLayout(HDC dc, const RECT& client) override;
    void OnDraw(HDC dc, const RECT& client) override;

private:
    // Store
    void LoadList();
    void SaveList();
    void RefreshPorts();

    // Commands
    void AddConsole();
    void SetupConsole();
    void RemoveConsoles();
    void ResetBoards(bool selectedOnly);
    void OpenConsoles(bool selectedOnly);
    void PostToOpenConsoles(UINT message);
    void CloseAllConsoles();
    void ChooseListFont();
    void UseDefaultFont();
    LMConsSetupDlgContext SetupContext(const LMConsConfig* editing) const;
    void AfterCommand();

    // Drawing
    HFONT ListFont();
    void DropFont();
    void ComputeLayout(HDC dc);
    void UpdateScrollBars();
    void DrawRow(HDC dc, int y, size_t row, const RECT& client);
    void DrawHeader(HDC dc, int y, const RECT& client);
    void Scroll(int bar, UINT code);
    // Three rows per wheel notch, as list controls do.
    void Wheel(int delta);

    // Input
    bool OnKey(UINT key);
    void OnLeftButton(int x, int y, UINT flags, bool doubleClick);
    void OnRightButton(int x, int y);
    void ShowPopupMenu(int x, int y);

    LMConsList m_list;
    LMEnumPortDirectory m_ports;
    LMPrefsLogFolder m_logFolder;
    SLMConsEnvironment m_env;
    SLMConsListLayout m_layout;
    NFont m_font;
    bool m_focus = false;
    bool m_created = false;
    int m_scrollX = 0;
    int m_scrollY = 0;
    int m_wheelRest = 0;  // wheel movement short of a notch (high-resolution wheels)
    // The scroll bar values last set, so they are set only when they change.
    int m_barRange[2] = {-1, -1};
    int m_barPage[2] = {-1, -1};
    int m_barPos[2] = {-1, -1};
    SetupDialogRunner m_runSetup;
    FontChooser m_chooseFont;
    PopupTracker m_trackPopup;
};
