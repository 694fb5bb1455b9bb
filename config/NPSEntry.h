#pragma once
// One program variable bound to one named registry value, with change
// tracking: the entry keeps a CRC-32 of the variable's bytes as last loaded
// or saved, so "modified" is a comparison, not a flag any writer must set.
// The entry does not own the variable.
#include <cstdint>
#include <string>
#include <vector>

#include "config/INRegKey.h"

class NPSEntry {
public:
    explicit NPSEntry(std::wstring name) : m_name(std::move(name)) {}
    NPSEntry(const NPSEntry&) = delete;
    NPSEntry& operator=(const NPSEntry&) = delete;
    virtual ~NPSEntry();

    // The variable's current bytes differ from those last loaded or saved.
    virtual bool IsModified() const;
    // The bound type and its size, the text of a string, or the count of a list.
    virtual std::wstring Describe() const = 0;
    // Reads the value. A missing value or one of a type or size this entry
    // does not accept leaves the variable alone, clears the in-registry flag
    // and answers !required.
    virtual bool Load(INRegKey& key, bool required);
    // Writes the value when forced, modified or not in the registry yet.
    virtual bool Save(INRegKey& key, bool force);
    // Makes the entry count as modified (true) or as saved (false).
    virtual void SetModified(bool modified);

    const std::wstring& Name() const noexcept { return m_name; }
    bool InRegistry() const noexcept { return m_inRegistry != 0; }
    uint32_t Checksum() const noexcept { return m_checksum; }
    // CRC-32 of the variable's current bytes.
    virtual uint32_t CurrentCrc() const = 0;

protected:
    // Stores an acceptable value into the variable; false leaves it unchanged.
    virtual bool Accept(const NRegValue& value) = 0;
    // The registry type and bytes to write.
    virtual uint32_t Encode(std::vector<uint8_t>& bytes) const = 0;
    // Called once the variable is bound.
    void TakeChecksum() { m_checksum = CurrentCrc(); }

private:
    uint8_t m_inRegistry = 0;
    uint32_t m_checksum = 0;
    std::wstring m_name;
};
