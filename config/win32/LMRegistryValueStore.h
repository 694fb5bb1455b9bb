#pragma once
// A value store on a key under HKEY_CURRENT_USER: strings as REG_SZ, numbers
// as REG_DWORD.
#include "config/LMValueStore.h"
#include "foundation/win32/Handles.h"

class LMRegistryValueStore final : public ILMValueStore {
public:
    explicit LMRegistryValueStore(HKEY root = HKEY_CURRENT_USER) : m_root(root) {}

    bool Open(const std::wstring& path, bool write) override;
    void Close() override { m_key.Reset(); }
    SLMStoredValue Read(const std::wstring& name) override;
    bool WriteString(const std::wstring& name, const std::wstring& text) override;
    bool WriteNumber(const std::wstring& name, uint32_t number) override;

private:
    HKEY m_root;
    NRegKeyHandle m_key;
};
