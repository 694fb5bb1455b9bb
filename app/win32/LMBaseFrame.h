#pragma once
// The main window: a frame with a toolbar in a rebar, a status bar and the
// console list as its client.
#include "app/win32/LMBaseDrawnView.h"
#include "framework/win32/IconToolBar.h"
#include "framework/win32/NFrameWnd.h"
#include "framework/win32/NReBar.h"
#include "framework/win32/NStatusBar.h"

class LMBaseFrame : public NFrameWnd {
public:
    static constexpr UINT kToolBarId = 59392;
    static constexpr UINT kReBarId = 59396;
    static constexpr UINT kStatusBarId = 59393;

    LMBaseFrame();
    ~LMBaseFrame() override;

    IconToolBar& ToolBar() noexcept { return m_toolbar; }
    LMBaseDrawnView& ListView() noexcept { return m_view; }

    bool OnCmdMsg(UINT id, UINT code, HWND control) override;
    bool OnUpdateCmdUI(NCmdUI& cmd) override;

protected:
    bool OnCreate(const CREATESTRUCTW& create) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroy() override;

private:
    bool CreateToolBar();
    void BringToFront();
    void ApplySavedPlacement();

    NReBar m_rebar;
    IconToolBar m_toolbar;
    NStatusBar m_status;
    LMBaseDrawnView m_view;
    bool m_placementPending = true;
};
