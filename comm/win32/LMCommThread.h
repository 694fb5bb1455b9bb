#pragma once
// The communication worker of one console: owns the connection, turns
// received bytes into log lines, sends what the user asks it to send and
// serves the requests the console window posts. Everything it has to tell
// the user becomes an entry of the console's log; it never touches a window.
//
// Threads: the console window thread constructs, starts, stops, posts
// requests and reads the state; everything else runs on the worker thread.
// The request lock and the procedure lock are never held together.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "comm/ILMCommConfig.h"
#include "config/IConsoleLink.h"
#include "comm/LMLineCutter.h"
#include "foundation/NClassInfo.h"
#include "foundation/NTimeStamp.h"
#include "foundation/win32/Handles.h"
#include "foundation/win32/NThread.h"
#include "logging/ILogDrainListener.h"
#include "transport/win32/NSerialPort.h"

class LMLog;
class LMASock;
class ISerialDriver;
class ILMCommTransport;
class LMCommThread : public NClassInfo,
                     public NThread,
                     public ILMCommLink,
                     private ILMRxLineSink,
                     private ILogDrainListener {
    N_DECLARE_CLASS_INFO(LMCommThread)
public:
    enum EState : uint8_t { kIdle = 0, kConnecting = 1, kConnected = 2, kDisconnecting = 3 };
    static constexpr DWORD kConnectTimeoutMs = 15000;
    // Socket reads per loop pass: a flooding peer must not keep requests,
    // user break and Stop waiting.
    static constexpr int kReadsPerPass = 16;

    struct SRequest {
        uint32_t code = 0xFFFFFFFFu;
        std::wstring text;
    };

    // driver: the serial calls (null: the system's own); tests put a
    // simulated port here. It must outlive the worker.
    LMCommThread(ILMCommConfig* config, LMLog* log, ISerialDriver* driver = nullptr);
    ~LMCommThread() override;

    // Window thread: what the view does to connect (state 0 -> 1, clear, Start)
    // and to disconnect (state 2 -> 3, Stop without limit).
    bool Connect(bool altMode);
    bool Disconnect();

    void PostRequest(uint32_t code, std::wstring text = {});
    bool RequestReset();
    std::wstring GetProcedureName();
    void ClearRequests();
    SRequest TakeRequest();

    std::wstring GetAddress() const;

    // ILMCommLink: what the console list reads through the configuration.
    uint8_t ConnectionState() const override { return m_state.load(); }

    // Read and compare-exchanged directly by the window.
    std::atomic<uint8_t> m_state{kIdle};
    std::atomic<uint8_t> m_altMode{0};
    std::atomic<uint8_t> m_procedureActive{0};

    // For tests: a shorter connect time-out (the default stays 15 s).
    void SetConnectTimeout(DWORD ms) { m_connectTimeoutMs = ms; }
    bool IsFlooding() const { return m_flood.load() != 0; }
    // How often the worker stopped reading because the log was backed up
    // (each stretch of waiting counts once).
    uint32_t ThrottleCount() const { return m_throttles.load(); }

protected:
    // Establishes the connection by ConMode; false ends the attempt with
    // exitCode. A test double overrides it and calls AdoptTransport.
    virtual bool OpenTransport(DWORD& exitCode);
    void AdoptTransport(std::unique_ptr<ILMCommTransport> transport);

    DWORD Run() override;
    void OnExit() override;
    void Wake() override;

private:
    // ILogDrainListener (the view's thread, under the log's lock)
    void OnLogDrained() override { m_drainEvent.Set(); }

    // ILMRxLineSink (worker thread)
    bool OnRxLine(std::string_view bytes, bool forced) override;
    void OnRxHexLine(std::string_view text) override;
    void OnRxOpen(std::string_view bytesOrText, bool hex) override;

    DWORD ConnectTcp(bool& connected);
    bool ConnectSerial(DWORD& exitCode);
    // False ends the connection.
    bool HandleSerialPacket(const NSPRxPacket& packet);
    // Stops and closes the port, then logs what it left behind.
    void CloseSerial();
    void ChangePortMode();
    bool WriteSerial(const char* data, size_t size);
    // 0 nothing read, 1 something read, -1 the connection ends.
    int ReadSocket();
    bool ProcessBytes(const void* data, size_t size, NTimeStamp stamp);
    bool FlushPartial(bool force);
    bool SendUserCommand(const std::wstring& text, bool replyAwaited);
    bool SendBytes(const void* data, size_t size);
    bool HandleRequest(const SRequest& request, bool& end);
    void FloodStep();
    void NotAvailable(const wchar_t* what);
    void EndProcedure();
    SLMRxSettings RxSettings() const;
    // The mode the alternative-mode flag selects now.
    std::wstring SelectedMode() const;
    // The mode the open port runs with (the selected one while not connected).
    std::wstring ModeInUse() const;
    void LogSystemError(uint32_t code, uint8_t kind, NTimeStamp stamp);
    void Log(uint8_t kind, const std::wstring& text);

    ILMCommConfig* const m_config;  // not owned
    LMLog* const m_log;             // not owned
    NEventHandle m_stopEvent;       // manual reset
    NEventHandle m_requestEvent;    // auto reset
    NEventHandle m_drainEvent;      // auto reset; set by the view's thread through the log
    std::atomic<uint32_t> m_throttles{0};
    std::mutex m_requestLock;
    std::deque<SRequest> m_requests;  // guarded by m_requestLock
    std::mutex m_procedureLock;
    std::wstring m_procedureName;     // guarded by m_procedureLock
    std::atomic<uint32_t> m_spareCounter{0}, m_signatureChar{0}, m_steps{0}, m_stepsDone{0};
    std::atomic<uint8_t> m_spareFirstProblem{0};
    std::atomic<uint8_t> m_flood{0};
    std::atomic<DWORD> m_connectTimeoutMs{kConnectTimeoutMs};
    // Worker thread only.
    HANDLE m_waits[3] = {};
    std::unique_ptr<LMASock> m_socket;  // while connecting
    std::unique_ptr<ILMCommTransport> m_transport;
    LMLineCutter m_cutter;
    DWORD m_exitCode = 0;
    DWORD m_floodDelay = 0;
    bool m_connected = false;
    bool m_moreInput = false;  // the last read pass stopped at its bound
    bool m_wasThrottled = false;  // the last pass waited for the view
    uint32_t m_lastCommandCrc = 0;
    uint64_t m_lastCommandTick = 0;
    bool m_awaitingReply = false;
    NTimeStamp m_now;           // stamp of the chunk being cut
    std::string m_lineText;     // reused for every line
    std::vector<char> m_readBuffer;  // one socket read
    // Serial consoles (worker thread, except the mode text below).
    NSerialPort m_port;
    bool m_serial = false;           // the port is the transport of this connection
    std::wstring m_portName;         // as looked up at connect ("COM3")
    mutable std::mutex m_modeLock;
    std::wstring m_modeInUse;        // guarded by m_modeLock; empty while idle
};
