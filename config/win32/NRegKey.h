#pragma once
// A registry key opened by its textual path. Destroying or re-opening the
// object closes the handle it holds.
#include <windows.h>

#include <string>
#include <string_view>

#include "config/INRegKey.h"
#include "config/NSTRList.h"
#include "foundation/win32/Handles.h"

class NRegKey : public INRegKey {
public:
    using Value = NRegValue;

    NRegKey() = default;
    NRegKey(const NRegKey&) = delete;
    NRegKey& operator=(const NRegKey&) = delete;
    ~NRegKey() override;

    // "HKCU\SOFTWARE\Vexal\Lumbra": the first component names the root (see
    // config/RegRootName.h); with only a root the root itself is opened. An
    // empty path or an unknown root fails with 87.
    bool Open(std::wstring_view path, uint32_t access) override;
    // Opens parent with access, then walks subPath component by component,
    // creating components when access has KEY_CREATE_SUB_KEY.
    bool OpenRelative(HKEY parent, std::wstring_view subPath, REGSAM access);
    bool Close() override;
    bool IsOpen() const override { return m_key != nullptr; }
    bool Created() const override { return m_created; }

    bool EnumSubKeys(NSTRList& names);
    bool EnumValues(NSTRList& names);
    bool QueryValue(std::wstring_view name, NRegValue& value) override;
    bool SetValue(std::wstring_view name, uint32_t type, const void* data, uint32_t size) override;
    // Deletes the subkey with everything below it.
    bool DeleteKey(std::wstring_view subKey);

    uint32_t LastError() const override { return m_lastError; }
    void SetLastError(uint32_t code) override { m_lastError = code; }
    HKEY Handle() const noexcept { return m_key; }
    REGSAM Access() const noexcept { return m_access; }

private:
    bool Fail(LONG code);
    bool Enum(bool subKeys, NSTRList& names);

    HKEY m_key = nullptr;
    REGSAM m_access = 0;
    uint32_t m_lastError = 0;
    bool m_created = false;
};
