#pragma once
// The serial port engine of a connected console: owns an overlapped COM port
// handle, runs a receive thread, and hands everything it observes (bytes,
// comm events, modem-status and comm-error changes, its own failures) to its
// owner as packets in a locked list, signalled by a manual-reset event.
//
// Threads: the owner calls Open, ApplyPortMode, Write, TakePacket, Stop and
// Close; the receive thread queues packets and may close the port when it
// ends. Fields used by both say so.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "foundation/win32/Handles.h"
#include "foundation/win32/NThread.h"
#include "transport/SerialDcb.h"
#include "transport/win32/ISerialDriver.h"
#include "transport/win32/NCOMPortMutex.h"
#include "transport/win32/NSPRxPacket.h"

class NSerialPort {
public:
    static constexpr DWORD kOpenEventMask = 0x1FD;  // RXCHAR TXEMPTY CTS DSR RLSD BREAK ERR RING
    static constexpr DWORD kModemEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING;
    static constexpr DWORD kTransmitLockMs = 1000;
    static constexpr DWORD kTransmitWaitMs = 1000;
    // Data packets the owner has not taken yet: at this many the receive
    // thread stops reading, so a slow owner leaves the bytes in the driver
    // (where handshaking holds the sender back) instead of in memory here.
    // 256 packets are 128 KiB, about eleven seconds at 115200 baud.
    static constexpr size_t kMaxQueuedData = 256;

    // Callbacks called (with context) before a packet is queued; true means
    // consumed, so no packet is queued. The wait callbacks are asked after a
    // wait timed out; false ends the wait (and the thread).
    struct SCallbacks {
        void* context = nullptr;
        bool (*rxData)(void* ctx, const uint8_t* data, uint32_t length, uint64_t stamp) = nullptr;
        bool (*commEvents)(void* ctx, uint32_t mask, uint64_t stamp) = nullptr;
        bool (*modemStatus)(void* ctx, uint32_t status, uint64_t stamp) = nullptr;
        bool (*commErrors)(void* ctx, uint32_t flags, uint64_t stamp) = nullptr;
        bool (*failure)(void* ctx, uint32_t code, const std::wstring& text, uint64_t stamp) = nullptr;
        bool (*commEventWaitTimedOut)(void* ctx) = nullptr;
        bool (*readWaitTimedOut)(void* ctx) = nullptr;
    };

    explicit NSerialPort(ISerialDriver& driver = NSystemSerialDriver());
    virtual ~NSerialPort();
    NSerialPort(const NSerialPort&) = delete;
    NSerialPort& operator=(const NSerialPort&) = delete;

    // Closes an open port first; applies text when not empty; then opens.
    bool Open(const std::wstring& portAndMode);
    // Parses text onto the current DCB and port; on an open port applies a
    // changed DCB around a pause of the receive thread.
    bool ApplyPortMode(const std::wstring& portAndMode);
    // Stops the receive thread (waiting up to timeoutMs) and closes the port.
    bool Stop(DWORD timeoutMs = INFINITE);
    // Flushes and closes the handle; true when it was closed already.
    bool Close();
    // Writes up to count bytes; written tells how many went out (the caller
    // repeats with the rest).
    bool Write(const void* data, uint32_t count, uint32_t& written);
    // The oldest packet or null; the caller owns it.
    std::unique_ptr<NSPRxPacket> TakePacket();

    bool IsOpen() const { return m_port.load() != nullptr; }
    HANDLE PacketEvent() const { return m_packetEvent.Get(); }
    const std::wstring& PortName() const { return m_portName; }
    uint32_t PortNumber() const { return m_portNumber; }
    const NSerialDcb& Dcb() const { return m_dcb; }
    uint32_t ModemStatus() const { return m_modemStatus.load(); }
    uint32_t CommErrors() const { return m_commErrors.load(); }
    bool IsReceiving() const { return m_thread.IsRunning(); }
    DWORD ReceiveExitCode() const { return m_thread.ExitCode(); }
    // Data packets queued and not yet taken (for tests and diagnostics).
    size_t QueuedDataPackets();

    // Set before Open.
    void SetPriority(int priority) { m_priority.store(priority); }  // adopted while running too
    void SetQueueSizes(uint32_t in, uint32_t out) { m_inQueue = in; m_outQueue = out; }
    void SetReportMasks(uint32_t events, uint32_t modem, uint32_t errors)
    {
        m_eventReportMask = events;
        m_modemReportMask = modem;
        m_errorReportMask = errors;
    }
    void SetReportData(bool report) { m_reportData = report; }
    void SetCallbacks(const SCallbacks& callbacks) { m_callbacks = callbacks; }
    void SetWaitTimeouts(DWORD commEventMs, DWORD readMs) { m_commEventWaitMs = commEventMs; m_readWaitMs = readMs; }
    // Posts message (wParam this object, lParam param) to window when a
    // packet is queued and the last notice has not been answered by a
    // TakePacket that emptied the list.
    void SetNotification(HWND window, UINT message, LPARAM param)
    {
        m_notifyWindow = window;
        m_notifyMessage = message;
        m_notifyParam = param;
    }

protected:
    // Hooks called before a packet is queued; true = consumed.
    virtual bool OnRxData(const uint8_t* data, uint32_t length, uint64_t stamp);
    virtual bool OnCommEvents(uint32_t mask, uint64_t stamp);
    virtual bool OnModemStatus(uint32_t status, uint64_t stamp);
    virtual bool OnCommErrors(uint32_t flags, uint64_t stamp);
    virtual bool OnFailure(uint32_t code, const std::wstring& text, uint64_t stamp);
    // Asked when a wait of the receive thread timed out; true = keep waiting.
    virtual bool OnCommEventWaitTimedOut();
    virtual bool OnReadWaitTimedOut();

private:
    class CNSPThread : public NThread {
    public:
        explicit CNSPThread(NSerialPort& owner) : NThread(THREAD_PRIORITY_ABOVE_NORMAL), m_owner(owner) {}
        ~CNSPThread() override { Stop(INFINITE); }
        HANDLE StopEvent() const { return m_stop.Get(); }
        bool CreateStopEvent() { return m_stop.IsValid() || m_stop.Create(true, false); }
        void ResetStopEvent() { m_stop.Reset(); }

    protected:
        DWORD Run() override;
        void Wake() override { m_stop.Set(); }

    private:
        NSerialPort& m_owner;
        NEventHandle m_stop;
    };
    enum class EWait { kDone, kStopped, kFailed };

    DWORD ReceiveLoop();  // the receive thread's body
    EWait WaitPending(HANDLE port, OVERLAPPED& ov, DWORD timeoutMs, bool readWait, const wchar_t* waitStep,
                      const wchar_t* cancelStep, const wchar_t* cancelledStep);
    bool HandleEvents(HANDLE port, OVERLAPPED& ov, DWORD mask, uint64_t stamp);
    bool ReadAvailable(HANDLE port, OVERLAPPED& ov);
    // Receive thread: false when stopped while waiting for the owner to take data.
    bool WaitForRoom();
    bool OpenSequence();
    bool OpenFailed(const wchar_t* step, HANDLE port);
    bool StartThread();
    bool StopThread(DWORD timeoutMs);

    void QueueFailure(uint32_t code, const std::wstring& text);
    void QueueValue(uint16_t kind, uint32_t value, uint64_t stamp);
    void QueueData(const uint8_t* data, uint32_t length, uint64_t stamp);
    void Queue(std::unique_ptr<NSPRxPacket> packet);

    ISerialDriver& m_driver;
    NCOMPortMutex m_portMutex;             // owner's thread
    std::atomic<HANDLE> m_port{nullptr};   // both threads; null = closed
    std::wstring m_portName = L"COM1";     // owner's thread
    uint32_t m_portNumber = 1;
    NSerialDcb m_dcb;                      // owner's thread (the thread is paused around changes)
    std::atomic<int> m_priority{THREAD_PRIORITY_ABOVE_NORMAL};
    COMMPROP m_properties{};
    std::atomic<uint32_t> m_modemStatus{0};   // receive thread after open
    std::atomic<uint32_t> m_commErrors{0};
    uint32_t m_inQueue = 8192;
    uint32_t m_outQueue = 2048;
    CNSPThread m_thread{*this};
    std::atomic<bool> m_pausing{false};  // a stop around a DCB change keeps the port open

    std::mutex m_packetLock;
    std::deque<std::unique_ptr<NSPRxPacket>> m_packets;  // under m_packetLock
    size_t m_dataPackets = 0;                            // under m_packetLock: data packets in m_packets
    NEventHandle m_roomEvent;                            // manual reset: set while m_dataPackets is below the cap
    NEventHandle m_packetEvent;
    std::atomic<bool> m_posted{false};
    HWND m_notifyWindow = nullptr;
    UINT m_notifyMessage = 0;
    LPARAM m_notifyParam = 0;

    DWORD m_commEventWaitMs = 1000;
    DWORD m_readWaitMs = 1000;
    NHandle m_transmitLock;   // unnamed mutex
    NEventHandle m_transmitEvent;
    uint32_t m_eventReportMask = 0x1FF8;
    uint32_t m_modemReportMask = 0xF0;
    uint32_t m_errorReportMask = 0x9F1F;
    bool m_reportData = true;
    SCallbacks m_callbacks;
};
