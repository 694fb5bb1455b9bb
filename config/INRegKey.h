#pragma once
// What the settings store needs of a registry key: open one by its textual
// path, read and write named values, and remember the last error. The
// program's implementation is NRegKey (config/win32/NRegKey.h); tests use an
// in-memory tree.
#include <cstdint>
#include <string>
#include <string_view>

#include "config/NRegValue.h"

class INRegKey {
public:
    virtual ~INRegKey() = default;

    // Opens (closing what was open) the key at path, e.g. "HKCU\SOFTWARE\Vexal";
    // an access that includes nreg::kKeyCreateSubKey creates missing components.
    virtual bool Open(std::wstring_view path, uint32_t access) = 0;
    virtual bool Close() = 0;
    virtual bool IsOpen() const = 0;
    // True when the last Open created at least one key component.
    virtual bool Created() const = 0;

    // Reads a value; an empty name is the key's default value.
    virtual bool QueryValue(std::wstring_view name, NRegValue& value) = 0;
    // Writes a value; with no open key the last error becomes 6.
    virtual bool SetValue(std::wstring_view name, uint32_t type, const void* data, uint32_t size) = 0;

    // The error code of the last operation (0 after success).
    virtual uint32_t LastError() const = 0;
    virtual void SetLastError(uint32_t code) = 0;
};
