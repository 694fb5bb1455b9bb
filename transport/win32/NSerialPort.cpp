#include "transport/win32/NSerialPort.h"

#include <cstring>

#include "foundation/NTimeStamp.h"
#include "transport/SerialMode.h"

namespace {

uint64_t Now()
{
    return NTimeStamp::LocalNow().Ticks();
}

}  // namespace

NSerialPort::NSerialPort(ISerialDriver& driver) : m_driver(driver)
{
    m_packetEvent.Create(true, false);
    m_roomEvent.Create(true, true);
    m_transmitEvent.Create(true, false);
    m_transmitLock.Reset(::CreateMutexW(nullptr, FALSE, nullptr));
    m_thread.CreateStopEvent();
}

NSerialPort::~NSerialPort()
{
    Stop(INFINITE);
}

// ---- hooks ---------------------------------------------------------------

bool NSerialPort::OnRxData(const uint8_t* data, uint32_t length, uint64_t stamp)
{
    return m_callbacks.rxData != nullptr && m_callbacks.rxData(m_callbacks.context, data, length, stamp);
}
bool NSerialPort::OnCommEvents(uint32_t mask, uint64_t stamp)
{
    return m_callbacks.commEvents != nullptr && m_callbacks.commEvents(m_callbacks.context, mask, stamp);
}
bool NSerialPort::OnModemStatus(uint32_t status, uint64_t stamp)
{
    return m_callbacks.modemStatus != nullptr && m_callbacks.modemStatus(m_callbacks.context, status, stamp);
}
bool NSerialPort::OnCommErrors(uint32_t flags, uint64_t stamp)
{
    return m_callbacks.commErrors != nullptr && m_callbacks.commErrors(m_callbacks.context, flags, stamp);
}
bool NSerialPort::OnFailure(uint32_t code, const std::wstring& text, uint64_t stamp)
{
    return m_callbacks.failure != nullptr && m_callbacks.failure(m_callbacks.context, code, text, stamp);
}
bool NSerialPort::OnCommEventWaitTimedOut()
{
    return m_callbacks.commEventWaitTimedOut == nullptr || m_callbacks.commEventWaitTimedOut(m_callbacks.context);
}
bool NSerialPort::OnReadWaitTimedOut()
{
    return m_callbacks.readWaitTimedOut == nullptr || m_callbacks.readWaitTimedOut(m_callbacks.context);
}

// ---- packets -------------------------------------------------------------

void NSerialPort::Queue(std::unique_ptr<NSPRxPacket> packet)
{
    {
        std::lock_guard<std::mutex> guard(m_packetLock);
        if (packet->kind == NSPRxPacket::kData && ++m_dataPackets >= kMaxQueuedData)
            m_roomEvent.Reset();
        m_packets.push_back(std::move(packet));
        m_packetEvent.Set();
    }
    if (m_notifyWindow != nullptr && ::IsWindow(m_notifyWindow) && !m_posted.exchange(true))
        ::PostMessageW(m_notifyWindow, m_notifyMessage, reinterpret_cast<WPARAM>(this), m_notifyParam);
}

void NSerialPort::QueueFailure(uint32_t code, const std::wstring& text)
{
    const uint64_t stamp = Now();
    if (OnFailure(code, text, stamp))
        return;
    auto packet = std::make_unique<NSPRxPacket>();
    packet->kind = NSPRxPacket::kFailure;
    packet->value = code;
    packet->timeStamp = stamp;
    const size_t chars = text.size() < 255 ? text.size() : 255;  // 510 bytes at most
    for (size_t i = 0; i < chars; ++i) {
        const uint16_t unit = static_cast<uint16_t>(text[i]);
        packet->data[2 * i] = static_cast<uint8_t>(unit & 0xFF);
        packet->data[2 * i + 1] = static_cast<uint8_t>(unit >> 8);
    }
    packet->length = static_cast<uint32_t>(2 * chars);
    Queue(std::move(packet));
    ::SetLastError(code);  // the caller returns false with it
}

void NSerialPort::QueueValue(uint16_t kind, uint32_t value, uint64_t stamp)
{
    bool consumed = false;
    switch (kind) {
    case NSPRxPacket::kCommEvents: consumed = OnCommEvents(value, stamp); break;
    case NSPRxPacket::kModemStatus: consumed = OnModemStatus(value, stamp); break;
    case NSPRxPacket::kCommErrors: consumed = OnCommErrors(value, stamp); break;
    default: break;
    }
    if (consumed)
        return;
    auto packet = std::make_unique<NSPRxPacket>();
    packet->kind = kind;
    packet->value = value;
    packet->timeStamp = stamp;
    Queue(std::move(packet));
}

void NSerialPort::QueueData(const uint8_t* data, uint32_t length, uint64_t stamp)
{
    if (OnRxData(data, length, stamp))
        return;
    auto packet = std::make_unique<NSPRxPacket>();
    packet->kind = NSPRxPacket::kData;
    packet->length = length < NSPRxPacket::kDataSize ? length : NSPRxPacket::kDataSize;
    std::memcpy(packet->data, data, packet->length);
    packet->timeStamp = stamp;
    Queue(std::move(packet));
}

std::unique_ptr<NSPRxPacket> NSerialPort::TakePacket()
{
    std::lock_guard<std::mutex> guard(m_packetLock);
    if (m_packets.empty()) {
        m_packetEvent.Reset();
        m_posted.store(false);
        return nullptr;
    }
    std::unique_ptr<NSPRxPacket> packet = std::move(m_packets.front());
    m_packets.pop_front();
    if (packet->kind == NSPRxPacket::kData && m_dataPackets > 0 && --m_dataPackets < kMaxQueuedData)
        m_roomEvent.Set();
    if (m_packets.empty()) {
        m_packetEvent.Reset();
        m_posted.store(false);
    }
    return packet;
}

size_t NSerialPort::QueuedDataPackets()
{
    std::lock_guard<std::mutex> guard(m_packetLock);
    return m_dataPackets;
}

// ---- mode and port -------------------------------------------------------

bool NSerialPort::ApplyPortMode(const std::wstring& portAndMode)
{
    NSerialDcb dcb = m_dcb;
    NSerialModePort port;
    if (!NParseSerialMode(portAndMode, dcb, &port)) {
        QueueFailure(ERROR_INVALID_PARAMETER, L"parsing port/mode");
        return false;
    }
    if (port.named && port.number != m_portNumber) {
        if (IsOpen()) {
            QueueFailure(ERROR_NOT_READY, L"changing open port/number");
            return false;
        }
        if (port.number < 1 || port.number > 999) {
            QueueFailure(ERROR_INVALID_PARAMETER, L"changing port/number");
            return false;
        }
        m_portNumber = port.number;
        m_portName = L"COM" + std::to_wstring(port.number);
    }
    if (dcb == m_dcb)
        return true;
    if (!IsOpen()) {
        m_dcb = dcb;
        return true;
    }
    // The receive thread must not wait on the port while its state changes;
    // pausing it leaves the port open.
    m_pausing.store(true);
    const bool stopped = StopThread(INFINITE);
    m_pausing.store(false);
    if (!stopped || !IsOpen())  // the thread may have ended on a failure meanwhile
        return false;
    DCB system{};
    system.DCBlength = sizeof(system);
    if (!m_driver.GetCommState(m_port.load(), &system))
        system = DCB{};
    NCopyDcb(dcb, system);
    bool ok = true;
    if (!m_driver.SetCommState(m_port.load(), &system)) {
        QueueFailure(::GetLastError(), L"setting DCB");
        ok = false;
    } else {
        m_dcb = dcb;
    }
    // The old state still applies after a refused change: keep receiving.
    if (!StartThread())
        ok = false;
    return ok;
}

bool NSerialPort::Open(const std::wstring& portAndMode)
{
    if (IsOpen() && !Stop(INFINITE))
        return false;
    if (!portAndMode.empty() && !ApplyPortMode(portAndMode))
        return false;
    return OpenSequence();
}

bool NSerialPort::OpenFailed(const wchar_t* step, HANDLE port)
{
    const DWORD error = ::GetLastError();
    if (port != nullptr && port != INVALID_HANDLE_VALUE)
        m_driver.CloseHandle(port);
    QueueFailure(error, std::wstring(step) + L" " + m_portName);
    ::SetLastError(error);
    return false;
}

bool NSerialPort::OpenSequence()
{
    const std::wstring device = L"\\\\.\\" + m_portName;
    if (!m_portMutex.Acquire())
        return OpenFailed(L"opening port", nullptr);
    HANDLE port = m_driver.CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING,
                                       FILE_FLAG_OVERLAPPED);
    m_portMutex.Release();  // keeps the last error
    if (port == nullptr || port == INVALID_HANDLE_VALUE)
        return OpenFailed(L"opening port", nullptr);

    m_properties = COMMPROP{};
    if (!m_driver.GetCommProperties(port, &m_properties))
        return OpenFailed(L"open/getting comm properties", port);
    DCB system{};
    system.DCBlength = sizeof(system);
    m_driver.GetCommState(port, &system);  // keeps the reserved members as the driver has them
    NCopyDcb(m_dcb, system);
    if (!m_driver.SetCommState(port, &system))
        return OpenFailed(L"open/setting comm state", port);
    const bool toggleDtr = (m_properties.dwProvCapabilities & PCF_DTRDSR) != 0 &&
                           m_dcb.fDtrControl == NSerialDcb::kDtrHandshake;
    if (toggleDtr && !m_driver.EscapeCommFunction(port, CLRDTR))
        return OpenFailed(L"open/clearing DTR", port);
    if (m_inQueue != 0 && m_outQueue != 0 && !m_driver.SetupComm(port, m_inQueue, m_outQueue))
        return OpenFailed(L"open/setting i/o buffers", port);
    COMMTIMEOUTS timeouts{};
    if (!m_driver.GetCommTimeouts(port, &timeouts))
        return OpenFailed(L"open/getting timeouts", port);
    // Reads return at once with whatever is there; the wait for data is the
    // comm event, not the read.
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    if (!m_driver.SetCommTimeouts(port, &timeouts))
        return OpenFailed(L"open/setting timeouts", port);
    DWORD errors = 0;
    COMSTAT status{};
    if (!m_driver.ClearCommError(port, &errors, &status))
        return OpenFailed(L"open/clearing errors", port);
    if (!m_driver.PurgeComm(port, PURGE_TXABORT | PURGE_RXABORT))
        return OpenFailed(L"open/purging", port);
    if (toggleDtr && !m_driver.EscapeCommFunction(port, SETDTR))
        return OpenFailed(L"open/setting DTR", port);
    DWORD modem = 0;
    if (!m_driver.GetCommModemStatus(port, &modem))
        return OpenFailed(L"open/obtaining modem status", port);
    if (!m_driver.SetCommMask(port, kOpenEventMask))
        return OpenFailed(L"open/setting event mask", port);

    m_commErrors.store(errors);
    m_modemStatus.store(modem);
    m_port.store(port);
    const uint64_t stamp = Now();
    QueueValue(NSPRxPacket::kCommErrors, errors, stamp);
    QueueValue(NSPRxPacket::kModemStatus, modem, stamp);
    if (!StartThread()) {
        const DWORD error = ::GetLastError();
        QueueFailure(error, L"starting receive thread " + m_portName);
        Close();
        ::SetLastError(error);
        return false;
    }
    return true;
}

bool NSerialPort::StartThread()
{
    m_thread.ResetStopEvent();
    m_thread.SetPriority(m_priority.load());
    return m_thread.Start();
}

bool NSerialPort::StopThread(DWORD timeoutMs)
{
    if (!m_thread.IsRunning() && m_thread.ThreadHandle() == nullptr)
        return true;
    return m_thread.Stop(timeoutMs);
}

bool NSerialPort::Stop(DWORD timeoutMs)
{
    if (!StopThread(timeoutMs))
        return false;
    return Close();
}

bool NSerialPort::Close()
{
    HANDLE port = m_port.exchange(nullptr);
    if (port == nullptr)
        return true;
    bool ok = true;
    if (!m_driver.FlushFileBuffers(port)) {
        QueueFailure(::GetLastError(), L"closing/flushing port");
        ok = false;
    }
    if (!m_driver.CloseHandle(port)) {
        QueueFailure(::GetLastError(), L"closing port");
        ok = false;
    }
    return ok;
}

// ---- transmit ------------------------------------------------------------

bool NSerialPort::Write(const void* data, uint32_t count, uint32_t& written)
{
    written = 0;
    if (count == 0)
        return true;
    HANDLE port = m_port.load();
    if (port == nullptr) {
        QueueFailure(ERROR_INVALID_HANDLE, L"transmitting");
        return false;
    }
    const DWORD locked = ::WaitForSingleObject(m_transmitLock.Get(), kTransmitLockMs);
    if (locked != WAIT_OBJECT_0 && locked != WAIT_ABANDONED) {
        QueueFailure(ERROR_BUSY, L"transmit engine busy");
        return false;
    }
    bool ok = true;
    OVERLAPPED ov{};
    ov.hEvent = m_transmitEvent.Get();
    m_transmitEvent.Reset();
    DWORD done = 0;
    if (!m_driver.WriteFile(port, data, count, &done, &ov)) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_IO_PENDING) {
            QueueFailure(error, L"transmitting");
            ok = false;
        } else {
            bool timedOut = false;
            if (::WaitForSingleObject(ov.hEvent, kTransmitWaitMs) != WAIT_OBJECT_0) {
                timedOut = true;
                if (!m_driver.CancelIo(port))
                    QueueFailure(::GetLastError(), L"tx/cancelling i/o");
            }
            // The OVERLAPPED lives on this stack: the write must be over
            // (completed or cancelled) before it goes out of scope.
            done = 0;
            const BOOL got = m_driver.GetOverlappedResult(port, &ov, &done, TRUE);
            const DWORD error2 = ::GetLastError();
            if (timedOut) {
                QueueFailure(ERROR_TIMEOUT, L"transmit timed out");
                ok = false;
            } else if (!got) {
                // Nothing was cancelled: an aborted write means the device
                // went away, which the owner must hear of.
                QueueFailure(error2, L"tx/getting overlapped result");
                ok = false;
            }
        }
    }
    written = done;
    const DWORD error = ::GetLastError();
    ::ReleaseMutex(m_transmitLock.Get());
    ::SetLastError(error);
    return ok;
}
