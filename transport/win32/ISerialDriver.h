#pragma once
// The Win32 communications calls that the serial engine makes, behind an
// interface so that tests can put a simulated port in their place (a
// pseudo-terminal under Wine has no modem lines and no modem events). The
// members take the same arguments and give the same results as the system
// calls of the same names, last error included.
#include <windows.h>

class ISerialDriver {
public:
    virtual ~ISerialDriver() = default;

    virtual HANDLE CreateFileW(const wchar_t* device, DWORD access, DWORD share, DWORD creation, DWORD flags) = 0;
    virtual BOOL CloseHandle(HANDLE port) = 0;
    virtual BOOL FlushFileBuffers(HANDLE port) = 0;
    virtual BOOL GetCommProperties(HANDLE port, COMMPROP* properties) = 0;
    virtual BOOL GetCommState(HANDLE port, DCB* dcb) = 0;
    virtual BOOL SetCommState(HANDLE port, DCB* dcb) = 0;
    virtual BOOL EscapeCommFunction(HANDLE port, DWORD function) = 0;
    virtual BOOL SetupComm(HANDLE port, DWORD inQueue, DWORD outQueue) = 0;
    virtual BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) = 0;
    virtual BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) = 0;
    virtual BOOL ClearCommError(HANDLE port, DWORD* errors, COMSTAT* status) = 0;
    virtual BOOL PurgeComm(HANDLE port, DWORD flags) = 0;
    virtual BOOL GetCommModemStatus(HANDLE port, DWORD* status) = 0;
    virtual BOOL SetCommMask(HANDLE port, DWORD mask) = 0;
    virtual BOOL WaitCommEvent(HANDLE port, DWORD* mask, OVERLAPPED* overlapped) = 0;
    virtual BOOL ReadFile(HANDLE port, void* buffer, DWORD size, DWORD* got, OVERLAPPED* overlapped) = 0;
    virtual BOOL WriteFile(HANDLE port, const void* data, DWORD size, DWORD* written, OVERLAPPED* overlapped) = 0;
    virtual BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* overlapped, DWORD* bytes, BOOL wait) = 0;
    virtual BOOL CancelIo(HANDLE port) = 0;
};

// The system's own calls; one process-wide object.
ISerialDriver& NSystemSerialDriver();
