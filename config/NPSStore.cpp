#include "config/NPSStore.h"

#include <cstdio>

#include "config/NPSSTRListEntry.h"
#include "config/TNPSEntry.h"
#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

NPSStore::NPSStore(std::wstring name) : m_name(std::move(name))
{
    if (m_name.empty()) {
        char text[2 + 16 + 1];
        std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(this)));
        for (const char* p = text; *p; ++p) m_name.push_back(static_cast<wchar_t>(*p));
    }
}

NPSStore::~NPSStore() = default;

NPSEntry* NPSStore::Find(std::wstring_view name) const
{
    NLockGuard guard(m_lock);
    for (const auto& e : m_entries)
        if (e->Name() == name) return e.get();
    return nullptr;
}

size_t NPSStore::Count() const
{
    NLockGuard guard(m_lock);
    return m_entries.size();
}

NPSEntry* NPSStore::EntryAt(size_t index) const
{
    NLockGuard guard(m_lock);
    return index < m_entries.size() ? m_entries[index].get() : nullptr;
}

bool NPSStore::Add(std::unique_ptr<NPSEntry> entry)
{
    NLockGuard guard(m_lock);
    for (const auto& e : m_entries)
        if (e->Name() == entry->Name()) return NFail(nerr::kAlreadyExists);
    m_entries.push_back(std::move(entry));
    return true;
}

bool NPSStore::AddString(std::wstring_view name, std::wstring* variable)
{
    return Add(std::make_unique<NPSStringEntry>(std::wstring(name), variable));
}
bool NPSStore::AddInt32(std::wstring_view name, TNAtom32<int>* variable)
{
    return Add(std::make_unique<NPSInt32Entry>(std::wstring(name), variable));
}
bool NPSStore::AddUInt32(std::wstring_view name, TNAtom32<unsigned int>* variable)
{
    return Add(std::make_unique<NPSUInt32Entry>(std::wstring(name), variable));
}
bool NPSStore::AddBool(std::wstring_view name, TNAtom8<bool>* variable)
{
    return Add(std::make_unique<NPSBoolEntry>(std::wstring(name), variable));
}
bool NPSStore::AddStringList(std::wstring_view name, NSTRList* variable)
{
    return Add(std::make_unique<NPSSTRListEntry>(std::wstring(name), variable));
}

bool NPSStore::IsModified() const
{
    NLockGuard guard(m_lock);
    for (const auto& e : m_entries)
        if (e->IsModified()) return true;
    return false;
}

bool NPSStore::LoadAll(INRegKey& key)
{
    if (m_path.empty()) return NFail(nerr::kInvalidParameter);
    if (!key.Open(m_path, nreg::kKeyRead)) return true;
    bool ok = true;
    {
        NLockGuard guard(m_lock);
        for (const auto& e : m_entries) {
            if (!e->Load(key, false)) {
                ok = false;
                break;
            }
        }
    }
    key.Close();
    return ok;
}

bool NPSStore::SaveAll(INRegKey& key, bool force)
{
    if (m_path.empty()) return NFail(nerr::kInvalidParameter);
    if (!force && !IsModified()) return true;
    if (!key.Open(m_path, nreg::kKeyReadWrite)) return false;
    bool ok = true;
    uint32_t error = 0;
    {
        NLockGuard guard(m_lock);
        for (const auto& e : m_entries) {
            if (!e->Save(key, force)) {
                ok = false;
                error = key.LastError();
                break;
            }
        }
    }
    key.Close();
    if (!ok) key.SetLastError(error);
    return ok;
}
