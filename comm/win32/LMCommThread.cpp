#include "comm/win32/LMCommThread.h"

#include <winsock2.h>

#include <cstring>

#include "comm/LMConsoleAddress.h"
#include "comm/LMRequestCodes.h"
#include "comm/LMRxText.h"
#include "comm/LMSerialReport.h"
#include "comm/LMTermination.h"
#include "foundation/Crc32.h"
#include "foundation/Utf.h"
#include "foundation/win32/NRandomCrypto.h"
#include "foundation/win32/SystemErrorText.h"
#include "logging/LMLog.h"
#include "shades/LMShades.h"
#include "transport/HostPort.h"
#include "comm/win32/LMTcpTransport.h"
#include "transport/win32/ISerialDriver.h"
#include "transport/win32/LMASock.h"

N_DEFINE_CLASS_INFO(LMCommThread, NClassInfo)

namespace {
constexpr DWORD kErrorCancelled = 1223;
constexpr DWORD kErrorInvalidState = 1359;
constexpr DWORD kErrorUnexpectedEvents = 1287;
constexpr DWORD kErrorTimeout = 1460;
constexpr size_t kSendPiece = 1048576;
// What the worker asks the serial engine to report: break, frame and parity
// events, every comm error, no modem-line changes, data as packets.
constexpr uint32_t kSerialEventReport = 0x2C0;
constexpr uint32_t kSerialModemReport = 0;
constexpr uint32_t kSerialErrorReport = 0x9F1F;

// Temporary copies of what the user sent are wiped before they are freed.
void Wipe(std::string& bytes)
{
    volatile char* p = bytes.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        p[i] = 0;
    bytes.clear();
}
}  // namespace

LMCommThread::LMCommThread(ILMCommConfig* config, LMLog* log, ISerialDriver* driver)
    : m_config(config), m_log(log), m_port(driver != nullptr ? *driver : NSystemSerialDriver())
{
    m_stopEvent.Create(true, false);
    m_requestEvent.Create(false, false);
    m_drainEvent.Create(false, false);
}

LMCommThread::~LMCommThread()
{
    // The body waits on our events: stop it while Wake still reaches them.
    Stop(INFINITE);
}

bool LMCommThread::Connect(bool altMode)
{
    m_altMode = altMode ? 1 : 0;
    uint8_t idle = kIdle;
    if (!m_state.compare_exchange_strong(idle, kConnecting))
        return false;
    // The state turns idle in OnExit, a moment before the previous run's
    // thread has really ended: join it, or Start would refuse.
    Stop(INFINITE);
    m_stopEvent.Reset();
    ClearRequests();
    if (Start())
        return true;
    // A worker that did not start must not stay "connecting" for ever.
    const DWORD error = GetLastError();
    m_state = kIdle;
    SetLastError(error);
    return false;
}

bool LMCommThread::Disconnect()
{
    uint8_t connected = kConnected;
    m_state.compare_exchange_strong(connected, kDisconnecting);
    return Stop(INFINITE);
}

void LMCommThread::Wake() { m_stopEvent.Set(); }

void LMCommThread::PostRequest(uint32_t code, std::wstring text)
{
    {
        std::lock_guard<std::mutex> guard(m_requestLock);
        m_requests.push_back({code, std::move(text)});
    }
    m_requestEvent.Set();
}

void LMCommThread::ClearRequests()
{
    std::lock_guard<std::mutex> guard(m_requestLock);
    m_requests.clear();
    m_requestEvent.Reset();
}

LMCommThread::SRequest LMCommThread::TakeRequest()
{
    std::lock_guard<std::mutex> guard(m_requestLock);
    if (m_requests.empty())
        return {};
    SRequest request = std::move(m_requests.front());
    m_requests.pop_front();
    return request;
}

bool LMCommThread::RequestReset()
{
    {
        std::lock_guard<std::mutex> guard(m_procedureLock);
        if (m_procedureActive.load() != 0)
            return false;
        m_procedureActive = 1;
        m_procedureName = L"Reset";
        m_spareCounter = 0;
        m_signatureChar = 0;
        m_steps = 1;
        m_stepsDone = 0;
        PostRequest(lmreq::kReset);
    }
    return true;
}

std::wstring LMCommThread::GetProcedureName()
{
    std::lock_guard<std::mutex> guard(m_procedureLock);
    return m_procedureActive.load() != 0 ? m_procedureName : std::wstring();
}

std::wstring LMCommThread::SelectedMode() const
{
    return m_altMode.load() != 0 ? m_config->AltMode() : m_config->SerMode();
}

std::wstring LMCommThread::ModeInUse() const
{
    {
        std::lock_guard<std::mutex> guard(m_modeLock);
        if (!m_modeInUse.empty())
            return m_modeInUse;
    }
    return SelectedMode();
}

std::wstring LMCommThread::GetAddress() const
{
    return LMConsoleAddress(m_config->ConMode(), m_config->HostPort(), m_config->DevAddr(), m_config->ComPort(),
                            ModeInUse());
}

SLMRxSettings LMCommThread::RxSettings() const
{
    SLMRxSettings s;
    s.rxTerm = m_config->RxTerm();
    s.rxWrap = m_config->RxWrap();
    s.rxTimeoutMs = m_config->RxTimeoutMs();
    s.procedureActive = m_procedureActive.load() != 0;
    return s;
}

void LMCommThread::Log(uint8_t kind, const std::wstring& text) { m_log->AddEntry(text, kind, NTimeStamp::LocalNow()); }

void LMCommThread::LogSystemError(uint32_t code, uint8_t kind, NTimeStamp stamp)
{
    m_log->AddEntry(NSystemErrorText(code), kind, stamp);
}

// ---- connecting -------------------------------------------------------------

DWORD LMCommThread::ConnectTcp(bool& connected)
{
    connected = false;
    NHostPort address;
    // An address that slipped past the setup checks stays unset and fails
    // in the connect below with the system's own text.
    address.Parse(m_config->HostPort());
    m_socket = std::make_unique<LMASock>();
    bool pending = false;
    if (!m_socket->Connect(address.host, address.port, pending)) {
        const int error = WSAGetLastError();
        LogSystemError(static_cast<uint32_t>(error), LMShades::kError, NTimeStamp::LocalNow());
        return 0;
    }
    m_waits[2] = m_socket->NetworkEvent();
    if (!pending) {
        connected = true;
        return 0;
    }
    const DWORD wait = WaitForMultipleObjects(3, m_waits, FALSE, m_connectTimeoutMs.load());
    switch (wait) {
    case WAIT_OBJECT_0:
        return kErrorCancelled;
    case WAIT_OBJECT_0 + 1:
        Log(LMShades::kError, L"LM operations not available while still trying to connect.");
        return kErrorCancelled;
    case WAIT_OBJECT_0 + 2: {
        int connectError = 0;
        bool other = false;
        if (!m_socket->ConnectResult(connectError, other)) {
            const int error = WSAGetLastError();
            LogSystemError(static_cast<uint32_t>(error), LMShades::kError, NTimeStamp::LocalNow());
            return static_cast<DWORD>(error);
        }
        if (connectError == WSAEWOULDBLOCK) {  // FD_CONNECT was not among the events
            Log(LMShades::kError, L"Connection aborted: unexpected socket event(s).");
            return kErrorUnexpectedEvents;
        }
        if (connectError != 0) {
            LogSystemError(static_cast<uint32_t>(connectError), LMShades::kError, NTimeStamp::LocalNow());
            return static_cast<DWORD>(connectError);
        }
        connected = true;
        return 0;
    }
    case WAIT_TIMEOUT:
        Log(LMShades::kError, L"Timed out waiting for LM host to respond.");
        return kErrorTimeout;
    default: {
        DWORD error = GetLastError();
        if (error == 0)
            error = 1;
        const NTimeStamp now = NTimeStamp::LocalNow();
        m_log->AddError(L"Error waiting for events in worker thread.", now);
        LogSystemError(error, LMShades::kDisaster, now);
        return error;
    }
    }
}

bool LMCommThread::ConnectSerial(DWORD& exitCode)
{
    exitCode = 0;
    std::wstring port;
    if (m_config->ConMode() == 2) {
        port = m_config->ComPort();
        if (m_config->DevAddrOfComPort(port).empty()) {
            Log(LMShades::kError, L"Cannot map COM port to serial device address.");
            exitCode = 2;
            return false;
        }
    } else {
        port = m_config->ComPortOfDevAddr(m_config->DevAddr());
        if (port.empty()) {
            Log(LMShades::kError, L"Cannot map serial device address to COM port.");
            exitCode = 2;
            return false;
        }
    }
    m_serial = true;
    m_portName = port;
    m_waits[2] = m_port.PacketEvent();
    m_port.SetReportMasks(kSerialEventReport, kSerialModemReport, kSerialErrorReport);
    m_port.SetReportData(true);
    // A failed open leaves its reasons as packets; the end of the
    // connection logs them.
    return m_port.Open(port + L" " + ModeInUse());
}

bool LMCommThread::OpenTransport(DWORD& exitCode)
{
    if (m_config->ConMode() != 0)
        return ConnectSerial(exitCode);
    bool connected = false;
    exitCode = ConnectTcp(connected);
    if (connected)
        AdoptTransport(std::make_unique<LMTcpTransport>(std::move(m_socket)));
    m_socket.reset();
    return connected;
}

void LMCommThread::AdoptTransport(std::unique_ptr<ILMCommTransport> transport)
{
    m_transport = std::move(transport);
    m_waits[2] = m_transport ? m_transport->Event() : nullptr;
}

// ---- the body ---------------------------------------------------------------

DWORD LMCommThread::Run()
{
    m_waits[0] = m_stopEvent.Get();
    m_waits[1] = m_requestEvent.Get();
    m_waits[2] = nullptr;
    m_exitCode = 0;
    m_connected = false;
    m_moreInput = false;
    m_flood = 0;
    m_floodDelay = 0;
    m_serial = false;
    m_portName.clear();
    m_cutter.Reset();
    m_wasThrottled = false;
    m_log->SetDrainListener(this);
    {
        // The mode is chosen once per connection; PMOD changes it.
        std::wstring mode = SelectedMode();
        std::lock_guard<std::mutex> guard(m_modeLock);
        m_modeInUse = std::move(mode);
    }

    const uint8_t state = m_state.load();
    if (state == kDisconnecting) {
        m_exitCode = kErrorCancelled;
    } else if (state != kConnecting) {
        m_exitCode = kErrorInvalidState;
    } else {
        m_log->AddInfo(L"Connecting to " + GetAddress(), NTimeStamp::LocalNow());
        DWORD code = 0;
        const bool connected = OpenTransport(code);
        m_exitCode = code;
        if (connected) {
            m_procedureActive = 0;
            m_spareCounter = 0;
            uint8_t connecting = kConnecting;
            if (!m_state.compare_exchange_strong(connecting, kConnected)) {
                m_exitCode = connecting == kDisconnecting ? kErrorCancelled : kErrorInvalidState;
            } else {
                m_log->AddInfo(L"Connected to " + GetAddress(), NTimeStamp::LocalNow());
                m_connected = true;
                m_awaitingReply = false;
                m_cutter.ResetLineEndState();
            }
        }
    }

    while (m_connected) {
        if (!ShouldContinue()) {
            m_exitCode = kErrorCancelled;
            break;
        }
        DWORD timeout = m_flood.load() != 0 ? m_floodDelay : m_config->RxTimeoutMs();
        if (m_flood.load() == 0 && timeout == 0)
            timeout = 1000;
        // While the view is behind, the transport is not read (its own flow
        // control then holds the board back) and the worker waits for the
        // view to drain instead of for input; stop and requests still count.
        const bool throttled = m_log->IsBackedUp();
        HANDLE waits[3] = {m_waits[0], m_waits[1], throttled ? m_drainEvent.Get() : m_waits[2]};
        if (throttled) {
            // No flood steps either, so no short flood delay: that would spin.
            timeout = m_config->RxTimeoutMs() != 0 ? m_config->RxTimeoutMs() : 1000;
            if (!m_wasThrottled)
                ++m_throttles;
        } else if (m_moreInput) {
            timeout = 0;
        }
        m_wasThrottled = throttled;
        const DWORD wait = WaitForMultipleObjects(waits[2] != nullptr ? 3 : 2, waits, FALSE, timeout);
        if (wait == WAIT_OBJECT_0) {
            m_exitCode = kErrorCancelled;
            break;
        }
        if (wait == WAIT_FAILED) {
            m_exitCode = GetLastError();
            const NTimeStamp now = NTimeStamp::LocalNow();
            m_log->AddError(L"Error waiting for events in worker thread.", now);
            LogSystemError(m_exitCode, LMShades::kDisaster, now);
            break;
        }
        bool end = false;
        if (!HandleRequest(TakeRequest(), end) || end)
            break;
        if (m_log->IsBackedUp()) {
            // Input waits where it is; only a port that went away ends it.
            if (m_serial && !m_port.IsOpen())
                break;
        } else if (m_serial) {
            // A port the receive thread closed (device gone) ends the
            // connection; its failure packets are logged at the end.
            if (!m_port.IsOpen())
                break;
            std::unique_ptr<NSPRxPacket> packet = m_port.TakePacket();
            if (packet && !HandleSerialPacket(*packet))
                break;
        } else {
            const int read = ReadSocket();
            if (read < 0)
                break;
            if (read == 0 && wait == WAIT_TIMEOUT)
                m_cutter.RefreshOpen(RxSettings(), *this);
        }
        if (m_config->RxTimeoutMs() != 0 && !FlushPartial(false))
            break;
        // The debugging test's lines are input too: none while the view is behind.
        if (m_flood.load() != 0 && !m_log->IsBackedUp())
            FloodStep();
    }

    m_state = kDisconnecting;
    m_transport.reset();
    m_socket.reset();
    if (m_serial)
        CloseSerial();
    m_waits[2] = nullptr;
    m_log->SetDrainListener(nullptr);
    m_procedureActive = m_connected ? 1 : 0;
    return m_exitCode;
}

void LMCommThread::OnExit()
{
    ClearRequests();
    const bool wasConnected = m_procedureActive.exchange(0) != 0;
    m_log->AddInfo((wasConnected ? L"Disconnected from " : L"Not connected to ") + GetAddress(),
                   NTimeStamp::LocalNow());
    {
        std::lock_guard<std::mutex> guard(m_modeLock);
        m_modeInUse.clear();
    }
    m_state = kIdle;
    m_stopEvent.Reset();
}

// ---- requests ---------------------------------------------------------------

bool LMCommThread::HandleRequest(const SRequest& request, bool& end)
{
    switch (request.code) {
    case lmreq::kReset:
        NotAvailable(L"Reset");
        return true;
    case lmreq::kSequence:
        NotAvailable(L"Sequence");
        return true;
    case lmreq::kUserBreak:
        if (!FlushPartial(true))
            return false;
        NotAvailable(L"User break");
        return true;
    case lmreq::kUserCommand:
        return SendUserCommand(request.text, false);
    case lmreq::kBaudTest:
        end = true;
        return true;
    case lmreq::kFlood:
        m_flood = m_flood.load() != 0 ? 0 : 1;
        m_floodDelay = 0;
        return true;
    case lmreq::kPortMode:
        ChangePortMode();
        return true;
    default:  // CSET, none and unknown codes only wake the worker
        return true;
    }
}

void LMCommThread::NotAvailable(const wchar_t* what)
{
    Log(LMShades::kWarning, std::wstring(what) + L" is not available yet.");
    EndProcedure();
}

void LMCommThread::EndProcedure()
{
    m_awaitingReply = false;
    m_spareFirstProblem = 0;
    m_procedureActive = 0;
}

void LMCommThread::FloodStep()
{
    INRandomSource& random = NRandomCrypto::Instance();
    m_floodDelay = random.NextByte() >> 4;
    const int length = (random.NextByte() >> 3) + 32;
    std::wstring text;
    for (int i = 0; i < length; ++i)
        text.push_back(static_cast<wchar_t>((random.NextByte() >> 2) + 32));
    const uint8_t kind = static_cast<uint8_t>((random.NextByte() * 12) >> 8);
    m_log->AddEntry(text, kind, NTimeStamp::LocalNow());
}

// ---- receiving --------------------------------------------------------------

int LMCommThread::ReadSocket()
{
    if (!m_transport)
        return -1;
    if (m_readBuffer.size() != LMASock::kReceiveBuffer)
        m_readBuffer.resize(LMASock::kReceiveBuffer);
    char* const buffer = m_readBuffer.data();
    bool something = false;
    m_moreInput = false;
    for (int pass = 0;; ++pass) {
        // A backed-up log stops the pass between reads: the queue then grows
        // past its mark by one read at most.
        if (pass == kReadsPerPass || (pass > 0 && m_log->IsBackedUp())) {
            m_moreInput = true;
            return 1;
        }
        const int got = m_transport->Receive(buffer, LMASock::kReceiveBuffer);
        if (got > 0) {
            if (!ProcessBytes(buffer, static_cast<size_t>(got), NTimeStamp::LocalNow()))
                return -1;
            something = true;
            continue;
        }
        if (got == 0) {
            Log(LMShades::kWarning, L"Warning: connection closed by host " + m_transport->PeerName());
            return -1;
        }
        const int error = m_transport->LastError();
        if (error == ILMCommTransport::kWouldBlock)
            return something ? 1 : 0;
        const NTimeStamp now = NTimeStamp::LocalNow();
        m_log->AddError(L"Error while reading data from " + m_transport->PeerName(), now);
        if (error != 0)
            LogSystemError(static_cast<uint32_t>(error), LMShades::kError, now);
        return -1;
    }
}

bool LMCommThread::ProcessBytes(const void* data, size_t size, NTimeStamp stamp)
{
    m_now = stamp;
    const SLMRxSettings settings = RxSettings();
    if (m_cutter.Process(data, size, stamp, settings, *this))
        return true;
    if (settings.rxTerm > lmrx::kHexMode && !settings.procedureActive)
        Log(LMShades::kError, L"Invalid Rx termination " + std::to_wstring(settings.rxTerm));
    return false;
}

bool LMCommThread::FlushPartial(bool force)
{
    m_now = NTimeStamp::LocalNow();
    return m_cutter.Flush(force, m_now, RxSettings(), *this);
}

bool LMCommThread::OnRxLine(std::string_view bytes, bool forced)
{
    // Plain ASCII lines (nearly all of them) go to the log without a copy.
    std::string_view text = bytes;
    if (!LMRxIsPlainText(bytes)) {
        LMRxBytesToUtf8(bytes, m_lineText);
        text = m_lineText;
    }
    const LMShades* shades = m_config->Shades();
    uint8_t kind = LMShades::kReceived;
    if (shades != nullptr && !text.empty())
        kind = shades->ClassifyLine(static_cast<unsigned char>(text[0]));
    if (kind == LMShades::kProblem && m_spareFirstProblem.exchange(0) != 0)
        kind = LMShades::kReceived;
    m_log->AddEntryUtf8(text, kind, m_now);
    // The procedures' reply handling joins with the target protocol.
    return true;
}

void LMCommThread::OnRxHexLine(std::string_view text) { m_log->AddEntryUtf8(text, LMShades::kReceived, m_now); }

void LMCommThread::OnRxOpen(std::string_view bytesOrText, bool hex)
{
    if (hex) {
        m_log->AddEntryUtf8(bytesOrText, LMShades::kRecdOpen, m_now);
        return;
    }
    LMRxBytesToUtf8(bytesOrText, m_lineText);
    m_log->AddEntryUtf8(m_lineText, LMShades::kRecdOpen, m_now);
}

// ---- sending ----------------------------------------------------------------

bool LMCommThread::SendUserCommand(const std::wstring& text, bool replyAwaited)
{
    if (!FlushPartial(true))
        return false;
    m_log->AddEntry(text, LMShades::kTransmitted, NTimeStamp::LocalNow());
    std::string bytes = NWideToUtf8(text);
    m_lastCommandCrc = NCrc32(bytes.data(), bytes.size());
    m_lastCommandTick = GetTickCount64();
    m_awaitingReply = replyAwaited;
    bytes += LMTxTerminator(m_config->TxTerm());
    const bool ok = bytes.empty() || SendBytes(bytes.data(), bytes.size());
    Wipe(bytes);
    return ok;
}

bool LMCommThread::SendBytes(const void* data, size_t size)
{
    if (m_serial)
        return WriteSerial(static_cast<const char*>(data), size);
    if (!m_transport) {
        Log(LMShades::kError, L"Error writing to " + GetAddress());
        return false;
    }
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const size_t piece = size < kSendPiece ? size : kSendPiece;
        if (!m_transport->SendAll(p, piece)) {
            const int error = m_transport->LastError();
            const NTimeStamp now = NTimeStamp::LocalNow();
            m_log->AddError(L"Error sending to " + m_transport->PeerName(), now);
            LogSystemError(static_cast<uint32_t>(error), LMShades::kError, now);
            return false;
        }
        p += piece;
        size -= piece;
    }
    return true;
}

// ---- serial -----------------------------------------------------------------

bool LMCommThread::HandleSerialPacket(const NSPRxPacket& packet)
{
    const NTimeStamp stamp(packet.timeStamp);
    switch (packet.kind) {
    case NSPRxPacket::kData: {
        const uint32_t length = packet.length < NSPRxPacket::kDataSize ? packet.length : NSPRxPacket::kDataSize;
        return ProcessBytes(packet.data, length, stamp);
    }
    case NSPRxPacket::kFailure: {
        std::wstring text;
        const uint32_t length = packet.length < NSPRxPacket::kDataSize ? packet.length : NSPRxPacket::kDataSize;
        for (uint32_t i = 0; i + 1 < length; i += 2)
            text.push_back(static_cast<wchar_t>(packet.data[i] | (packet.data[i + 1] << 8)));
        m_log->AddError(L"Error " + text, stamp);
        if (packet.value != 0)
            LogSystemError(packet.value, LMShades::kError, stamp);
        return true;
    }
    default: {
        SLMSerialReport report;
        if (LMDescribeSerialPacket(packet.kind, packet.value, m_port.PortName(), m_config->IgnoreNDE(), report))
            m_log->AddEntry(report.text, report.kind, stamp);
        return true;
    }
    }
}

void LMCommThread::CloseSerial()
{
    m_port.Stop(INFINITE);
    while (std::unique_ptr<NSPRxPacket> packet = m_port.TakePacket()) {
        if (!HandleSerialPacket(*packet))
            break;
    }
    // What a failed handler left is of no use to the next connection.
    while (m_port.TakePacket()) {
    }
    m_serial = false;
}

void LMCommThread::ChangePortMode()
{
    const std::wstring mode = SelectedMode();
    if (!m_serial || mode == ModeInUse()) {
        Log(LMShades::kWarning, L"No port/mode change.");
        return;
    }
    if (!m_port.ApplyPortMode(m_portName + L" " + mode)) {
        // The port keeps its old mode; its own failure packet follows.
        Log(LMShades::kError, L"Unable to change port/mode to " + mode);
        return;
    }
    {
        std::lock_guard<std::mutex> guard(m_modeLock);
        m_modeInUse = mode;
    }
    Log(LMShades::kInfo, L"Changed to " + GetAddress());
}

bool LMCommThread::WriteSerial(const char* data, size_t size)
{
    while (size > 0) {
        const size_t piece = size < kSendPiece ? size : kSendPiece;
        uint32_t written = 0;
        // A write that moves nothing would spin here for ever.
        if (!m_port.Write(data, static_cast<uint32_t>(piece), written) || written == 0 || written > piece) {
            Log(LMShades::kError, L"Error writing to " + m_port.PortName());
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}
