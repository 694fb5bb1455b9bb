#pragma once
// The entries of one registry key, loaded and saved together. The lock is the
// owner's: it serialises registration, Find, LoadAll and SaveAll, and string
// variables bound here must only be changed while holding it.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/INRegKey.h"
#include "config/NPSEntry.h"
#include "config/NSTRList.h"
#include "config/TNAtom.h"
#include "foundation/NLock.h"

class NPSStore {
public:
    // An empty name becomes "0x" and the store's address in hexadecimal.
    explicit NPSStore(std::wstring name = std::wstring());
    NPSStore(const NPSStore&) = delete;
    NPSStore& operator=(const NPSStore&) = delete;
    ~NPSStore();

    const std::wstring& Name() const noexcept { return m_name; }
    void SetLock(NLock* lock) noexcept { m_lock = lock; }
    NLock* Lock() const noexcept { return m_lock; }
    void SetPath(std::wstring path) { m_path = std::move(path); }
    const std::wstring& Path() const noexcept { return m_path; }

    // Case-sensitive; null when there is none.
    NPSEntry* Find(std::wstring_view name) const;
    size_t Count() const;
    NPSEntry* EntryAt(size_t index) const;

    // False, and nothing added, when the name is registered already. A new
    // entry is not modified and not in the registry.
    bool AddString(std::wstring_view name, std::wstring* variable);
    bool AddInt32(std::wstring_view name, TNAtom32<int>* variable);
    bool AddUInt32(std::wstring_view name, TNAtom32<unsigned int>* variable);
    bool AddBool(std::wstring_view name, TNAtom8<bool>* variable);
    bool AddStringList(std::wstring_view name, NSTRList* variable);

    // Opens the path for reading with key and loads every entry; a key that
    // cannot be opened is not an error (everything keeps its value). False
    // for an empty path.
    bool LoadAll(INRegKey& key);
    // Unless forced, does nothing (and opens nothing) when no entry is
    // modified; otherwise opens the path for writing, creating it, and saves
    // every entry in order, stopping at the first failure.
    bool SaveAll(INRegKey& key, bool force);
    // Whether some entry is modified.
    bool IsModified() const;

private:
    bool Add(std::unique_ptr<NPSEntry> entry);

    std::wstring m_name;
    NLock* m_lock = nullptr;  // owned by the store's owner
    std::wstring m_path;
    std::vector<std::unique_ptr<NPSEntry>> m_entries;  // registration order
};
