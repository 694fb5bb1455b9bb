// Export and import through the system's real file dialogs: a helper thread
// finds the dialog by its title, types a file name and presses a button, as
// a user would.
#include "console/win32/LMConsCommands.h"

#include "config/LMConsConfig.h"
#include "logging/LMLog.h"
#include "logging/LMLogEntry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

constexpr int kFileNameCombo = 0x47C;  // cmb13 of the explorer-style dialogs
constexpr int kFileNameEdit = 0x480;   // edt1, the older form

std::wstring Widen(const std::string& narrow)
{
    return std::wstring(narrow.begin(), narrow.end());
}

// Removes a test folder and everything below it.
void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((dir + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = dir + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(path.c_str());
            }
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(dir.c_str());
}

// A folder of its own per test and run, so that files of one case or of an
// earlier run never meet another.
std::wstring MakeTestFolder(const wchar_t* prefix)
{
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::wstring dir = Widen(testing::TempDir()) + prefix + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                             Widen(info->name());
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}


// Answers the first dialog with the given title: types name (when not empty)
// and presses OK, or Cancel for an empty name.
class DialogAnswerer {
public:
    DialogAnswerer(std::wstring title, std::wstring name)
        : m_thread([this, title = std::move(title), name = std::move(name)] { Run(title, name); })
    {
    }
    ~DialogAnswerer() { Join(); }
    void Join()
    {
        if (m_thread.joinable()) m_thread.join();
    }
    bool Found() const { return m_found.load(); }

private:
    void Run(const std::wstring& title, const std::wstring& name)
    {
        // A cold shell start under Wine takes a few seconds.
        for (int i = 0; i < 300; ++i) {
            HWND dialog = ::FindWindowW(L"#32770", title.c_str());
            if (dialog != nullptr && ::IsWindowVisible(dialog)) {
                m_found = true;
                if (name.empty()) {
                    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                    return;
                }
                HWND field = ::GetDlgItem(dialog, kFileNameCombo);
                if (field == nullptr) field = ::GetDlgItem(dialog, kFileNameEdit);
                if (field != nullptr) ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
                ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                return;
            }
            ::Sleep(50);
        }
    }

    std::atomic<bool> m_found{false};
    std::thread m_thread;
};

class CommandsDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_combo = ::CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 0, 200, 200,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_combo, nullptr);
        m_commands.SetCombo(m_combo);
        m_dir = MakeTestFolder(L"cmddlg_");
        m_config.SetFolderCmd(m_dir);
    }
    void TearDown() override
    {
        while (LMLogEntry* entry = m_log.PopEntry()) LMLogEntry::Release(entry);
        if (m_combo != nullptr) ::DestroyWindow(m_combo);
        RemoveTree(m_dir);
    }

    LMConsConfig m_config;
    LMLog m_log;
    LMConsCommands m_commands{m_config, m_log};
    HWND m_combo = nullptr;
    std::wstring m_dir;
};

TEST_F(CommandsDialogTest, SaveDialogStartsInTheCommandFolderAndAddsTheExtension)
{
    m_config.SetCommands({L"ver", L"stat"});
    m_commands.Fill();
    DialogAnswerer answer(L"Please specify command export file", L"typed");
    const bool saved = m_commands.Export(nullptr);
    answer.Join();
    ASSERT_TRUE(answer.Found());
    ASSERT_TRUE(saved);
    const std::wstring path = m_dir + L"\\typed.lmc";
    EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(m_config.CopyString(&LMConsSettings::FolderCmd), m_dir);

    // And the same file comes back through the open dialog.
    m_config.SetCommands({L"other"});
    DialogAnswerer open(L"Please specify command import file", L"typed.lmc");
    const bool loaded = m_commands.Import(nullptr);
    open.Join();
    ASSERT_TRUE(open.Found());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(m_config.CopyCommands(), (NSTRList{L"ver", L"stat"}));
}

TEST_F(CommandsDialogTest, CancelInTheOpenDialogChangesNothing)
{
    m_config.SetCommands({L"keep"});
    DialogAnswerer answer(L"Please specify command import file", L"");
    EXPECT_FALSE(m_commands.Import(nullptr));
    answer.Join();
    EXPECT_TRUE(answer.Found());
    EXPECT_EQ(m_config.CopyCommands(), (NSTRList{L"keep"}));
    EXPECT_EQ(m_log.PopEntry(), nullptr);
}

}  // namespace
