#include "config/win32/LMRegistryValueStore.h"

#include <vector>

bool LMRegistryValueStore::Open(const std::wstring& path, bool write)
{
    m_key.Reset();
    LSTATUS status;
    if (write)
        status = ::RegCreateKeyExW(m_root, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, m_key.Put(),
                                   nullptr);
    else
        status = ::RegOpenKeyExW(m_root, path.c_str(), 0, KEY_READ, m_key.Put());
    if (status != ERROR_SUCCESS) {
        m_key.Reset();
        ::SetLastError(static_cast<DWORD>(status));
        return false;
    }
    return true;
}

SLMStoredValue LMRegistryValueStore::Read(const std::wstring& name)
{
    SLMStoredValue value;
    if (!m_key)
        return value;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return value;
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD number = 0;
        if (::RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&number), &size) ==
            ERROR_SUCCESS) {
            value.type = SLMStoredValue::kNumber;
            value.number = number;
        }
        return value;
    }
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD bytes = static_cast<DWORD>((text.size() - 1) * sizeof(wchar_t));
        if (::RegQueryValueExW(m_key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                               &bytes) == ERROR_SUCCESS) {
            // The stored text need not end in a terminator.
            value.type = SLMStoredValue::kString;
            value.text.assign(text.data(), wcsnlen(text.data(), bytes / sizeof(wchar_t)));
        }
        return value;
    }
    value.type = SLMStoredValue::kOther;
    return value;
}

bool LMRegistryValueStore::WriteString(const std::wstring& name, const std::wstring& text)
{
    const LSTATUS status =
        ::RegSetValueExW(m_key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    ::SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
}

bool LMRegistryValueStore::WriteNumber(const std::wstring& name, uint32_t number)
{
    const DWORD value = number;
    const LSTATUS status = ::RegSetValueExW(m_key.Get(), name.c_str(), 0, REG_DWORD,
                                            reinterpret_cast<const BYTE*>(&value), sizeof value);
    ::SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
}
