#include "console/win32/LMConsView.h"

#include <cmath>
#include <cstring>
#include <string>

#include "comm/LMConsCommConfig.h"
#include "comm/win32/LMCommThread.h"
#include "config/LMConsConfig.h"
#include "config/win32/LMRegisteredMessages.h"
#include "console/win32/LMConsViewText.h"
#include "foundation/FontCode.h"
#include "foundation/Utf.h"
#include "logging/LMLogEntry.h"
#include "logging/win32/LMLogWindowListener.h"
#include "shades/LMShades.h"
#include "transport/win32/NCOMPortEnumThread.h"

namespace {
// A drain gives the window back after this long, so that a flooding board
// cannot keep paints, input and the close command waiting.
constexpr DWORD kDrainBudgetMs = 40;
// The depth used when the configured one cannot be allocated.
constexpr int32_t kFallbackDepth = 5000;
}  // namespace

const LMShades* LMConsView::ShadesOwner::CurrentShades() const
{
    return m_config != nullptr ? m_config->CurrentShades() : nullptr;
}

LMConsView::LMConsView(LMConsConfig* config) : m_config(config), m_shadesOwner(config), m_log(&m_shadesOwner) {}

LMConsView::~LMConsView()
{
    DestroyWindow();
    if (m_config != nullptr && m_worker && m_config->CommThread() == m_worker.get())
        m_config->SetCommThread(nullptr);
}

bool LMConsView::Create(HWND parent, UINT id)
{
    if (NIsBadObjectPtr(m_config)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    static const bool registered =
        NWnd::RegisterClass(kClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW),
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (!registered)
        return false;
    m_commConfig = std::make_unique<LMConsCommConfig>(*m_config);
    m_worker = std::make_unique<LMCommThread>(m_commConfig.get(), &m_log);
    if (!CreateConsole(kClassName, parent, id, RECT{}, WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE))
        return false;
    Initialise();
    return true;
}

void LMConsView::Initialise()
{
    m_config->SetCommThread(m_worker.get());
    const unsigned depth = m_config->Settings().LogDepth.Get();
    const int32_t wanted = depth > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(depth);
    if (!SetDepth(wanted, true)) {
        // A depth the machine cannot hold must not leave the console blind.
        SetDepth(kFallbackDepth, true);
        m_log.AddWarning(L"Cannot keep " + std::to_wstring(depth) + L" log lines; keeping " +
                             std::to_wstring(kFallbackDepth),
                         NTimeStamp::LocalNow());
    }
    SetAnchor(Capacity());
    LoadFont();
    LoadColours();
    SetFrameTitle();
    ::SetTimer(Handle(), kRefreshTimer, kRefreshMs, nullptr);
    m_lastRefreshTick = ::GetTickCount();
    LMLogWindowListener::Attach(m_log, Handle());
    LogStartupNotes();
    DrainLog();
    if (m_config->Settings().AutoConnect.Get())
        ::PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(kCmdConnect, 0), 0);
    m_ready = true;
}

void LMConsView::OnDestroy()
{
    ::KillTimer(Handle(), kRefreshTimer);
    StopWorker();
    DrainLog();
    // No more notices to a window that is going away.
    m_log.SetNotifyWindow(nullptr);
    LMLogEntry::ReleaseChain(m_pending);
    m_pending = nullptr;
    m_ready = false;
    ConsoleWnd::OnDestroy();
}

void LMConsView::StopWorker()
{
    if (!m_worker)
        return;
    uint8_t connected = LMCommThread::kConnected;
    m_worker->m_state.compare_exchange_strong(connected, LMCommThread::kDisconnecting);
    m_worker->Stop(INFINITE);
}

// ---- log ---------------------------------------------------------------------

namespace {
// Entries are UTF-8; received lines are nearly always plain ASCII, which
// widens without the general conversion and without a new string.
void Widen(const std::string& utf8, std::wstring& wide)
{
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            wide = NUtf8ToWide(utf8);
            return;
        }
    }
    wide.resize(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i)
        wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(utf8[i]));
}
}  // namespace

size_t LMConsView::DrainLog()
{
    if (m_draining)
        return 0;
    m_draining = true;
    const DWORD start = ::GetTickCount();
    size_t shown = 0;
    bool changed = false;
    bool more = false;
    for (;;) {
        LMLogEntry* chain = m_pending != nullptr ? m_pending : m_log.PopAll();
        m_pending = nullptr;
        if (chain == nullptr)
            break;  // the queue is empty and the next notice is armed
        for (LMLogEntry* entry = chain; entry != nullptr; entry = entry->Next()) {
            Widen(entry->Text(), m_wide);
            if (AppendEntry(entry->Kind(), m_wide))
                changed = true;
            ++shown;
            if ((shown & 63) == 0 && ::GetTickCount() - start >= kDrainBudgetMs) {
                // Keep the rest for the next drain; give back what was shown.
                m_pending = entry->Next();
                entry->SetNext(nullptr);
                more = true;
                break;
            }
        }
        LMLogEntry::ReleaseChain(chain);
        if (more || ::GetTickCount() - start >= kDrainBudgetMs) {
            more = true;
            break;
        }
    }
    if (Handle() != nullptr) {
        AfterBatch(changed);
        if (more) {
            // Not armed: we must come back ourselves. Paint first, so that a
            // flood still shows, and keep the connection state current,
            // since a queue that never empties keeps timer messages away.
            ::UpdateWindow(Handle());
            ::PostMessageW(Handle(), LMLogWindowListener::Message(), 0, reinterpret_cast<LPARAM>(&m_log));
            if (::GetTickCount() - m_lastRefreshTick >= kRefreshMs) {
                m_lastRefreshTick = ::GetTickCount();
                ReportState();
            }
        }
    }
    m_draining = false;
    return shown;
}

void LMConsView::Info(const std::wstring& text)
{
    m_log.AddInfo(text, NTimeStamp::LocalNow());
}

void LMConsView::Error(const std::wstring& text)
{
    m_log.AddError(text, NTimeStamp::LocalNow());
}

// ---- state -------------------------------------------------------------------

uint8_t LMConsView::State() const
{
    return m_worker ? m_worker->m_state.load() : static_cast<uint8_t>(LMCommThread::kIdle);
}

bool LMConsView::ProcedureActive() const
{
    return m_worker && m_worker->m_procedureActive.load() != 0;
}

void LMConsView::ReportState()
{
    const uint8_t state = State();
    if (state == m_reportedState)
        return;
    m_reportedState = state;
    // A port that was just opened or let go shows as busy or free in the
    // main window's list only after the next scan.
    NCOMPortEnumThread::Global().RequestScan(false);
    HWND frame = ::GetParent(Handle());
    if (frame != nullptr)
        ::PostMessageW(frame, LMMessage(lmmsg::kOnConnect), state, 0);
}

void LMConsView::OnRefresh()
{
    m_lastRefreshTick = ::GetTickCount();
    DrainLog();
    ReportState();
}

// ---- appearance --------------------------------------------------------------

void LMConsView::LoadColours()
{
    ClearSchemes();
    const LMShades* shades = m_config->CurrentShades();
    const Scheme fallback{};
    if (shades != nullptr) {
        for (size_t i = 0; i < shades->RowCount(); ++i) {
            const SLMShade& row = shades->Row(i);
            // A row without colours shows in the default pair rather than
            // in black on black.
            const COLORREF text = row.fore <= SLMShade::kMaxColour ? row.fore : fallback.text;
            const COLORREF back = row.back <= SLMShade::kMaxColour ? row.back : fallback.back;
            SetScheme(static_cast<uint32_t>(i), text, back);
        }
    }
    Redraw();
}

void LMConsView::LoadFont()
{
    NFontSpec spec;
    const std::wstring code = m_config->CopyString(&LMConsSettings::LogFontEnc);
    if (!NDecodeFontCode(code, spec))
        NDecodeFontCode(L"Consolas,10", spec);
    LOGFONTW font{};
    {
        NWindowDC dc(Handle());
        const int dpi = dc ? ::GetDeviceCaps(dc.Get(), LOGPIXELSY) : 96;
        font.lfHeight = -::MulDiv(static_cast<int>(std::lround(spec.pointSize * 100)), dpi, 7200);
    }
    font.lfWeight = static_cast<LONG>(spec.weight);
    font.lfItalic = spec.italic ? TRUE : FALSE;
    font.lfUnderline = spec.underline ? TRUE : FALSE;
    font.lfStrikeOut = spec.strikeOut ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    const size_t n = std::min<size_t>(spec.faceName.size(), LF_FACESIZE - 1);
    std::memcpy(font.lfFaceName, spec.faceName.data(), n * sizeof(wchar_t));
    NFont created(::CreateFontIndirectW(&font));
    if (!created)
        return;  // keep the font we have
    SetFont(created.Get());
    m_font = std::move(created);  // the old font is deselected by now
}

void LMConsView::SetFrameTitle()
{
    HWND frame = ::GetParent(Handle());
    if (frame == nullptr)
        return;
    const std::wstring title = LMConsFrameTitle(m_config->CopySettings());
    ::SetWindowTextW(frame, title.c_str());
}

void LMConsView::LogStartupNotes()
{
    const LMConsSettings settings = m_config->CopySettings();
    wchar_t user[257] = {};
    DWORD userLength = static_cast<DWORD>(std::size(user));
    if (!::GetUserNameW(user, &userLength))
        user[0] = 0;
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 2] = {};
    DWORD computerLength = static_cast<DWORD>(std::size(computer));
    if (!::GetComputerNameW(computer, &computerLength))
        computer[0] = 0;
    const NTimeStamp now = NTimeStamp::LocalNow();
    Info(std::wstring(user) + L" @ " + computer + now.Format(L" on %Y-%b-%d", L""));
    Info(L"Started console \"" + settings.Name + L"\" in " + LMConsProgramVersionText());
    Info(LMConsLoadedSetupNote(settings));
}

// ---- messages ----------------------------------------------------------------

bool LMConsView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (message == WM_TIMER && wParam == kRefreshTimer) {
        OnRefresh();
        return true;
    }
    if (message < 0xC000)
        return false;  // registered messages only from here on
    if (message == LMLogWindowListener::Message()) {
        DrainLog();
        return true;
    }
    if (message == LMMessage(lmmsg::kUpdateSetup)) {
        OnUpdateSetup();
        return true;
    }
    if (message == LMMessage(lmmsg::kUpdateLogging)) {
        // Recording to files is not built yet; there is nothing to restart.
        return true;
    }
    if (message == LMMessage(lmmsg::kResetBoard)) {
        OnResetBoard();
        return true;
    }
    if (message == LMMessage(lmmsg::kShutdown)) {
        OnShutdown();
        return true;
    }
    return false;
}
