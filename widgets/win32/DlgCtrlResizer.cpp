#include "widgets/win32/DlgCtrlResizer.h"

#include "foundation/ErrorCodes.h"
#include "foundation/win32/WindowPlacement.h"

N_DEFINE_CLASS_INFO(DlgCtrlResizer, NWndSubclass)

bool DlgCtrlResizer::Attach(HWND window, const SAnchor* table, uint32_t options)
{
    Detach();
    if (window == nullptr) {
        ::SetLastError(nerr::kInvalidParameter);
        return false;
    }
    if (!Install(window))
        return false;
    m_options = options;
    if (options & kMinimumIsCurrentSize) {
        RECT rc{};
        ::GetWindowRect(window, &rc);
        m_controls.SetMinimumSize(rc.right - rc.left, rc.bottom - rc.top);
    }
    for (const SAnchor* row = table; row != nullptr && row->id != 0; ++row) {
        if (!Register(row->id, row->anchor))
            return false;
    }
    return true;
}

void DlgCtrlResizer::Detach() noexcept
{
    Remove();
    m_controls.Clear();
}

bool DlgCtrlResizer::Register(int id, uint32_t anchor)
{
    const HWND window = Window();
    if (window == nullptr) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (m_controls.IsRegistered(id)) {
        ::SetLastError(nerr::kAlreadyExists);
        return false;
    }
    const HWND control = ::GetDlgItem(window, id);
    if (control == nullptr) {
        ::SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
        return false;
    }
    RECT rc{};
    ::GetWindowRect(control, &rc);
    ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rc), 2);
    RECT client{};
    ::GetClientRect(window, &client);
    return m_controls.Register(id, {rc.left, rc.top, rc.right, rc.bottom}, anchor, client.right, client.bottom);
}

void DlgCtrlResizer::Relayout()
{
    const HWND window = Window();
    if (window == nullptr || ::IsIconic(window))
        return;
    RECT client{};
    ::GetClientRect(window, &client);
    for (const ResizableControls::SRecord& record : m_controls.Records()) {
        const HWND control = ::GetDlgItem(window, record.id);
        if (control == nullptr)
            continue;
        const ResizableControls::SRect r = ResizableControls::Place(record, client.right, client.bottom);
        ::MoveWindow(control, r.left, r.top, r.Width(), r.Height(), TRUE);
        // Controls that paint only their text (statics, group boxes) leave the
        // old picture behind unless their background is erased too.
        ::InvalidateRect(control, nullptr, TRUE);
    }
}

bool DlgCtrlResizer::CapturePlacement()
{
    const HWND window = Window();
    if (window == nullptr || !::IsWindow(window) || ::IsIconic(window))
        return false;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!::GetWindowPlacement(window, &wp))
        return false;
    // Only the normal rectangle is kept: a dialog always comes back shown
    // normally, never minimized or maximized.
    NWindowPlacementText p = NPlacementToText(wp);
    p.flags = 0;
    p.showCmd = 1;
    p.minX = p.minY = p.maxX = p.maxY = -1;
    m_lastPlacement = p;
    if (m_placementText == nullptr)
        return false;
    std::wstring text = p.Format();
    if (text == *m_placementText)
        return false;
    *m_placementText = std::move(text);
    return true;
}

bool DlgCtrlResizer::RestorePlacement()
{
    const HWND window = Window();
    if (window == nullptr || m_placementText == nullptr)
        return false;
    NWindowPlacementText p;
    if (!p.Parse(*m_placementText))
        return false;
    const WINDOWPLACEMENT wp = NPlacementFromText(p);
    return ::SetWindowPlacement(window, &wp) != FALSE;
}

LRESULT DlgCtrlResizer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE: {
        const LRESULT result = Default(message, wParam, lParam);
        if (wParam != SIZE_MINIMIZED)
            Relayout();
        return result;
    }
    case WM_SIZING: {
        auto* proposed = reinterpret_cast<RECT*>(lParam);
        if (proposed == nullptr)
            break;
        ResizableControls::SRect r{proposed->left, proposed->top, proposed->right, proposed->bottom};
        const bool moveLeft = wParam == WMSZ_LEFT || wParam == WMSZ_TOPLEFT || wParam == WMSZ_BOTTOMLEFT;
        const bool moveTop = wParam == WMSZ_TOP || wParam == WMSZ_TOPLEFT || wParam == WMSZ_TOPRIGHT;
        if (m_controls.LimitSizing(r, moveLeft, moveTop)) {
            *proposed = {r.left, r.top, r.right, r.bottom};
            return TRUE;
        }
        break;
    }
    case WM_DESTROY:
        CapturePlacement();
        m_controls.Clear();
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}

void DlgCtrlResizer::OnWindowGone() { m_controls.Clear(); }
