#pragma once
// An icon toolbar with one combo box placed over a separator button. The
// combo's width and drop-down height follow the bar's icon size (the given
// extents count for 16-pixel icons) and so does its font. Releasing Enter in
// an editable combo's edit field sends the bar's Enter command to the bar's
// notify window, as if a button had been pressed.
//
// Hazard: Rebuild hides IconToolBar::Rebuild (which is not virtual); rebuild
// through this class so that the combo is re-created with the bar.
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/win32/Handles.h"
#include "framework/win32/IconToolBar.h"

class ToolBarWithCombo : public IconToolBar {
public:
    struct SCombo {
        UINT id = 0;
        size_t slot = 0;          // index of the separator the combo covers
        bool editable = true;     // drop-down with edit field, else drop-down list
        UINT enterCommand = 0;    // sent when Enter is released in the edit field; 0: none
        int width = 320;          // for 16-pixel icons
        int dropHeight = 480;     // for 16-pixel icons
    };

    ToolBarWithCombo() = default;
    // The bar (with the combo inside) goes before the combo's font.
    ~ToolBarWithCombo() override { Window().Destroy(); }

    // False when the slot is not a separator or a window cannot be made.
    bool Create(HWND parent, HWND notify, UINT id, int iconSize, std::vector<SButton> buttons, const SCombo& combo);
    // Re-creates bar and combo at iconSize; the combo keeps its list, its
    // selection and its edit text.
    bool Rebuild(int iconSize);

    // New extents for 16-pixel icons; they take effect at the next Rebuild.
    void SetExtents(int width, int dropHeight) noexcept
    {
        m_spec.width = width;
        m_spec.dropHeight = dropHeight;
    }

    HWND Combo() const noexcept { return m_combo; }
    // The combo's edit field; null for a drop-down list.
    HWND Edit() const noexcept { return m_edit; }
    const SCombo& ComboSpec() const noexcept { return m_spec; }

    // extent * iconSize / 16, at least 1.
    static int ScaledExtent(int extent, int iconSize) noexcept;
    // A font height scaled by iconSize / 16 over dpi / 96.
    static LONG ScaledFontHeight(LONG height, int iconSize, int dpi) noexcept;

private:
    struct SContent {
        std::vector<std::wstring> items;
        int selection = CB_ERR;
        std::wstring text;
    };
    SContent SaveContent() const;
    void RestoreContent(const SContent& content);
    bool CreateCombo();
    bool MakeFont();

    static LRESULT CALLBACK ComboProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self) noexcept;
    static LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self) noexcept;

    SCombo m_spec;
    HWND m_notify = nullptr;
    HWND m_combo = nullptr;  // a child of the bar, destroyed with it
    HWND m_edit = nullptr;
    NFont m_font;            // outlives the combo: the bar is destroyed first
};
