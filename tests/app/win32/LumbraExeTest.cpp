// Starts the built Lumbra.exe (it sits next to the test executables) under
// the test's own registry and checks start-up, single instance and exit.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/win32/LMImageCheck.h"
#include "app/win32/LMModulePath.h"
#include "foundation/win32/Handles.h"

namespace {
std::wstring BuildDir()
{
    std::wstring self = LMModulePath();
    return self.substr(0, self.find_last_of(L'\\') + 1);
}

std::wstring TempCopy(const std::wstring& name)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

struct SProcess {
    NHandle process;
    DWORD id = 0;
};

SProcess Start(const std::wstring& path)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + path + L"\"";
    SProcess p;
    if (::CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ::CloseHandle(pi.hThread);
        p.process.Reset(pi.hProcess);
        p.id = pi.dwProcessId;
    }
    return p;
}

struct SFind {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectFrame(HWND w, LPARAM param)
{
    auto* f = reinterpret_cast<SFind*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(w, &owner);
    wchar_t cls[64] = {};
    ::GetClassNameW(w, cls, 64);
    if (owner == f->pid && std::wstring(cls) == L"NFrameWnd")
        f->found.push_back(w);
    return TRUE;
}

std::vector<HWND> FramesOf(DWORD pid)
{
    SFind find{pid, {}};
    ::EnumWindows(&CollectFrame, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

HWND WaitForFrame(DWORD pid, DWORD ms = 20000)
{
    for (DWORD waited = 0; waited < ms; waited += 100) {
        std::vector<HWND> frames = FramesOf(pid);
        if (!frames.empty())
            return frames.front();
        ::Sleep(100);
    }
    return nullptr;
}

std::wstring WindowText(HWND w)
{
    wchar_t text[256] = {};
    ::GetWindowTextW(w, text, 256);
    return text;
}

class LumbraExe : public testing::Test {
protected:
    void SetUp() override
    {
        exe = BuildDir() + L"Lumbra.exe";
        if (::GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "Lumbra.exe is not built";
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Vexal\\Lumbra\\Setup");
    }
    std::wstring exe;
};
}  // namespace

TEST_F(LumbraExe, BuiltImageIsStampedAndAFlippedByteIsNoticed)
{
    EXPECT_EQ(LMCheckImageFile(exe), lmstamp::EResult::kValid);
    const std::wstring copy = TempCopy(L"LumbraAltered.exe");
    ASSERT_TRUE(::CopyFileW(exe.c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(LMCheckImageFile(copy), lmstamp::EResult::kValid);
    {
        NHandle file(::CreateFileW(copy.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(file.IsValid());
        ::SetFilePointer(file.Get(), 0x2000, nullptr, FILE_BEGIN);
        BYTE b = 0;
        DWORD done = 0;
        ASSERT_TRUE(::ReadFile(file.Get(), &b, 1, &done, nullptr));
        b ^= 0x01;
        ::SetFilePointer(file.Get(), 0x2000, nullptr, FILE_BEGIN);
        ASSERT_TRUE(::WriteFile(file.Get(), &b, 1, &done, nullptr));
    }
    EXPECT_EQ(LMCheckImageFile(copy), lmstamp::EResult::kAltered);
    ::DeleteFileW(copy.c_str());
    EXPECT_EQ(LMCheckImageFile(TempCopy(L"NoSuchFile.exe")), lmstamp::EResult::kNoBlock);
}

TEST_F(LumbraExe, SecondStartEndsAndWakesTheFirstACopyRunsAlongside)
{
    SProcess first = Start(exe);
    ASSERT_TRUE(first.process.IsValid());
    HWND frame = WaitForFrame(first.id);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(WindowText(frame), L"Lumbra");
    HMENU menu = ::GetMenu(frame);
    ASSERT_NE(menu, nullptr);
    // Menu handles are private to their process under Wine: only presence is checked.

    // Minimised, so that coming to the front shows.
    ::ShowWindow(frame, SW_MINIMIZE);
    for (int i = 0; i < 50 && !::IsIconic(frame); ++i)
        ::Sleep(100);
    ASSERT_TRUE(::IsIconic(frame));
    SProcess second = Start(exe);
    ASSERT_TRUE(second.process.IsValid());
    EXPECT_EQ(::WaitForSingleObject(second.process.Get(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 1234;
    ::GetExitCodeProcess(second.process.Get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(::WaitForSingleObject(first.process.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    // The first one comes back within about a second (its idle passes poll the event).
    bool restored = false;
    for (int i = 0; i < 50 && !restored; ++i) {
        ::Sleep(100);
        restored = !::IsIconic(frame) && ::IsWindowVisible(frame);
    }
    EXPECT_TRUE(restored);

    const std::wstring copy = TempCopy(L"Lumbra2.exe");
    ASSERT_TRUE(::CopyFileW(exe.c_str(), copy.c_str(), FALSE));
    SProcess other = Start(copy);
    ASSERT_TRUE(other.process.IsValid());
    HWND otherFrame = WaitForFrame(other.id);
    EXPECT_NE(otherFrame, nullptr);
    EXPECT_EQ(::WaitForSingleObject(first.process.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // "E&xit" closes the frame and ends the process.
    ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(57665, 0), 0);
    EXPECT_EQ(::WaitForSingleObject(first.process.Get(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    if (otherFrame != nullptr)
        ::PostMessageW(otherFrame, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(other.process.Get(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    ::DeleteFileW(copy.c_str());
}

TEST_F(LumbraExe, EmptyRegistryGivesAllThirteenValuesAtExit)
{
    SProcess p = Start(exe);
    ASSERT_TRUE(p.process.IsValid());
    HWND frame = WaitForFrame(p.id);
    ASSERT_NE(frame, nullptr);
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(p.process.Get(), 20000), static_cast<DWORD>(WAIT_OBJECT_0));

    NRegKeyHandle key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Vexal\\Lumbra\\Setup", 0, KEY_READ, key.Put()),
              ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                                 nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 13u);
    const struct {
        const wchar_t* name;
        DWORD type;
    } expected[] = {{L"TimeStampFormat", REG_SZ},      {L"LastRunAs", REG_SZ},
                    {L"LogListFontCode", REG_SZ},      {L"BaseListFontCode", REG_SZ},
                    {L"BaseWindowPlacement", REG_SZ},  {L"BaseToolbarIconSize", REG_DWORD},
                    {L"ConsoleToolbarIconSize", REG_DWORD}, {L"LogMaxItems", REG_DWORD},
                    {L"CmdDropDownWidth", REG_DWORD},  {L"CmdDropDownHeight", REG_DWORD},
                    {L"FileLogPath", REG_SZ},          {L"FileLogMaxSizeMB", REG_DWORD},
                    {L"FileLogRollovers", REG_DWORD}};
    for (const auto& e : expected) {
        DWORD type = 0;
        EXPECT_EQ(::RegQueryValueExW(key.Get(), e.name, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS) << e.name;
        EXPECT_EQ(type, e.type) << e.name;
    }
    wchar_t text[MAX_PATH] = {};
    DWORD size = sizeof text;
    ::RegQueryValueExW(key.Get(), L"LastRunAs", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    EXPECT_EQ(lstrcmpiW(text, exe.c_str()), 0);
    size = sizeof text;
    ::RegQueryValueExW(key.Get(), L"TimeStampFormat", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    EXPECT_STREQ(text, L"%H:%M:%S.%N ");
    DWORD number = 0;
    size = sizeof number;
    ::RegQueryValueExW(key.Get(), L"LogMaxItems", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size);
    EXPECT_EQ(number, 5000u);
}
