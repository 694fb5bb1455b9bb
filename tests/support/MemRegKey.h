#pragma once
// An in-memory registry for tests of code that reads and writes keys through
// INRegKey: keys by path (compared ignoring case), values by name (ignoring
// case, as the platform does), counters of opens and writes, and injectable
// write failures.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "config/INRegKey.h"
#include "config/RegText.h"
#include "foundation/ErrorCodes.h"

class MemRegistry {
public:
    struct SValue {
        uint32_t type = 0;
        std::vector<uint8_t> bytes;
    };

    bool HasKey(std::wstring_view path) const;
    void CreateKey(std::wstring_view path);
    const SValue* Find(std::wstring_view path, std::wstring_view name) const;
    void Put(std::wstring_view path, std::wstring_view name, uint32_t type, std::vector<uint8_t> bytes);
    void PutDword(std::wstring_view path, std::wstring_view name, uint32_t value);
    void PutString(std::wstring_view path, std::wstring_view name, std::wstring_view text, uint32_t type = 1);
    size_t ValueCount(std::wstring_view path) const;

    int opens = 0;
    int writeOpens = 0;
    int writes = 0;
    // Writes fail with writeError once this many have succeeded (-1: never).
    int failWritesAfter = -1;
    uint32_t writeError = 5;

    static std::wstring Fold(std::wstring_view text);

private:
    friend class MemRegKey;
    // Folded key path -> folded value name -> value.
    std::map<std::wstring, std::map<std::wstring, SValue>> m_keys;
};

class MemRegKey : public INRegKey {
public:
    explicit MemRegKey(MemRegistry& registry) : m_registry(registry) {}

    bool Open(std::wstring_view path, uint32_t access) override;
    bool Close() override;
    bool IsOpen() const override { return m_open; }
    bool Created() const override { return m_created; }
    bool QueryValue(std::wstring_view name, NRegValue& value) override;
    bool SetValue(std::wstring_view name, uint32_t type, const void* data, uint32_t size) override;
    uint32_t LastError() const override { return m_error; }
    void SetLastError(uint32_t code) override { m_error = code; }

private:
    MemRegistry& m_registry;
    std::wstring m_path;  // folded
    bool m_open = false;
    bool m_created = false;
    uint32_t m_error = 0;
};

// Header-only: every test executable links tests/support, and only the ones
// that include this use the settings store it needs.

inline std::wstring MemRegistry::Fold(std::wstring_view text)
{
    std::wstring out(text);
    for (wchar_t& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    while (!out.empty() && out.back() == L'\\') out.pop_back();
    return out;
}

inline bool MemRegistry::HasKey(std::wstring_view path) const { return m_keys.count(Fold(path)) != 0; }

inline void MemRegistry::CreateKey(std::wstring_view path)
{
    const std::wstring folded = Fold(path);
    for (size_t i = 0; i <= folded.size(); ++i)
        if (i == folded.size() || folded[i] == L'\\') m_keys[folded.substr(0, i)];
}

inline const MemRegistry::SValue* MemRegistry::Find(std::wstring_view path, std::wstring_view name) const
{
    const auto k = m_keys.find(Fold(path));
    if (k == m_keys.end()) return nullptr;
    const auto v = k->second.find(Fold(name));
    return v == k->second.end() ? nullptr : &v->second;
}

inline void MemRegistry::Put(std::wstring_view path, std::wstring_view name, uint32_t type, std::vector<uint8_t> bytes)
{
    CreateKey(path);
    m_keys[Fold(path)][Fold(name)] = SValue{type, std::move(bytes)};
}

inline void MemRegistry::PutDword(std::wstring_view path, std::wstring_view name, uint32_t v)
{
    Put(path, name, nreg::kDword,
        {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)});
}

inline void MemRegistry::PutString(std::wstring_view path, std::wstring_view name, std::wstring_view text, uint32_t type)
{
    Put(path, name, type, NEncodeRegSz(text));
}

inline size_t MemRegistry::ValueCount(std::wstring_view path) const
{
    const auto k = m_keys.find(Fold(path));
    return k == m_keys.end() ? 0 : k->second.size();
}

inline bool MemRegKey::Open(std::wstring_view path, uint32_t access)
{
    Close();
    ++m_registry.opens;
    m_created = false;
    if (path.empty()) {
        m_error = nerr::kInvalidParameter;
        return false;
    }
    const std::wstring folded = MemRegistry::Fold(path);
    if (!m_registry.HasKey(folded)) {
        if ((access & nreg::kKeyCreateSubKey) == 0) {
            m_error = nerr::kFileNotFound;
            return false;
        }
        m_registry.CreateKey(folded);
        m_created = true;
    }
    if ((access & nreg::kKeyCreateSubKey) != 0) ++m_registry.writeOpens;
    m_path = folded;
    m_open = true;
    m_error = 0;
    return true;
}

inline bool MemRegKey::Close()
{
    m_open = false;
    m_path.clear();
    return true;
}

inline bool MemRegKey::QueryValue(std::wstring_view name, NRegValue& value)
{
    value.Clear();
    if (!m_open) {
        m_error = nerr::kInvalidHandle;
        return false;
    }
    const MemRegistry::SValue* v = m_registry.Find(m_path, name);
    if (v == nullptr) {
        m_error = nerr::kFileNotFound;
        return false;
    }
    if (!value.Assign(v->type, v->bytes.data(), static_cast<uint32_t>(v->bytes.size()))) {
        m_error = nerr::kOutOfMemory;
        return false;
    }
    m_error = 0;
    return true;
}

inline bool MemRegKey::SetValue(std::wstring_view name, uint32_t type, const void* data, uint32_t size)
{
    if (!m_open) {
        m_error = nerr::kInvalidHandle;
        return false;
    }
    if (m_registry.failWritesAfter >= 0 && m_registry.writes >= m_registry.failWritesAfter) {
        m_error = m_registry.writeError;
        return false;
    }
    const auto* b = static_cast<const uint8_t*>(data);
    m_registry.Put(m_path, name, type, std::vector<uint8_t>(b, b + size));
    ++m_registry.writes;
    m_error = 0;
    return true;
}
