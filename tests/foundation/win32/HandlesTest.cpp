// Handle owners: each handle is closed exactly once, moves transfer
// ownership, and the empty values of each kind are never closed.
#include <gtest/gtest.h>

#include "foundation/win32/Handles.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {
// Counts closes per value, so double closes and leaks are visible.
struct SCountingTraits {
    using Type = int;
    static int closes[8];
    static Type Empty() noexcept { return 0; }
    static bool IsValid(Type h) noexcept { return h > 0; }
    static void Close(Type h) noexcept { ++closes[h]; }
};
int SCountingTraits::closes[8] = {};
using TestHandle = NUniqueHandle<SCountingTraits>;

bool IsOpenKernelHandle(HANDLE h)
{
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}
}  // namespace

TEST(Handles, EachHandleIsClosedExactlyOnce)
{
    std::fill(std::begin(SCountingTraits::closes), std::end(SCountingTraits::closes), 0);
    {
        TestHandle a(1);
        TestHandle b(std::move(a));
        EXPECT_FALSE(a.IsValid());
        TestHandle c(2);
        c = std::move(b);  // closes 2, takes 1
        EXPECT_EQ(1, SCountingTraits::closes[2]);
        TestHandle& alias = c;
        c = std::move(alias);  // self-move keeps it
        EXPECT_EQ(1, c.Get());
        TestHandle d(3);
        EXPECT_EQ(3, d.Release());
        TestHandle e(4);
        e.Reset(4);  // the same value again must not be closed under the owner's feet
        EXPECT_EQ(0, SCountingTraits::closes[4]);
        e.Reset(5);
        *e.Put() = 6;
    }
    EXPECT_EQ(1, SCountingTraits::closes[1]);
    EXPECT_EQ(1, SCountingTraits::closes[2]);
    EXPECT_EQ(0, SCountingTraits::closes[3]);  // released: the caller owns it
    EXPECT_EQ(1, SCountingTraits::closes[4]);
    EXPECT_EQ(1, SCountingTraits::closes[5]);
    EXPECT_EQ(1, SCountingTraits::closes[6]);
}

TEST(Handles, KernelHandleClosesAndTreatsBothEmptyValuesAsEmpty)
{
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, raw);
    {
        NHandle owner(raw);
        EXPECT_TRUE(owner);
        NHandle moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_TRUE(IsOpenKernelHandle(raw));
    }
    EXPECT_FALSE(IsOpenKernelHandle(raw));

    // INVALID_HANDLE_VALUE is also the current process's pseudo handle:
    // an owner must never pass it to CloseHandle.
    NHandle invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid.IsValid());
    NFindHandle find;
    EXPECT_FALSE(find.IsValid());
    EXPECT_EQ(INVALID_HANDLE_VALUE, find.Get());
}

TEST(Handles, FindRegistryModuleAndSocketOwners)
{
    wchar_t dir[MAX_PATH];
    ASSERT_GT(::GetSystemDirectoryW(dir, MAX_PATH), 0u);
    WIN32_FIND_DATAW data;
    NFindHandle find(::FindFirstFileW((std::wstring(dir) + L"\\*").c_str(), &data));
    EXPECT_TRUE(find.IsValid());
    find.Reset();
    EXPECT_FALSE(find.IsValid());

    NRegKeyHandle key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Put()));
    HKEY rawKey = key.Get();
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryInfoKeyW(rawKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                nullptr, nullptr, nullptr, nullptr));
    key.Reset();
    EXPECT_NE(ERROR_SUCCESS, ::RegQueryInfoKeyW(rawKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                nullptr, nullptr, nullptr, nullptr));

    NModule module(::LoadLibraryW(L"version.dll"));
    ASSERT_TRUE(module);
    EXPECT_NE(nullptr, ::GetProcAddress(module.Get(), "GetFileVersionInfoSizeW"));

    WSADATA wsa;
    ASSERT_EQ(0, ::WSAStartup(MAKEWORD(2, 2), &wsa));
    {
        NSocket socketOwner(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        ASSERT_TRUE(socketOwner);
        SOCKET raw = socketOwner.Get();
        socketOwner.Reset();
        int type = 0;
        int size = sizeof type;
        EXPECT_EQ(SOCKET_ERROR, ::getsockopt(raw, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &size));
        NSocket none;
        EXPECT_EQ(INVALID_SOCKET, none.Get());
    }
    ::WSACleanup();
}

TEST(Handles, GdiOwnersAndScopedSelection)
{
    NMemoryDC dc(::CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    NBitmap bitmap(::CreateBitmap(4, 4, 1, 1, nullptr));
    ASSERT_TRUE(bitmap);
    HGDIOBJ original = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
    {
        NSelectObject select(dc.Get(), bitmap.Get());
        EXPECT_TRUE(select.Selected());
        EXPECT_EQ(bitmap.Get(), ::GetCurrentObject(dc.Get(), OBJ_BITMAP));
    }
    EXPECT_EQ(original, ::GetCurrentObject(dc.Get(), OBJ_BITMAP));
    HBITMAP rawBitmap = bitmap.Get();
    bitmap.Reset();
    EXPECT_EQ(0u, static_cast<unsigned>(::GetObjectType(rawBitmap)));

    NSelectObject nothing(nullptr, nullptr);
    EXPECT_FALSE(nothing.Selected());

    NWindowDC screen(static_cast<HWND>(nullptr));
    EXPECT_TRUE(screen);
    NWindowDC moved(std::move(screen));
    EXPECT_FALSE(screen);
    EXPECT_TRUE(moved);

    NMenuHandle menu(::CreatePopupMenu());
    ASSERT_TRUE(menu);
    HMENU rawMenu = menu.Get();
    menu.Reset();
    EXPECT_FALSE(::IsMenu(rawMenu));

    NIcon icon(::CreateIcon(nullptr, 16, 16, 1, 1, std::vector<BYTE>(32, 0xFF).data(), std::vector<BYTE>(32, 0).data()));
    EXPECT_TRUE(icon);
}

TEST(Handles, EventHelper)
{
    NEventHandle manual = NEventHandle::Make(true, false);
    ASSERT_TRUE(manual);
    EXPECT_FALSE(manual.IsSet());
    EXPECT_TRUE(manual.Set());
    EXPECT_TRUE(manual.IsSet());
    EXPECT_TRUE(manual.IsSet());  // manual reset: stays set
    EXPECT_TRUE(manual.Reset());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), manual.Wait(0));

    NEventHandle automatic;
    ASSERT_TRUE(automatic.Create(false, true));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), automatic.Wait(0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), automatic.Wait(0));  // consumed

    NEventHandle empty;
    EXPECT_FALSE(empty.Set());
    EXPECT_EQ(static_cast<DWORD>(WAIT_FAILED), empty.Wait(0));
}
