#include "transport/win32/NCOMPortScanner.h"

#include <vector>

#include "foundation/win32/Handles.h"
#include "transport/win32/NCOMPortMutex.h"

namespace {

// A REG_SZ/REG_EXPAND_SZ value; empty when missing or of another type.
std::wstring ReadString(HKEY key, const wchar_t* name, bool expand)
{
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size > 65536)
        return {};
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return {};
    buffer[size / sizeof(wchar_t) < buffer.size() ? size / sizeof(wchar_t) : buffer.size() - 1] = L'\0';
    std::wstring text(buffer.data());  // stops at the first NUL, stored or ours
    if (expand || type == REG_EXPAND_SZ) {
        const DWORD n = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
        if (n > 0) {
            std::wstring expanded(n, L'\0');
            if (::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), n) == n) {
                expanded.resize(n - 1);
                text = expanded;
            }
        }
    }
    return text;
}

struct SWalk {
    NCOMPortEnum& out;
    const NCOMPortScanner::Tester& tester;
    const NCOMPortScanner::KeepGoing& keepGoing;
    bool stopped = false;

    void Visit(HKEY key, const std::wstring& path, int depth)
    {
        if (stopped)
            return;
        if (keepGoing && !keepGoing()) {
            stopped = true;
            return;
        }
        if (!path.empty() &&
            NCOMPortEnum::EqualNoCase(ReadString(key, L"ClassGUID", false), NCOMPortEnum::kPortsClassGuid)) {
            NRegKeyHandle params;
            std::wstring port;
            if (::RegOpenKeyExW(key, L"Device Parameters", 0, KEY_READ, params.Put()) == ERROR_SUCCESS)
                port = ReadString(params.Get(), L"PortName", false);
            NCOMPortEnum::SNCPEEntry entry;
            entry.portName = port;
            entry.friendlyName = ReadString(key, L"FriendlyName", true);
            entry.instancePath = path;
            entry.interfacePath = NCOMPortEnum::InterfacePath(path);
            entry.status = port.empty() ? NCOMPortEnum::kAbsent : tester(port);
            out.entries.push_back(std::move(entry));
        }
        if (depth > 16)  // the device tree is three levels deep; a loop of links must not recurse forever
            return;
        wchar_t name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = 256;
            const LONG r = ::RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (r == ERROR_NO_MORE_ITEMS)
                break;
            if (r != ERROR_SUCCESS)
                continue;  // a name too long or a key that vanished meanwhile
            NRegKeyHandle child;
            if (::RegOpenKeyExW(key, name, 0, KEY_READ, child.Put()) != ERROR_SUCCESS)
                continue;
            Visit(child.Get(), path.empty() ? std::wstring(name) : path + L"\\" + name, depth + 1);
            if (stopped)
                return;
        }
    }
};

}  // namespace

int32_t NCOMPortScanner::AttributeTest(const std::wstring& portName)
{
    const std::wstring device = L"\\\\?\\" + portName;
    if (::GetFileAttributesW(device.c_str()) != INVALID_FILE_ATTRIBUTES)
        return NCOMPortEnum::kPresent;
    return NCOMPortEnum::StatusFromAttributeQuery(::GetLastError());
}

int32_t NCOMPortScanner::PortTest(const std::wstring& portName)
{
    NCOMPortMutex mutex;
    if (!mutex.Acquire())
        return NCOMPortEnum::StatusFromPortTest(::GetLastError(), ::GetLastError() == ERROR_TIMEOUT);
    const std::wstring device = L"\\\\?\\" + portName;
    NHandle port(::CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    const DWORD error = port ? 0 : ::GetLastError();
    port.Reset();
    mutex.Release();
    return NCOMPortEnum::StatusFromPortTest(error, false);
}

bool NCOMPortScanner::Scan(NCOMPortEnum& out, const Tester& tester, const KeepGoing& keepGoing, HKEY root,
                           const wchar_t* rootPath)
{
    out.entries.clear();
    NRegKeyHandle key;
    const LONG r = ::RegOpenKeyExW(root, rootPath, 0, KEY_READ, key.Put());
    if (r != ERROR_SUCCESS) {
        ::SetLastError(static_cast<DWORD>(r));
        return false;
    }
    SWalk walk{out, tester, keepGoing};
    walk.Visit(key.Get(), std::wstring(), 0);
    if (walk.stopped) {
        ::SetLastError(ERROR_CANCELLED);
        return false;
    }
    return true;
}
