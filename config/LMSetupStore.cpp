#include "config/LMSetupStore.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

namespace {
std::wstring& Text(void* variable)
{
    return *static_cast<std::wstring*>(variable);
}
}  // namespace

bool LMSetupStore::Add(const wchar_t* name, EKind kind, void* variable)
{
    if (name == nullptr || variable == nullptr)
        return NFail(nerr::kInvalidParameter);
    for (const SEntry& e : m_entries) {
        if (e.name == name)
            return NFail(nerr::kAlreadyExists);
    }
    SEntry entry;
    entry.name = name;
    entry.kind = kind;
    entry.variable = variable;
    NLockGuard guard(m_lock);
    Remember(entry);
    m_entries.push_back(std::move(entry));
    return true;
}

bool LMSetupStore::AddString(const wchar_t* name, std::wstring* variable)
{
    return Add(name, EKind::kString, variable);
}

bool LMSetupStore::AddInt32(const wchar_t* name, std::atomic<int32_t>* variable)
{
    return Add(name, EKind::kInt32, variable);
}

bool LMSetupStore::AddUInt32(const wchar_t* name, std::atomic<uint32_t>* variable)
{
    return Add(name, EKind::kUInt32, variable);
}

// Called with the lock held.
void LMSetupStore::Remember(SEntry& entry)
{
    switch (entry.kind) {
    case EKind::kString:
        entry.lastText = Text(entry.variable);
        break;
    case EKind::kInt32:
        entry.lastNumber = static_cast<uint32_t>(static_cast<std::atomic<int32_t>*>(entry.variable)->load());
        break;
    case EKind::kUInt32:
        entry.lastNumber = static_cast<std::atomic<uint32_t>*>(entry.variable)->load();
        break;
    }
}

// Called with the lock held.
bool LMSetupStore::EntryChanged(const SEntry& entry) const
{
    switch (entry.kind) {
    case EKind::kString:
        return Text(entry.variable) != entry.lastText;
    case EKind::kInt32:
        return static_cast<uint32_t>(static_cast<std::atomic<int32_t>*>(entry.variable)->load()) != entry.lastNumber;
    case EKind::kUInt32:
        return static_cast<std::atomic<uint32_t>*>(entry.variable)->load() != entry.lastNumber;
    }
    return false;
}

bool LMSetupStore::IsChanged() const
{
    NLockGuard guard(m_lock);
    for (const SEntry& e : m_entries) {
        if (EntryChanged(e))
            return true;
    }
    return false;
}

bool LMSetupStore::Load(ILMValueStore& store)
{
    if (m_path.empty() || !store.Open(m_path, false))
        return false;
    for (SEntry& e : m_entries) {
        const SLMStoredValue value = store.Read(e.name);
        NLockGuard guard(m_lock);
        if (e.kind == EKind::kString && value.type == SLMStoredValue::kString) {
            Text(e.variable) = value.text;
        } else if (e.kind == EKind::kInt32 && value.type == SLMStoredValue::kNumber) {
            static_cast<std::atomic<int32_t>*>(e.variable)->store(static_cast<int32_t>(value.number));
        } else if (e.kind == EKind::kUInt32 && value.type == SLMStoredValue::kNumber) {
            static_cast<std::atomic<uint32_t>*>(e.variable)->store(value.number);
        } else {
            // Missing or of another type: the default stays, and the entry
            // counts as never read, so the next save writes it properly.
            continue;
        }
        e.synced = true;
        Remember(e);
    }
    store.Close();
    return true;
}

bool LMSetupStore::Save(ILMValueStore& store, bool force)
{
    if (m_path.empty())
        return NFail(nerr::kInvalidParameter);
    if (!force && !IsChanged())
        return true;
    if (!store.Open(m_path, true))
        return false;
    bool ok = true;
    for (SEntry& e : m_entries) {
        std::wstring text;
        uint32_t number = 0;
        bool write = false;
        {
            NLockGuard guard(m_lock);
            write = force || !e.synced || EntryChanged(e);
            if (e.kind == EKind::kString)
                text = Text(e.variable);
            else if (e.kind == EKind::kInt32)
                number = static_cast<uint32_t>(static_cast<std::atomic<int32_t>*>(e.variable)->load());
            else
                number = static_cast<std::atomic<uint32_t>*>(e.variable)->load();
        }
        if (!write)
            continue;
        const bool written = e.kind == EKind::kString ? store.WriteString(e.name, text) : store.WriteNumber(e.name, number);
        if (!written) {
            ok = false;
            continue;
        }
        NLockGuard guard(m_lock);
        e.synced = true;
        if (e.kind == EKind::kString)
            e.lastText = text;
        else
            e.lastNumber = number;
    }
    store.Close();
    return ok;
}
