#pragma once
// A named set of typed values bound to variables and to one key of a value
// store, with change-tracked saving: a save without force writes only when
// some value changed since it was loaded or last saved, and then writes the
// changed values and those never read from or written to the store.
//
// String variables are read and assigned only under the attached lock, which
// other threads take while copying them; numbers are single atomic values.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "config/LMValueStore.h"
#include "foundation/NLock.h"

class LMSetupStore {
public:
    explicit LMSetupStore(std::wstring name) : m_name(std::move(name)) {}
    LMSetupStore(const LMSetupStore&) = delete;
    LMSetupStore& operator=(const LMSetupStore&) = delete;

    const std::wstring& Name() const noexcept { return m_name; }
    void SetPath(std::wstring path) { m_path = std::move(path); }
    const std::wstring& Path() const noexcept { return m_path; }
    void AttachLock(NLock* lock) noexcept { m_lock = lock; }
    NLock* Lock() const noexcept { return m_lock; }

    // Registering a name that the store already holds does nothing (false).
    bool AddString(const wchar_t* name, std::wstring* variable);
    bool AddInt32(const wchar_t* name, std::atomic<int32_t>* variable);
    bool AddUInt32(const wchar_t* name, std::atomic<uint32_t>* variable);

    size_t Count() const noexcept { return m_entries.size(); }
    const std::wstring& EntryName(size_t index) const { return m_entries[index].name; }

    // Reads every entry in registration order; a missing value or one of the
    // wrong type keeps the variable. False (everything kept) when the key
    // cannot be opened.
    bool Load(ILMValueStore& store);
    // See above; force writes every entry. True when nothing needed writing
    // or everything was written.
    bool Save(ILMValueStore& store, bool force);
    // Whether any entry differs from what was last loaded or saved.
    bool IsChanged() const;

private:
    enum class EKind { kString, kInt32, kUInt32 };
    struct SEntry {
        std::wstring name;
        EKind kind;
        void* variable;
        bool synced = false;  // read from or written to the store at least once
        std::wstring lastText;
        uint32_t lastNumber = 0;
    };
    bool Add(const wchar_t* name, EKind kind, void* variable);
    bool EntryChanged(const SEntry& entry) const;
    void Remember(SEntry& entry);

    std::wstring m_name;
    std::wstring m_path;
    NLock* m_lock = nullptr;
    std::vector<SEntry> m_entries;
};
