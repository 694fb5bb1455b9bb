#pragma once
// One console: its settings bound to its registry key, its current shade set
// and the run-time links of an open console. Owned by the main window's list
// for the life of the program; console threads and dialogs borrow it.
//
// Threads: the lock guards every string field, whole-record copies and
// assignments, the shade swap and the retired list, and the console-window
// lookup. Boolean and numeric fields, the shades pointer and the two links are
// single atomic values read without the lock.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "config/INRegKey.h"
#include "config/LMConsEnvironment.h"
#include "config/LMConsSettings.h"
#include "config/NPSStore.h"
#include "foundation/Containers.h"
#include "foundation/NClassInfo.h"
#include "foundation/NLock.h"
#include "shades/LMShades.h"

class ILMCommLink;
class ILMConsoleLink;

class LMConsConfig : public NClassInfo {
    N_DECLARE_CLASS_INFO(LMConsConfig)
public:
    static constexpr const wchar_t* kRootPath = L"HKCU\\SOFTWARE\\Vexal\\Lumbra";
    static constexpr const wchar_t* kBaseKey = L"Base";
    static constexpr uint32_t kWmClose = 0x0010;  // the platform's WM_CLOSE
    static constexpr uint32_t kResetCloseTimeoutMs = 1000;

    // Group-icon resources of the status column.
    enum EStatusIcon : int {
        kIconConnected = 220, kIconActive = 222, kIconPortMissing = 242, kIconPortBusy = 243,
        kIconDisabled = 269, kIconReady = 270, kIconInvalid = 271,
    };

    // Defaults and a new default shade set.
    LMConsConfig();
    // A console the user adds: the given settings, shades from their text,
    // the entries bound to the key; nothing is read.
    LMConsConfig(std::wstring keyName, const LMConsSettings& settings);
    LMConsConfig(const LMConsConfig&) = delete;
    LMConsConfig& operator=(const LMConsConfig&) = delete;
    // Asks an open console to close (waits up to a second).
    ~LMConsConfig() override;

    // The owner's services; env must outlive this object.
    void SetEnvironment(const SLMConsEnvironment* env) noexcept { m_env.store(env); }
    const SLMConsEnvironment* Environment() const noexcept { return m_env.load(); }

    // "HKCU\SOFTWARE\Vexal\Lumbra\Base\" + key name; empty for an empty key name.
    static std::wstring KeyPath(std::wstring_view keyName);
    std::wstring KeyName() const;

    // Reset, bind the entries to the key and load them. A key that does not
    // exist or lacks values keeps the defaults and counts as success.
    bool Load(std::wstring keyName, INRegKey& key);
    // Stores the current shades' text in Shades and saves the changed
    // entries; every entry when the key did not exist yet.
    bool Save(INRegKey& key);
    // Closes the console, then defaults, default shades, no selection, no
    // retired sets.
    void Reset();

    // Under the lock.
    LMConsSettings CopySettings() const;
    std::wstring CopyString(std::wstring LMConsSettings::*field) const;
    NSTRList CopyCommands() const;
    // For atomic reads and single atomic stores into boolean and numeric
    // fields only; strings go through CopyString and the setters.
    LMConsSettings& Settings() noexcept { return m_settings; }
    const LMConsSettings& Settings() const noexcept { return m_settings; }

    // Refuses a record that fails the record check, and on an open console
    // a rename (case-sensitive) or disabling. Then assigns it, installs shades
    // from its text and tells the console window.
    bool Apply(const LMConsSettings& settings);
    bool SetFolderBatch(std::wstring folder);
    bool SetFolderCmd(std::wstring folder);
    bool SetCommands(NSTRList commands);
    // Installs shades (null: a new default set); the previous set is kept on
    // the retired list because other threads may still draw with it.
    bool SetShades(std::unique_ptr<LMShades> shades);
    // A set from stored text (empty or unreadable text gives the defaults).
    bool SetShadesFromText(std::wstring_view text);
    // Lock-free; valid as long as this object.
    const LMShades* CurrentShades() const noexcept { return m_shades.load(std::memory_order_acquire); }
    size_t RetiredShadesCount() const;

    // Set by the list view when it starts the console thread, cleared by the
    // thread when it ends (together with the worker).
    void SetConsoleThread(ILMConsoleLink* thread) noexcept { m_consoleThread.store(thread); }
    ILMConsoleLink* ConsoleThread() const noexcept { return m_consoleThread.load(); }
    // Set by the console view when it creates its worker.
    void SetCommThread(ILMCommLink* worker) noexcept { m_commThread.store(worker); }
    ILMCommLink* CommThread() const noexcept { return m_commThread.load(); }

    bool PostToConsole(uint32_t message);
    // True at once without a console; else posts WM_CLOSE and waits (polling
    // every millisecond) until the thread has cleared its link.
    bool CloseConsole(uint32_t timeoutMs);

    bool IsPortMissing() const;
    bool IsSerialModeBad() const;
    bool IsPortBusy() const;
    std::wstring GetStatus(int* icon = nullptr) const;
    std::wstring GetLogFileName() const;

    bool IsSelected() const noexcept { return m_selected.Get(); }
    void SetSelected(bool selected) noexcept { m_selected.Set(selected); }

    NLock& Lock() noexcept { return m_lock; }
    NPSStore& Store() noexcept { return m_store; }

private:
    bool IsValid() const { return NClassInfo::IsA(this, ms_classDesc); }
    void BindStore();
    // Under the lock.
    void InstallShadesLocked(std::unique_ptr<LMShades> shades);
    static std::unique_ptr<LMShades> ShadesFromText(std::wstring_view text);
    bool PortQuery(bool busy) const;

    mutable NLock m_lock{NLock::kDefaultSpinCount};
    LMConsSettings m_settings;
    std::atomic<LMShades*> m_shades{nullptr};  // owned
    std::wstring m_keyName;
    std::atomic<ILMConsoleLink*> m_consoleThread{nullptr};
    std::atomic<ILMCommLink*> m_commThread{nullptr};
    NPSStore m_store;
    TNListOfADPtrTo<LMShades> m_retiredShades;
    TNAtom8<bool> m_selected{false};
    std::atomic<const SLMConsEnvironment*> m_env{nullptr};
    bool m_bound = false;  // entries registered (under the lock)
};
