#include "foundation/win32/NWorkerThread.h"

namespace {
constexpr char kStatusTag[] = "MNLF";
}  // namespace

NWorkerThread::StateLock::StateLock(const NWorkerThread& worker) : m_mutex(worker.m_stateMutex.Get())
{
    // An abandoned mutex (its holder was terminated) is still ours.
    const DWORD waited = m_mutex ? ::WaitForSingleObject(m_mutex, INFINITE) : WAIT_FAILED;
    m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

NWorkerThread::StateLock::~StateLock()
{
    if (m_held)
        ::ReleaseMutex(m_mutex);
}

NWorkerThread::NWorkerThread(int priority, uint32_t stackSize) : m_priority(priority), m_stackSize(stackSize)
{
    // Owned while the object is being built, so that no thread sees it half made.
    m_stateMutex.Reset(::CreateMutexW(nullptr, TRUE, nullptr));
    m_stopEvent.Create(true, false);
    m_statusEvent.Create(true, false);
    m_reportEvent.Create(true, false);
    if (m_stateMutex)
        ::ReleaseMutex(m_stateMutex.Get());
}

NWorkerThread::~NWorkerThread() { Stop(INFINITE); }

bool NWorkerThread::ShouldContinue()
{
    if (NIsBadThis(this) || m_slot.IsStopRequested())
        return false;
    return IsAlive();
}

bool NWorkerThread::Start()
{
    if (NIsBadThis(this))
        return false;
    if (!m_stateMutex || !m_stopEvent || !m_statusEvent || !m_reportEvent) {
        ::SetLastError(ERROR_INVALID_HANDLE);  // construction could not create them
        return false;
    }
    return m_slot.Launch(&NWorkerThread::Body, this, m_stackSize, m_priority, [this] { m_stopEvent.Reset(); });
}

bool NWorkerThread::Stop(DWORD timeoutMs)
{
    if (NIsBadThis(this))
        return false;
    return m_slot.Stop(timeoutMs, [this] { m_stopEvent.Set(); });
}

bool NWorkerThread::Terminate(DWORD exitCode)
{
    if (NIsBadThis(this))
        return false;
    // Under the state mutex, so that the thread cannot die holding it.
    StateLock lock(*this);
    return m_slot.Terminate(exitCode, [] {});
}

bool NWorkerThread::RequestStop()
{
    if (NIsBadThis(this))
        return false;
    return m_slot.RequestStop([this] { m_stopEvent.Set(); });
}

void NWorkerThread::SetNotify(HWND window, UINT lifeMessage, UINT reportMessage)
{
    if (NIsBadThis(this))
        return;
    StateLock lock(*this);
    m_notifyWindow = window;
    m_lifeMessage = lifeMessage;
    m_reportMessage = reportMessage;
}

bool NWorkerThread::PostStatus(const std::wstring& text)
{
    if (NIsBadThis(this))
        return false;
    StateLock lock(*this);
    m_statusTag = kStatusTag;
    m_statusText = text;
    m_statusPending.store(1);
    m_statusEvent.Set();
    return true;
}

bool NWorkerThread::TakeStatus(std::string& tag, std::wstring& text)
{
    if (NIsBadThis(this))
        return false;
    StateLock lock(*this);
    if (m_statusPending.exchange(0) == 0)
        return false;
    m_statusEvent.Reset();
    tag = m_statusTag;
    text = m_statusText;
    return true;
}

bool NWorkerThread::PostReport(int32_t code, const std::wstring& text)
{
    if (NIsBadThis(this))
        return false;
    StateLock lock(*this);
    m_reportCode = code;
    m_reportText = text;
    m_reportPending.store(1);
    m_reportEvent.Set();
    Notify(m_reportMessage, static_cast<WPARAM>(static_cast<uint32_t>(code)));
    return true;
}

bool NWorkerThread::TakeReport(int32_t& code, std::wstring& text)
{
    if (NIsBadThis(this))
        return false;
    StateLock lock(*this);
    if (m_reportPending.exchange(0) == 0)
        return false;
    m_reportEvent.Reset();
    code = m_reportCode;
    text = m_reportText;
    return true;
}

void NWorkerThread::Notify(UINT message, WPARAM wParam)
{
    if (m_notifyWindow != nullptr && message != 0 && ::IsWindow(m_notifyWindow))
        ::PostMessageW(m_notifyWindow, message, wParam, reinterpret_cast<LPARAM>(this));
}

DWORD WINAPI NWorkerThread::Body(void* self)
{
    auto* worker = static_cast<NWorkerThread*>(self);
    NThreadSlot& slot = worker->m_slot;
    DWORD code = NThreadSlot::kUnhandledException;
    // No exception may leave a thread procedure: it would end the process.
    try {
        worker->OnStart();
        {
            StateLock lock(*worker);
            worker->Notify(worker->m_lifeMessage, 1);
        }
        code = worker->Run();
        slot.SetExitCode(code);
        worker->OnExit();
    } catch (...) {
        code = NThreadSlot::kUnhandledException;
        slot.SetExitCode(code);
    }
    {
        StateLock lock(*worker);
        worker->Notify(worker->m_lifeMessage, 0);
    }
    slot.SetRunning(false);
    return code;
}
