#include "transport/win32/ISerialDriver.h"

namespace {

class NSystemSerialDriverImpl final : public ISerialDriver {
public:
    HANDLE CreateFileW(const wchar_t* device, DWORD access, DWORD share, DWORD creation, DWORD flags) override
    {
        return ::CreateFileW(device, access, share, nullptr, creation, flags, nullptr);
    }
    BOOL CloseHandle(HANDLE port) override { return ::CloseHandle(port); }
    BOOL FlushFileBuffers(HANDLE port) override { return ::FlushFileBuffers(port); }
    BOOL GetCommProperties(HANDLE port, COMMPROP* p) override { return ::GetCommProperties(port, p); }
    BOOL GetCommState(HANDLE port, DCB* dcb) override { return ::GetCommState(port, dcb); }
    BOOL SetCommState(HANDLE port, DCB* dcb) override { return ::SetCommState(port, dcb); }
    BOOL EscapeCommFunction(HANDLE port, DWORD f) override { return ::EscapeCommFunction(port, f); }
    BOOL SetupComm(HANDLE port, DWORD in, DWORD out) override { return ::SetupComm(port, in, out); }
    BOOL GetCommTimeouts(HANDLE port, COMMTIMEOUTS* t) override { return ::GetCommTimeouts(port, t); }
    BOOL SetCommTimeouts(HANDLE port, COMMTIMEOUTS* t) override { return ::SetCommTimeouts(port, t); }
    BOOL ClearCommError(HANDLE port, DWORD* e, COMSTAT* s) override { return ::ClearCommError(port, e, s); }
    BOOL PurgeComm(HANDLE port, DWORD f) override { return ::PurgeComm(port, f); }
    BOOL GetCommModemStatus(HANDLE port, DWORD* s) override { return ::GetCommModemStatus(port, s); }
    BOOL SetCommMask(HANDLE port, DWORD m) override { return ::SetCommMask(port, m); }
    BOOL WaitCommEvent(HANDLE port, DWORD* m, OVERLAPPED* o) override { return ::WaitCommEvent(port, m, o); }
    BOOL ReadFile(HANDLE port, void* b, DWORD n, DWORD* got, OVERLAPPED* o) override
    {
        return ::ReadFile(port, b, n, got, o);
    }
    BOOL WriteFile(HANDLE port, const void* d, DWORD n, DWORD* written, OVERLAPPED* o) override
    {
        return ::WriteFile(port, d, n, written, o);
    }
    BOOL GetOverlappedResult(HANDLE port, OVERLAPPED* o, DWORD* bytes, BOOL wait) override
    {
        return ::GetOverlappedResult(port, o, bytes, wait);
    }
    BOOL CancelIo(HANDLE port) override { return ::CancelIo(port); }
};

}  // namespace

ISerialDriver& NSystemSerialDriver()
{
    static NSystemSerialDriverImpl driver;
    return driver;
}
