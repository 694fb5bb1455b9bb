#pragma once
// The client of a console window: the console's log as a fixed-depth ring
// of coloured lines. It owns the console's log queue and its communication
// worker, starts and stops the worker and feeds it requests.
#include <windows.h>

#include <memory>

#include "framework/win32/NWnd.h"
#include "logging/LMLog.h"

class LMConsConfig;
class LMConsCommands;
class LMCommThread;

class LMConsView : public NWnd {
public:
    explicit LMConsView(LMConsConfig* config);
    ~LMConsView() override;

    // A visible child filling parent's client area, with control ID id.
    bool Create(HWND parent, UINT id);

    LMLog& Log() noexcept { return m_log; }
    // Null until the view has been created.
    LMCommThread* Worker() noexcept { return m_worker.get(); }
    // The frame's command bar logic, for Send and Abort; may be null.
    void SetCommands(LMConsCommands* commands) noexcept { m_commands = commands; }

    bool OnCmdMsg(UINT id, UINT code, HWND control) override;
    bool OnUpdateCmdUI(NCmdUI& cmd) override;

private:
    LMConsConfig* m_config;  // not owned
    LMLog m_log;
    std::unique_ptr<LMCommThread> m_worker;
    LMConsCommands* m_commands = nullptr;
};
