#pragma once
// The client of a console window: the console's log as a fixed-depth ring
// of coloured lines. It owns the console's log queue and its communication
// worker, starts and stops the worker and feeds it requests.
//
// Threads: everything here runs on the console's window thread. Other
// threads reach the view only through the log's posted notice and the
// worker's atomic state, flags and counters.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "console/win32/ConsoleWnd.h"
#include "foundation/win32/Handles.h"
#include "logging/ILMLogOwner.h"
#include "logging/LMLog.h"

class ILMCommConfig;
class LMConsConfig;
class LMConsCommands;
class LMCommThread;
class LMLogEntry;

class LMConsView : public ConsoleWnd {
public:
    static constexpr const wchar_t* kClassName = L"LMConsView";
    static constexpr UINT_PTR kRefreshTimer = 1;
    static constexpr UINT kRefreshMs = 250;

    // The console menu's commands the view handles.
    enum ECommand : UINT {
        kCmdConnect = 32780,
        kCmdFollow = 32786,
        kCmdPin = 32787,
        kCmdAltMode = 32790,
        kCmdRecording = 32792,
        kCmdReset = 32801,
        kCmdBaudTest = 32802,
        kCmdFwUpdate = 32803,
        kCmdDebugTest = 32804,
        kCmdFwCheck = 32840,
        kCmdCopyWhole = 32841,
        kCmdSetup = 32842,
        kCmdSend = 32844,
        kCmdAbort = 32845,
        kCmdSuppress = 32848,
        kCmdCommandWindow = 32885,
        kCmdErase = 57633,
        kCmdCopyVisible = 57634,
        kCmdSendButton = 1014,
        kCmdAbortButton = 1015,
    };

    explicit LMConsView(LMConsConfig* config);
    ~LMConsView() override;

    // A visible child filling parent's client area, with control ID id.
    bool Create(HWND parent, UINT id);

    LMLog& Log() noexcept { return m_log; }
    // Null until the view has been created.
    LMCommThread* Worker() noexcept { return m_worker.get(); }
    // The frame's command bar logic, for Send and Abort; may be null.
    void SetCommands(LMConsCommands* commands) noexcept { m_commands = commands; }
    bool IsReady() const noexcept { return m_ready; }
    bool IsAltMode() const noexcept { return m_altMode; }

    bool OnCmdMsg(UINT id, UINT code, HWND control) override;
    bool OnUpdateCmdUI(NCmdUI& cmd) override;

    // Takes everything queued in the log into the ring; the notice and
    // the refresh timer call it. Returns the number of entries shown.
    size_t DrainLog();

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnDestroy() override;

private:
    // The log reads the console's current shades through this.
    class ShadesOwner : public ILMLogOwner {
    public:
        explicit ShadesOwner(LMConsConfig* config) : m_config(config) {}
        const LMShades* CurrentShades() const override;

    private:
        LMConsConfig* m_config;
    };

    void Initialise();
    void OnRefresh();
    void ReportState();
    uint8_t State() const;
    bool ProcedureActive() const;
    void LoadColours();
    void LoadFont();
    void SetFrameTitle();
    void LogStartupNotes();
    void Info(const std::wstring& text);
    void Error(const std::wstring& text);
    void StopWorker();

    // Commands (LMConsViewCommands.cpp).
    void OnConnect();
    void OnAltMode();
    void OnSend();
    void OnSetup();
    void OnUpdateSetup();
    void OnResetBoard();
    void OnShutdown();
    void NotAvailableYet(const wchar_t* what);

    LMConsConfig* m_config;  // not owned
    ShadesOwner m_shadesOwner;
    LMLog m_log;
    std::unique_ptr<ILMCommConfig> m_commConfig;
    std::unique_ptr<LMCommThread> m_worker;  // destroyed before the log it writes to
    LMConsCommands* m_commands = nullptr;
    NFont m_font;
    bool m_ready = false;
    bool m_altMode = false;
    uint8_t m_reportedState = 0;
    bool m_draining = false;       // a drain is running: a nested notice must not re-enter
    // What a drain that ran out of time had taken from the log but not shown
    // yet; shown first by the next drain. Owned.
    LMLogEntry* m_pending = nullptr;
    std::wstring m_wide;           // reused for each entry's text
    DWORD m_lastRefreshTick = 0;   // the state check also runs when a flood keeps timers away
};
