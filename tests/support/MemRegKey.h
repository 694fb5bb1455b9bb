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
