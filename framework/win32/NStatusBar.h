#pragma once
// A status bar with one message pane followed by the keyboard indicators
// "CAP", "NUM" and "SCRL", each shown while its lock key is on.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/win32/NControlWindow.h"

class NStatusBar {
public:
    // String IDs of the indicator texts.
    static constexpr UINT kIdsCaps = 59137, kIdsNum = 59138, kIdsScroll = 59139;

    bool Create(HWND parent, UINT id);
    HWND Handle() const noexcept { return m_bar.Handle(); }
    NControlWindow& Window() noexcept { return m_bar; }
    int Height() const;

    bool SetText(int pane, const std::wstring& text);
    std::wstring Text(int pane) const;
    int PaneCount() const noexcept { return static_cast<int>(m_indicators.size()) + 1; }

    // Shows each indicator's text while its key is toggled on; on size changes
    // the panes are laid out again.
    void UpdateIndicators();
    void Layout();

private:
    struct SIndicator {
        std::wstring text;
        int key;
    };
    NControlWindow m_bar;
    std::vector<SIndicator> m_indicators;
};
