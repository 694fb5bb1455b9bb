#pragma once
// A simulated COM port behind the serial driver interface, for testing the
// serial engine without hardware. The test side feeds data, raises modem and
// error changes, makes single calls fail, shortens reads, lets writes hang,
// or makes the whole device vanish. Overlapped requests complete by setting
// the caller's event, as the system does. Thread-safe.
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "transport/win32/ISerialDriver.h"

class SimSerialDriver : public ISerialDriver {
public:
    SimSerialDriver();

    // ---- the test side ----
    // Bytes from the "board"; raise EV_RXCHAR.
    void Receive(const std::string& bytes);
    // New modem lines (MS_CTS_ON ...); raises the events of the changed lines.
    void SetModem(DWORD status);
    // Adds comm-error flags (CE_OVERRUN ...) and raises EV_ERR.
    void RaiseErrors(DWORD flags);
    // Raises plain events (EV_BREAK ...).
    void RaiseEvents(DWORD events);
    // The named call (e.g. "CreateFileW", "SetCommMask") fails with error
    // from now on.
    void FailCall(const std::string& call, DWORD error);
    // Reads give at most this many bytes (0 = no limit).
    void LimitReads(DWORD bytes) { std::lock_guard<std::mutex> g(m_lock); m_readLimit = bytes; }
    // Writes take at most this many bytes (0 = no limit).
    void LimitWrites(DWORD bytes) { std::lock_guard<std::mutex> g(m_lock); m_writeLimit = bytes; }
    // Writes stay pending until cancelled.
    void HangWrites(bool hang) { std::lock_guard<std::mutex> g(m_lock); m_hangWrites = hang; }
    // The device goes away: outstanding requests complete with error and
    // every later call fails with it.
    void Vanish(DWORD error);
    // The device is plugged in again: calls work again (the old handle stays closed).
    void Reappear() { std::lock_guard<std::mutex> g(m_lock); m_vanished = 0; }
    // Provider capabilities reported by GetCommProperties.
    void SetCapabilities(DWORD caps) { std::lock_guard<std::mutex> g(m_lock); m_caps = caps; }

    std::string Transmitted() const;
    std::vector<std::string> Calls() const;  // names in call order ("EscapeCommFunction(5)" ...)
    DCB LastDcb() const;
    int OpenHandles() const;
    bool WaitPending() const;  // a WaitCommEvent is outstanding

    // ---- ISerialDriver ----
    HANDLE CreateFileW(const wchar_t* device, DWORD access, DWORD share, DWORD creation, DWORD flags) override;
    BOOL CloseHandle(HANDLE port) override;
    BOOL FlushFileBuffers(HANDLE port) override;
    BOOL GetCommProperties(HANDLE port, COMMPROP* properties) override;
    BOOL GetCommState(HANDLE port, DCB* dcb) override;
    BOOL SetCommState(HANDLE port, DCB* dcb) override;
    BOOL EscapeCommFunction(HANDLE port, DWORD function) override;
    BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue) override;
    BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) override;
    BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) override;
    BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status) override;
    BOOL PurgeComm(HANDLE port, DWORD flags) override;
    BOOL GetCommModemStatus(HANDLE port, DWORD* status) override;
    BOOL SetCommMask(HANDLE port, DWORD mask) override;
    BOOL WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* overlapped) override;
    BOOL ReadFile(HANDLE port, void* buffer, DWORD size, DWORD* got, OVERLAPPED* overlapped) override;
    BOOL WriteFile(HANDLE port, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped) override;
    BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* overlapped, DWORD* bytes, BOOL wait) override;
    BOOL CancelIo(HANDLE port) override;

private:
    struct SResult {
        bool done = false;
        DWORD error = 0;
        DWORD bytes = 0;
    };
    // Under m_lock: the common entry test of a call.
    bool Enter(const char* call, HANDLE port);
    void CompleteLocked(OVERLAPPED* ov, DWORD error, DWORD bytes);
    void RaiseLocked(DWORD events);

    mutable std::mutex m_lock;
    HANDLE m_handle = nullptr;  // the open "port"; a real event so that it is a unique handle
    int m_open = 0;
    std::map<std::string, DWORD> m_failures;
    std::vector<std::string> m_calls;
    DWORD m_vanished = 0;
    DWORD m_caps = 0;
    DWORD m_mask = 0;
    DWORD m_events = 0;
    DWORD m_modem = 0;
    DWORD m_errors = 0;
    std::string m_rx;
    std::string m_tx;
    DWORD m_readLimit = 0;
    DWORD m_writeLimit = 0;
    bool m_hangWrites = false;
    DCB m_dcb{};
    COMMTIMEOUTS m_timeouts{};
    OVERLAPPED* m_waitOv = nullptr;
    DWORD* m_waitMask = nullptr;
    OVERLAPPED* m_writeOv = nullptr;
    // CancelIo cancels only the calling thread's requests, as the system does.
    DWORD m_waitThread = 0;
    DWORD m_writeThread = 0;
    std::map<OVERLAPPED*, SResult> m_results;
};
