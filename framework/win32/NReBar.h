#pragma once
// A rebar along the top of a frame holding toolbars as bands.
#include <windows.h>
#include <commctrl.h>

#include "framework/win32/NControlWindow.h"

class NReBar {
public:
    bool Create(HWND parent, UINT id, DWORD extraStyle = RBS_VARHEIGHT | RBS_AUTOSIZE | RBS_DBLCLKTOGGLE);
    // Adds child as a band with a gripper, sized to its ideal size.
    bool AddBar(HWND child, SIZE ideal);
    // Re-reads a band's size after its child was rebuilt at another size.
    bool ReplaceBar(UINT index, HWND child, SIZE ideal);
    UINT BandCount() const;
    int Height() const;
    HWND Handle() const noexcept { return m_bar.Handle(); }
    NControlWindow& Window() noexcept { return m_bar; }

private:
    NControlWindow m_bar;
};
