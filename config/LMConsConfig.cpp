#include "config/LMConsConfig.h"

#include <chrono>
#include <thread>

#include "config/ConsNameRules.h"
#include "config/HostPortRules.h"
#include "config/IComPortDirectory.h"
#include "config/IConsoleLink.h"
#include "config/ILogFolderSource.h"
#include "config/LogFileName.h"
#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "transport/SerialMode.h"

N_DEFINE_CLASS_INFO(LMConsConfig, NClassInfo)

LMConsConfig::LMConsConfig() : m_settings(LMConsSettings::Defaults()), m_store(L"")
{
    m_store.SetLock(&m_lock);
    NLockGuard guard(m_lock);
    InstallShadesLocked(std::make_unique<LMShades>());
}

LMConsConfig::LMConsConfig(std::wstring keyName, const LMConsSettings& settings)
    : m_settings(settings), m_keyName(std::move(keyName)), m_store(L"")
{
    m_store.SetLock(&m_lock);
    NLockGuard guard(m_lock);
    InstallShadesLocked(ShadesFromText(m_settings.Shades));
    m_store.SetPath(KeyPath(m_keyName));
    BindStore();
}

LMConsConfig::~LMConsConfig()
{
    Reset();
    delete m_shades.exchange(nullptr);
}

std::wstring LMConsConfig::KeyPath(std::wstring_view keyName)
{
    if (keyName.empty()) return std::wstring();
    std::wstring path = kRootPath;
    path += L'\\';
    path += kBaseKey;
    path += L'\\';
    path += keyName;
    return path;
}

std::wstring LMConsConfig::KeyName() const
{
    if (!IsValid()) return std::wstring();
    NLockGuard guard(m_lock);
    return m_keyName;
}

void LMConsConfig::BindStore()
{
    if (m_bound) return;
    m_settings.Register(m_store);
    m_bound = true;
}

std::unique_ptr<LMShades> LMConsConfig::ShadesFromText(std::wstring_view text)
{
    auto shades = std::make_unique<LMShades>();
    if (!text.empty()) shades->FromJson(text);  // a failed import leaves the defaults
    return shades;
}

void LMConsConfig::InstallShadesLocked(std::unique_ptr<LMShades> shades)
{
    if (!shades) shades = std::make_unique<LMShades>();
    m_settings.Shades = shades->ToJson(false);
    LMShades* old = m_shades.exchange(shades.release(), std::memory_order_acq_rel);
    if (old != nullptr) m_retiredShades.emplace_back(old);
}

bool LMConsConfig::Load(std::wstring keyName, INRegKey& key)
{
    if (!IsValid()) return NFail(nerr::kInvalidToken);
    Reset();
    const std::wstring path = KeyPath(keyName);
    if (path.empty()) return NFail(nerr::kInvalidParameter);
    {
        NLockGuard guard(m_lock);
        m_store.SetPath(path);
        BindStore();
        m_keyName = std::move(keyName);
    }
    if (!m_store.LoadAll(key)) return false;
    NLockGuard guard(m_lock);
    // Shades were default while loading; the loaded text replaces them.
    std::unique_ptr<LMShades> shades = ShadesFromText(m_settings.Shades);
    m_settings.Shades = shades->ToJson(false);
    LMShades* old = m_shades.exchange(shades.release(), std::memory_order_acq_rel);
    if (ConsoleThread() == nullptr) delete old;  // nobody can be drawing with it
    else if (old != nullptr) m_retiredShades.emplace_back(old);
    // Rebuilding the text is not a change of the stored value.
    if (NPSEntry* e = m_store.Find(L"Shades")) e->SetModified(false);
    return true;
}

bool LMConsConfig::Save(INRegKey& key)
{
    if (!IsValid()) return NFail(nerr::kInvalidToken);
    std::wstring path;
    {
        NLockGuard guard(m_lock);
        if (const LMShades* s = CurrentShades()) m_settings.Shades = s->ToJson(false);
        path = m_store.Path();
    }
    if (path.empty()) return NFail(nerr::kInvalidParameter);
    const bool existed = key.Open(path, nreg::kKeyRead);
    key.Close();
    return m_store.SaveAll(key, !existed);
}

void LMConsConfig::Reset()
{
    if (!IsValid()) return;
    CloseConsole(kResetCloseTimeoutMs);
    NLockGuard guard(m_lock);
    m_settings = LMConsSettings::Defaults();
    // Other threads of a console that did not close may still read the set.
    LMShades* old = m_shades.exchange(new LMShades(), std::memory_order_acq_rel);
    if (ConsoleThread() == nullptr) {
        delete old;
        m_retiredShades.clear();
    } else if (old != nullptr) {
        m_retiredShades.emplace_back(old);
    }
    m_settings.Shades = CurrentShades()->ToJson(false);
    m_selected.Set(false);
}

LMConsSettings LMConsConfig::CopySettings() const
{
    if (!IsValid()) return LMConsSettings::Defaults();
    NLockGuard guard(m_lock);
    return m_settings;
}

std::wstring LMConsConfig::CopyString(std::wstring LMConsSettings::*field) const
{
    if (!IsValid() || field == nullptr) return std::wstring();
    NLockGuard guard(m_lock);
    return m_settings.*field;
}

NSTRList LMConsConfig::CopyCommands() const
{
    if (!IsValid()) return NSTRList();
    NLockGuard guard(m_lock);
    return m_settings.Commands;
}

bool LMConsConfig::Apply(const LMConsSettings& settings)
{
    if (!IsValid()) return NFail(nerr::kInvalidToken);
    if (!settings.IsAcceptable()) return NFail(nerr::kInvalidParameter);
    {
        NLockGuard guard(m_lock);
        if (ConsoleThread() != nullptr && (settings.Name != m_settings.Name || !settings.Enabled))
            return NFail(nerr::kBusy);
        m_settings = settings;
        InstallShadesLocked(ShadesFromText(settings.Shades));
    }
    const SLMConsEnvironment* env = m_env.load();
    if (env != nullptr && env->msgUpdateSetup != 0) PostToConsole(env->msgUpdateSetup);
    return true;
}

bool LMConsConfig::SetFolderBatch(std::wstring folder)
{
    if (!IsValid()) return NFail(nerr::kInvalidToken);
    NLockGuard guard(m_lock);
    m_settings.FolderBatch = std::move(folder);
    return true;
}

bool LMConsConfig::SetFolderCmd(std::wstring folder)
{
    if (!IsValid()) return NFail(nerr::kInvalidToken);
    NLockGuard guard(m_lock);
    m_settings.FolderCmd = std::move(folder);
    return true;
}

bool LMConsConfig::SetCommands(NSTRList commands)
{
    if (!IsValid()) return NFail(nerr::kInvalidToken);
    NLockGuard guard(m_lock);
    m_settings.Commands = std::move(commands);
    return true;
}

bool LMConsConfig::SetShades(std::unique_ptr<LMShades> shades)
{
    if (!IsValid()) return NFail(nerr::kInvalidToken);
    NLockGuard guard(m_lock);
    InstallShadesLocked(std::move(shades));
    return true;
}

bool LMConsConfig::SetShadesFromText(std::wstring_view text) { return SetShades(ShadesFromText(text)); }

size_t LMConsConfig::RetiredShadesCount() const
{
    if (!IsValid()) return 0;
    NLockGuard guard(m_lock);
    return m_retiredShades.size();
}

bool LMConsConfig::PostToConsole(uint32_t message)
{
    if (!IsValid()) return NFail(nerr::kInvalidToken);
    if (ConsoleThread() == nullptr) return NFail(nerr::kInvalidHandle);
    NLockGuard guard(m_lock);
    ILMConsoleLink* thread = ConsoleThread();  // may have ended meanwhile
    return thread != nullptr && thread->PostToMainWindow(message, 0, 0);
}

bool LMConsConfig::CloseConsole(uint32_t timeoutMs)
{
    if (!IsValid()) return NFail(nerr::kInvalidToken);
    if (ConsoleThread() == nullptr) return true;
    PostToConsole(kWmClose);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (ConsoleThread() != nullptr) {
        if (std::chrono::steady_clock::now() >= deadline) return NFail(nerr::kTimeout);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

bool LMConsConfig::PortQuery(bool busy) const
{
    const unsigned mode = m_settings.ConMode;
    const SLMConsEnvironment* env = m_env.load();
    ILMComPortDirectory* ports = env != nullptr ? env->ports : nullptr;
    if (mode == LMConsSettings::kDeviceSerial) {
        const std::wstring dev = CopyString(&LMConsSettings::DevAddr);
        if (busy) return ports != nullptr && ports->IsDevAddrBusy(dev);
        return dev.empty() || ports == nullptr || !ports->IsDevAddrPresent(dev);
    }
    const std::wstring com = CopyString(&LMConsSettings::COMPort);
    if (busy) return ports != nullptr && ports->IsComPortBusy(com);
    return !LMIsValidComPortName(com) || ports == nullptr || !ports->IsComPortPresent(com);
}

bool LMConsConfig::IsPortMissing() const
{
    if (!IsValid()) return true;
    switch (m_settings.ConMode.Get()) {
    case LMConsSettings::kTcpIp: return LMCheckHostPort(CopyString(&LMConsSettings::HostPort)) != nullptr;
    case LMConsSettings::kDeviceSerial:
    case LMConsSettings::kComSerial: return PortQuery(false);
    default: return true;
    }
}

bool LMConsConfig::IsSerialModeBad() const
{
    if (!IsValid()) return true;
    if (m_settings.ConMode == LMConsSettings::kTcpIp) return false;
    return !NIsValidSerialMode(CopyString(&LMConsSettings::SerMode));
}

bool LMConsConfig::IsPortBusy() const
{
    if (!IsValid()) return true;
    switch (m_settings.ConMode.Get()) {
    case LMConsSettings::kTcpIp: return false;
    case LMConsSettings::kDeviceSerial:
    case LMConsSettings::kComSerial: return PortQuery(true);
    default: return true;
    }
}

std::wstring LMConsConfig::GetStatus(int* icon) const
{
    auto result = [icon](const wchar_t* text, int id) {
        if (icon != nullptr) *icon = id;
        return std::wstring(text);
    };
    if (!IsValid()) return result(L"Invalid instance", kIconInvalid);
    if (!m_settings.Enabled) return result(L"Disabled", kIconDisabled);
    if (IsPortMissing()) return result(L"Serial port not present", kIconPortMissing);
    if (IsSerialModeBad()) return result(L"Bad serial mode", kIconInvalid);
    const ILMCommLink* worker = CommThread();
    if (worker != nullptr && worker->ConnectionState() == ILMCommLink::kConnected)
        return result(L"Connected", kIconConnected);
    if (IsPortBusy()) return result(L"Serial port busy", kIconPortBusy);
    if (ConsoleThread() == nullptr) return result(L"Ready", kIconReady);
    return result(L"Active", kIconActive);
}

std::wstring LMConsConfig::GetLogFileName() const
{
    if (!IsValid()) return std::wstring();
    const std::wstring name = CopyString(&LMConsSettings::Name);
    // The preferences lock is taken by the source, never while ours is held.
    const SLMConsEnvironment* env = m_env.load();
    std::wstring folder;
    if (env != nullptr && env->logFolder != nullptr) {
        folder = env->logFolder->CopyFileLogPath();
        if (folder.empty()) folder = env->logFolder->ExecutableDirectory();
    }
    return LMComposeLogFileName(folder, name);
}
