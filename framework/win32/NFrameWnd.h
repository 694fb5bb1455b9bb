#pragma once
// A top-level frame: menu, accelerators and title from one resource ID, an
// optional rebar with one toolbar, an optional status bar and one client
// window (the view). Commands go to the view first, then the frame, then the
// thread's object; the same order answers the update handlers, which run when
// a menu opens (WM_INITMENUPOPUP) and in idle time for the toolbar.
#include <windows.h>

#include "framework/win32/IconToolBar.h"
#include "framework/win32/NReBar.h"
#include "framework/win32/NStatusBar.h"
#include "framework/win32/NWnd.h"

class NFrameWnd : public NWnd {
public:
    static constexpr UINT kIdViewToolBar = 59392;   // "&Toolbar"
    static constexpr UINT kIdViewStatusBar = 59393; // "St&atus Bar"
    static constexpr UINT kIdFirstPane = 59648;     // the view's child ID
    static constexpr const wchar_t* kClassName = L"NFrameWnd";

    // Loads menu, accelerators and the title (the string of the same ID) from
    // resourceId and creates the window with style. A missing menu or title
    // is not an error; a missing accelerator table means none.
    bool LoadFrame(UINT resourceId, DWORD style, HWND parent = nullptr);

    void SetView(NWnd* view) noexcept { m_view = view; }
    NWnd* View() const noexcept { return m_view; }
    // Bars the frame lays out and keeps up to date; null for none.
    void SetBars(NReBar* rebar, IconToolBar* toolbar, NStatusBar* status) noexcept;
    HACCEL Accelerators() const noexcept { return m_accelerators; }

    // Accelerators of the frame for message; true when translated.
    bool TranslateAccelerators(MSG& message);
    // Routes a command through view, frame and thread.
    bool RouteCommand(UINT id, UINT code, HWND control);
    // Runs the update handlers for id through the same route.
    bool RouteUpdate(NCmdUI& cmd);
    // Applies update handlers to every item of menu.
    void UpdateMenu(HMENU menu);

    // Lays out the rebar at the top, the status bar at the bottom and the view
    // in between.
    virtual void RecalcLayout();

    bool OnCmdMsg(UINT id, UINT code, HWND control) override;
    bool OnUpdateCmdUI(NCmdUI& cmd) override;
    void OnIdleUpdate() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnNcDestroy() override;

private:
    NWnd* m_view = nullptr;
    NReBar* m_rebar = nullptr;
    IconToolBar* m_toolbar = nullptr;
    NStatusBar* m_status = nullptr;
    HACCEL m_accelerators = nullptr;  // resource accelerators are freed with the module
};
