#pragma once
// A flat toolbar whose buttons carry icons of a selectable size (16, 24, 32
// or 48 pixels; 0 picks the default). Buttons are described once and the bar
// can be rebuilt at another size.
#include <windows.h>

#include <functional>
#include <vector>

#include "framework/win32/NCmdUI.h"
#include "framework/win32/NControlWindow.h"
#include "framework/win32/NImageList.h"

class IconToolBar {
public:
    static constexpr int kDefaultIconSize = 24;

    struct SButton {
        UINT command;  // 0: separator
        UINT icon;     // icon resource ID
    };

    IconToolBar() = default;
    virtual ~IconToolBar() { m_bar.Destroy(); }
    IconToolBar(const IconToolBar&) = delete;
    IconToolBar& operator=(const IconToolBar&) = delete;

    // The toolbar sends its commands to notify (usually the frame), whatever
    // window it is placed in.
    bool Create(HWND parent, HWND notify, UINT id, int iconSize, std::vector<SButton> buttons);
    bool Rebuild(int iconSize);

    HWND Handle() const noexcept { return m_bar.Handle(); }
    NControlWindow& Window() noexcept { return m_bar; }
    // The size in pixels actually used.
    int IconSize() const noexcept { return m_iconSize; }
    static int EffectiveSize(int requested) noexcept;
    SIZE IdealSize() const;

    bool SetButtonIcon(UINT command, UINT icon);
    bool IsButtonEnabled(UINT command) const;
    bool IsButtonChecked(UINT command) const;

    // Asks update for every button and applies the states it set; update
    // answers whether anyone handled the command.
    void UpdateCmdUI(const std::function<bool(NCmdUI&)>& update);

private:
    int AddImage(UINT icon);

    NControlWindow m_bar;
    HWND m_parent = nullptr;
    HWND m_notify = nullptr;
    UINT m_id = 0;
    int m_iconSize = kDefaultIconSize;
    std::vector<SButton> m_buttons;
    NImageList m_images;  // outlives the bar: Rebuild and the destructor destroy the bar first
};
