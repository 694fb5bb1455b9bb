#include "config/win32/NRegKey.h"

#include <memory>
#include <new>
#include <vector>

#include "config/RegRootName.h"

namespace {
HKEY RootHandle(NRegRoot root)
{
    switch (root) {
    case NRegRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case NRegRoot::kCurrentConfig: return HKEY_CURRENT_CONFIG;
    case NRegRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case NRegRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case NRegRoot::kUsers: return HKEY_USERS;
    case NRegRoot::kPerformanceData: return HKEY_PERFORMANCE_DATA;
    case NRegRoot::kDynData: return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000006));
    default: return nullptr;
    }
}

std::wstring Terminated(std::wstring_view s) { return std::wstring(s); }
}  // namespace

NRegKey::~NRegKey() { Close(); }

bool NRegKey::Fail(LONG code)
{
    m_lastError = static_cast<uint32_t>(code);
    ::SetLastError(static_cast<DWORD>(code));
    return false;
}

bool NRegKey::Close()
{
    if (m_key == nullptr) return true;
    const LONG rc = ::RegCloseKey(m_key);
    m_key = nullptr;
    if (rc != ERROR_SUCCESS) return Fail(rc);
    m_lastError = 0;
    return true;
}

bool NRegKey::Open(std::wstring_view path, uint32_t access)
{
    NRegRoot root;
    std::wstring sub;
    if (path.empty() || !NSplitRegPath(path, root, sub)) {
        Close();
        return Fail(ERROR_INVALID_PARAMETER);
    }
    return OpenRelative(RootHandle(root), sub, access);
}

bool NRegKey::OpenRelative(HKEY parent, std::wstring_view subPath, REGSAM access)
{
    if (!Close()) return false;
    m_created = false;
    HKEY current = nullptr;
    LONG rc = ::RegOpenKeyExW(parent, nullptr, 0, access, &current);
    if (rc != ERROR_SUCCESS) return Fail(rc);
    size_t i = 0;
    while (i < subPath.size()) {
        size_t e = subPath.find(L'\\', i);
        if (e == std::wstring_view::npos) e = subPath.size();
        if (e > i) {
            const std::wstring component = Terminated(subPath.substr(i, e - i));
            HKEY next = nullptr;
            if ((access & KEY_CREATE_SUB_KEY) != 0) {
                DWORD disposition = 0;
                rc = ::RegCreateKeyExW(current, component.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                       &next, &disposition);
                if (rc == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY) m_created = true;
            } else {
                rc = ::RegOpenKeyExW(current, component.c_str(), 0, access, &next);
            }
            ::RegCloseKey(current);
            if (rc != ERROR_SUCCESS) return Fail(rc);
            current = next;
        }
        i = e + 1;
    }
    m_key = current;
    m_access = access;
    m_lastError = 0;
    return true;
}

bool NRegKey::Enum(bool subKeys, NSTRList& names)
{
    names.clear();
    if (m_key == nullptr) return Fail(ERROR_INVALID_HANDLE);
    DWORD keys = 0, keyLen = 0, values = 0, valueLen = 0;
    LONG rc = ::RegQueryInfoKeyW(m_key, nullptr, nullptr, nullptr, &keys, &keyLen, nullptr, &values, &valueLen, nullptr,
                                 nullptr, nullptr);
    if (rc != ERROR_SUCCESS) return Fail(rc);
    // Value names may be up to 16383 characters; a name longer than the
    // queried maximum (the key changed meanwhile) gets a larger buffer.
    DWORD capacity = (subKeys ? keyLen : valueLen) + 1;
    std::vector<wchar_t> buffer;
    for (DWORD index = 0;; ++index) {
        for (;;) {
            try {
                buffer.resize(capacity);
            } catch (const std::bad_alloc&) {
                return Fail(ERROR_OUTOFMEMORY);
            }
            DWORD len = capacity;
            rc = subKeys ? ::RegEnumKeyExW(m_key, index, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr)
                         : ::RegEnumValueW(m_key, index, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_MORE_DATA && capacity < 32768) {
                capacity = 32768;
                continue;
            }
            if (rc == ERROR_SUCCESS) names.emplace_back(buffer.data(), len);
            break;
        }
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS) return Fail(rc);
    }
    m_lastError = 0;
    return true;
}

bool NRegKey::EnumSubKeys(NSTRList& names) { return Enum(true, names); }
bool NRegKey::EnumValues(NSTRList& names) { return Enum(false, names); }

bool NRegKey::QueryValue(std::wstring_view name, NRegValue& value)
{
    value.Clear();
    if (m_key == nullptr) return Fail(ERROR_INVALID_HANDLE);
    const std::wstring n = Terminated(name);
    uint32_t size = 64 * 1024;
    for (;;) {
        if (!value.Allocate(size)) return Fail(ERROR_OUTOFMEMORY);
        DWORD type = 0;
        DWORD got = size;
        const LONG rc = ::RegQueryValueExW(m_key, n.c_str(), nullptr, &type, value.MutableData(), &got);
        if (rc == ERROR_MORE_DATA) {
            size = got;  // the size the value now has
            continue;
        }
        if (rc != ERROR_SUCCESS) {
            value.Clear();
            return Fail(rc);
        }
        value.SetType(type);
        value.SetSize(got);
        m_lastError = 0;
        return true;
    }
}

bool NRegKey::SetValue(std::wstring_view name, uint32_t type, const void* data, uint32_t size)
{
    if (m_key == nullptr) return Fail(ERROR_INVALID_HANDLE);
    const std::wstring n = Terminated(name);
    const LONG rc = ::RegSetValueExW(m_key, n.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    if (rc != ERROR_SUCCESS) return Fail(rc);
    m_lastError = 0;
    return true;
}

bool NRegKey::DeleteKey(std::wstring_view subKey)
{
    if (m_key == nullptr) return Fail(ERROR_INVALID_HANDLE);
    const std::wstring name = Terminated(subKey);
    NRegKey child;
    if (!child.OpenRelative(m_key, name, m_access | KEY_READ)) return Fail(static_cast<LONG>(child.LastError()));
    NSTRList keys, values;
    if (!child.EnumSubKeys(keys) || !child.EnumValues(values)) return Fail(static_cast<LONG>(child.LastError()));
    if (!keys.empty() || !values.empty()) {
        for (const std::wstring& k : keys)
            if (!child.DeleteKey(k)) return Fail(static_cast<LONG>(child.LastError()));
        for (const std::wstring& v : values) {
            const LONG rc = ::RegDeleteValueW(child.Handle(), v.c_str());
            if (rc != ERROR_SUCCESS) return Fail(rc);
        }
    }
    child.Close();
    const LONG rc = ::RegDeleteKeyW(m_key, name.c_str());
    if (rc != ERROR_SUCCESS) return Fail(rc);
    m_lastError = 0;
    return true;
}
