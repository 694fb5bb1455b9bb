#include "logging/win32/LMLogWindowListener.h"

#include "logging/LMLog.h"

#include <memory>

namespace {
// Registered during static initialisation, like every registered message.
const UINT g_fromLogMessage = RegisterWindowMessageW(L"LMConsView::ms_cnFromLogMsgID");
}  // namespace

UINT LMLogWindowListener::Message()
{
    static const UINT message = g_fromLogMessage != 0 ? g_fromLogMessage
                                                      : RegisterWindowMessageW(L"LMConsView::ms_cnFromLogMsgID");
    return message;
}

void LMLogWindowListener::Attach(LMLog& log, HWND window)
{
    log.SetNotifyWindow(std::make_unique<LMLogWindowListener>(window));
}

bool LMLogWindowListener::IsValid() const
{
    return m_window != nullptr && m_message != 0 && IsWindow(m_window);
}

bool LMLogWindowListener::Notify(LMLog& log)
{
    // Posting never blocks, so it is safe under the log's lock. A failed post
    // (a full message queue) is reported so that the log tries again with
    // its next entry.
    return PostMessageW(m_window, m_message, 0, reinterpret_cast<LPARAM>(&log)) != FALSE;
}
