#include "console/win32/LMConsView.h"

#include "comm/win32/LMCommThread.h"

LMConsView::LMConsView(LMConsConfig* config) : m_config(config) {}

LMConsView::~LMConsView()
{
    DestroyWindow();
}

bool LMConsView::Create(HWND parent, UINT id)
{
    static const bool registered =
        NWnd::RegisterClass(L"LMConsView", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    RECT client{};
    ::GetClientRect(parent, &client);
    return registered && CreateEx(WS_EX_CLIENTEDGE, L"LMConsView", L"", WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                  client.bottom, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool LMConsView::OnCmdMsg(UINT id, UINT code, HWND control)
{
    return false;
}

bool LMConsView::OnUpdateCmdUI(NCmdUI& cmd)
{
    return false;
}
