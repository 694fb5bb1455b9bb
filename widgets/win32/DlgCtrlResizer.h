#pragma once
// Makes a dialog (or any window with child controls) resizable: moves and
// stretches the registered controls by their anchoring words whenever the
// window's size changes, keeps the window between its minimum and maximum
// size while the user drags a border, and captures the window's placement
// into a text its owner stores. Lives on the window's thread.
#include <windows.h>

#include <string>

#include "foundation/WindowPlacementText.h"
#include "widgets/ResizableControls.h"
#include "widgets/win32/NWndSubclass.h"

class DlgCtrlResizer : public NWndSubclass {
    N_DECLARE_CLASS_INFO(DlgCtrlResizer)

public:
    // One row of an anchoring table; a table ends with id 0.
    struct SAnchor {
        int id;
        uint32_t anchor;
    };
    // Option bit 0: the window's outer size at Attach becomes its minimum.
    static constexpr uint32_t kMinimumIsCurrentSize = 1u << 0;

    DlgCtrlResizer() = default;

    // Detaches first. False for a null window (nerr::kInvalidParameter), when
    // subclassing fails, or when a control of the table cannot be registered;
    // the controls registered before the failure stay registered.
    bool Attach(HWND window, const SAnchor* table, uint32_t options);
    void Detach() noexcept;
    // False when the id is registered already (kAlreadyExists) or the control
    // does not exist (ERROR_CONTROL_ID_NOT_FOUND).
    bool Register(int id, uint32_t anchor);

    void SetReferenceSize(int width, int height) noexcept { m_controls.SetReferenceSize(width, height); }
    void SetMinimumSize(int width, int height) noexcept { m_controls.SetMinimumSize(width, height); }
    void SetMaximumSize(int width, int height) noexcept { m_controls.SetMaximumSize(width, height); }
    const ResizableControls& Controls() const noexcept { return m_controls; }
    uint32_t Options() const noexcept { return m_options; }

    // The caller's text, which must outlive the binding (or null to unbind).
    void BindPlacementText(std::wstring* text) noexcept { m_placementText = text; }
    // Reads the window's placement (not while minimised or gone). True when
    // the bound text changed.
    bool CapturePlacement();
    const NWindowPlacementText& LastPlacement() const noexcept { return m_lastPlacement; }
    // Puts the window where the bound text says; a text that is not a
    // complete placement is ignored (false, window untouched).
    bool RestorePlacement();

    // Moves every control for the current client size.
    void Relayout();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWindowGone() override;

private:
    uint32_t m_options = 0;
    NWindowPlacementText m_lastPlacement;
    std::wstring* m_placementText = nullptr;
    ResizableControls m_controls;
};
