#pragma once
// Move-only owners of platform handles. Each owner closes its handle exactly
// once, with the function that matches how it was obtained; copying is
// impossible so that two owners never close one handle. Non-owning uses take
// the raw handle type (HANDLE, HKEY, HDC ...) by value: the owner keeps it alive.
#include <winsock2.h>
#include <windows.h>

#include <utility>

// Generic owner. Traits gives the handle type, the empty value, the test for a
// real handle and the close call.
template <class Traits>
class NUniqueHandle {
public:
    using Type = typename Traits::Type;

    NUniqueHandle() noexcept = default;
    explicit NUniqueHandle(Type handle) noexcept : m_handle(handle) {}
    ~NUniqueHandle() { Reset(); }

    NUniqueHandle(NUniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    NUniqueHandle& operator=(NUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    NUniqueHandle(const NUniqueHandle&) = delete;
    NUniqueHandle& operator=(const NUniqueHandle&) = delete;

    Type Get() const noexcept { return m_handle; }
    bool IsValid() const noexcept { return Traits::IsValid(m_handle); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Gives up ownership without closing.
    Type Release() noexcept { return std::exchange(m_handle, Traits::Empty()); }

    // Closes the current handle (if any) and takes handle.
    void Reset(Type handle = Traits::Empty()) noexcept
    {
        const Type old = std::exchange(m_handle, handle);
        if (Traits::IsValid(old) && old != handle)
            Traits::Close(old);
    }

    // For functions that return a handle through a pointer: closes the current
    // one and hands out the slot.
    Type* Put() noexcept
    {
        Reset();
        return &m_handle;
    }

private:
    Type m_handle = Traits::Empty();
};

namespace nhandle_traits {
// Kernel objects: CreateFile gives INVALID_HANDLE_VALUE on failure, most
// others give null, so both count as "no handle".
struct SKernel {
    using Type = HANDLE;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};
struct SFind {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};
struct SChangeNotification {
    using Type = HANDLE;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindCloseChangeNotification(h); }
};
struct SRegKey {
    using Type = HKEY;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};
struct SModule {
    using Type = HMODULE;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::FreeLibrary(h); }
};
struct SSocket {
    using Type = SOCKET;
    static Type Empty() noexcept { return INVALID_SOCKET; }
    static bool IsValid(Type h) noexcept { return h != INVALID_SOCKET; }
    static void Close(Type h) noexcept { ::closesocket(h); }
};
template <class T>
struct SGdi {
    using Type = T;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};
struct SIcon {
    using Type = HICON;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};
struct SMenu {
    using Type = HMENU;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::DestroyMenu(h); }
};
struct SMemoryDC {
    using Type = HDC;
    static Type Empty() noexcept { return nullptr; }
    static bool IsValid(Type h) noexcept { return h != nullptr; }
    static void Close(Type h) noexcept { ::DeleteDC(h); }
};
}  // namespace nhandle_traits

using NHandle = NUniqueHandle<nhandle_traits::SKernel>;                   // CloseHandle
using NFindHandle = NUniqueHandle<nhandle_traits::SFind>;                 // FindClose
using NChangeNotifyHandle = NUniqueHandle<nhandle_traits::SChangeNotification>;  // FindCloseChangeNotification
using NRegKeyHandle = NUniqueHandle<nhandle_traits::SRegKey>;             // RegCloseKey
using NModule = NUniqueHandle<nhandle_traits::SModule>;                   // FreeLibrary
using NSocket = NUniqueHandle<nhandle_traits::SSocket>;                   // closesocket
template <class T>
using NGdiObject = NUniqueHandle<nhandle_traits::SGdi<T>>;                // DeleteObject
using NFont = NGdiObject<HFONT>;
using NBitmap = NGdiObject<HBITMAP>;
using NBrush = NGdiObject<HBRUSH>;
using NPen = NGdiObject<HPEN>;
using NRegion = NGdiObject<HRGN>;
using NIcon = NUniqueHandle<nhandle_traits::SIcon>;                       // DestroyIcon
using NMenuHandle = NUniqueHandle<nhandle_traits::SMenu>;                 // DestroyMenu
using NMemoryDC = NUniqueHandle<nhandle_traits::SMemoryDC>;               // DeleteDC (CreateCompatibleDC)

// A window's device context from GetDC/GetWindowDC, given back with ReleaseDC.
class NWindowDC {
public:
    NWindowDC() noexcept = default;
    // GetDC(window); window may be null for the screen.
    explicit NWindowDC(HWND window) noexcept : m_window(window), m_dc(::GetDC(window)) {}
    NWindowDC(HWND window, HDC dc) noexcept : m_window(window), m_dc(dc) {}
    ~NWindowDC() { Reset(); }
    NWindowDC(NWindowDC&& other) noexcept
        : m_window(std::exchange(other.m_window, nullptr)), m_dc(std::exchange(other.m_dc, nullptr))
    {
    }
    NWindowDC& operator=(NWindowDC&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_window = std::exchange(other.m_window, nullptr);
            m_dc = std::exchange(other.m_dc, nullptr);
        }
        return *this;
    }
    NWindowDC(const NWindowDC&) = delete;
    NWindowDC& operator=(const NWindowDC&) = delete;

    HDC Get() const noexcept { return m_dc; }
    explicit operator bool() const noexcept { return m_dc != nullptr; }
    void Reset() noexcept
    {
        if (m_dc != nullptr)
            ::ReleaseDC(m_window, m_dc);
        m_dc = nullptr;
        m_window = nullptr;
    }

private:
    HWND m_window = nullptr;
    HDC m_dc = nullptr;
};

// BeginPaint/EndPaint for one WM_PAINT.
class NPaintDC {
public:
    explicit NPaintDC(HWND window) noexcept : m_window(window) { m_dc = ::BeginPaint(window, &m_paint); }
    ~NPaintDC()
    {
        if (m_dc != nullptr)
            ::EndPaint(m_window, &m_paint);
    }
    NPaintDC(const NPaintDC&) = delete;
    NPaintDC& operator=(const NPaintDC&) = delete;

    HDC Get() const noexcept { return m_dc; }
    const PAINTSTRUCT& Paint() const noexcept { return m_paint; }

private:
    HWND m_window;
    HDC m_dc = nullptr;
    PAINTSTRUCT m_paint{};
};

// Selects a GDI object into a device context for a scope and puts the
// previous one back, so an owned object is never deleted while selected.
// Not for regions: selecting a region copies it and returns no old object.
class NSelectObject {
public:
    NSelectObject(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_old(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~NSelectObject() { Restore(); }
    NSelectObject(const NSelectObject&) = delete;
    NSelectObject& operator=(const NSelectObject&) = delete;

    bool Selected() const noexcept { return m_old != nullptr && m_old != HGDI_ERROR; }
    void Restore() noexcept
    {
        if (Selected())
            ::SelectObject(m_dc, m_old);
        m_old = nullptr;
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// An owned event with the operations used on it.
class NEventHandle {
public:
    NEventHandle() noexcept = default;

    // Creates an unnamed or named event; false (with the last error) on failure.
    bool Create(bool manualReset, bool initiallySet, const wchar_t* name = nullptr) noexcept
    {
        m_handle.Reset(::CreateEventW(nullptr, manualReset ? TRUE : FALSE, initiallySet ? TRUE : FALSE, name));
        return m_handle.IsValid();
    }
    // Convenience: a new event or an empty owner.
    static NEventHandle Make(bool manualReset, bool initiallySet, const wchar_t* name = nullptr) noexcept
    {
        NEventHandle event;
        event.Create(manualReset, initiallySet, name);
        return event;
    }

    HANDLE Get() const noexcept { return m_handle.Get(); }
    bool IsValid() const noexcept { return m_handle.IsValid(); }
    explicit operator bool() const noexcept { return IsValid(); }
    bool Set() const noexcept { return IsValid() && ::SetEvent(m_handle.Get()) != FALSE; }
    bool Reset() const noexcept { return IsValid() && ::ResetEvent(m_handle.Get()) != FALSE; }
    bool IsSet() const noexcept { return IsValid() && ::WaitForSingleObject(m_handle.Get(), 0) == WAIT_OBJECT_0; }
    // WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
    DWORD Wait(DWORD timeoutMs) const noexcept
    {
        if (!IsValid()) {
            ::SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        return ::WaitForSingleObject(m_handle.Get(), timeoutMs);
    }
    void Close() noexcept { m_handle.Reset(); }

private:
    NHandle m_handle;
};
