#pragma once
// Delivers a log's notice to the console view: posts the registered message
// "LMConsView::ms_cnFromLogMsgID" with wParam 0 and lParam the LMLog.
#include <windows.h>

#include "logging/ILogListener.h"

class LMLog;

class LMLogWindowListener final : public ILogListener {
public:
    explicit LMLogWindowListener(HWND window) : m_window(window) {}

    // The registered message; 0 when registration failed.
    static UINT Message();
    // The view's call once its window exists; the view then drains once,
    // which arms the first notice.
    static void Attach(LMLog& log, HWND window);

    bool IsValid() const override;
    bool Notify(LMLog& log) override;

private:
    const HWND m_window;
    const UINT m_message = Message();
};
