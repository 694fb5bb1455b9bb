// The command bar's logic on a real combo box: history order, Send, Delete,
// and command file export and import with the file dialog and the message
// boxes answered by hooks.
#include "console/win32/LMConsCommands.h"

#include "config/LMConsConfig.h"
#include "foundation/win32/SystemErrorText.h"
#include "framework/win32/NFileDialog.h"
#include "framework/win32/NMessageBox.h"
#include "logging/LMLog.h"
#include "logging/LMLogEntry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using List = std::vector<std::wstring>;

struct SEntry {
    uint8_t kind;
    std::wstring text;
    bool operator==(const SEntry& other) const { return kind == other.kind && text == other.text; }
};

struct SBox {
    std::wstring text;
    std::wstring caption;
    UINT flags;
};

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


std::string ReadAll(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(1 << 16, '\0');
    DWORD got = 0;
    ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    ::CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

void WriteAll(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    ASSERT_TRUE(::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr));
    ::CloseHandle(file);
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class CommandsTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_parent = ::CreateWindowExW(0, L"STATIC", L"Commands test", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                     300, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_parent, nullptr);
        m_combo = ::CreateWindowExW(0, L"COMBOBOX", L"",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 10, 10, 300,
                                    200, m_parent, reinterpret_cast<HMENU>(1012), ::GetModuleHandleW(nullptr),
                                    nullptr);
        ASSERT_NE(m_combo, nullptr);
        m_commands.SetCombo(m_combo);

        m_dir = MakeTestFolder(L"cmds_");

        m_previousBox = NSetMessageBoxHook([this](HWND, const std::wstring& text, const std::wstring& caption,
                                                  UINT flags) {
            m_boxes.push_back(SBox{text, caption, flags});
            return IDOK;
        });
        m_previousDialog = NSetFileDialogHook([this](const NFileDialogRequest& request, std::wstring& path) {
            m_requests.push_back(request);
            path = m_answer;
            return !m_answer.empty();
        });
    }

    void TearDown() override
    {
        NSetMessageBoxHook(std::move(m_previousBox));
        NSetFileDialogHook(std::move(m_previousDialog));
        Drain();
        if (m_parent != nullptr) ::DestroyWindow(m_parent);
        RemoveTree(m_dir);
    }

    void SetHistory(const List& entries)
    {
        m_config.SetCommands(entries);
        m_commands.Fill();
    }

    void Type(const std::wstring& text) { ::SetWindowTextW(m_combo, text.c_str()); }

    std::wstring EditText() const
    {
        wchar_t buffer[512] = {};
        ::GetWindowTextW(m_combo, buffer, 512);
        return buffer;
    }

    List ComboItems() const
    {
        List items;
        const LRESULT count = ::SendMessageW(m_combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            const LRESULT length = ::SendMessageW(m_combo, CB_GETLBTEXTLEN, i, 0);
            std::wstring item(static_cast<size_t>(length) + 1, L'\0');
            ::SendMessageW(m_combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            item.resize(static_cast<size_t>(length));
            items.push_back(item);
        }
        return items;
    }

    int Selection() const { return static_cast<int>(::SendMessageW(m_combo, CB_GETCURSEL, 0, 0)); }

    std::vector<SEntry> Drain()
    {
        std::vector<SEntry> entries;
        while (LMLogEntry* entry = m_log.PopEntry()) {
            entries.push_back(SEntry{entry->Kind(), entry->WideText()});
            LMLogEntry::Release(entry);
        }
        return entries;
    }

    // The history in the configuration and in the combo must always agree.
    void ExpectHistory(const List& expected)
    {
        EXPECT_EQ(m_config.CopyCommands(), expected);
        EXPECT_EQ(ComboItems(), expected);
        EXPECT_EQ(Selection(), expected.empty() ? CB_ERR : 0);
    }

    std::wstring FolderCmd() const { return m_config.CopyString(&LMConsSettings::FolderCmd); }

    LMConsConfig m_config;
    LMLog m_log;
    LMConsCommands m_commands{m_config, m_log};
    HWND m_parent = nullptr;
    HWND m_combo = nullptr;
    std::wstring m_dir;
    std::wstring m_answer;  // the file the dialog hook picks; empty: Cancel
    std::vector<NFileDialogRequest> m_requests;
    std::vector<SBox> m_boxes;
    NMessageBoxHook m_previousBox;
    NFileDialogHook m_previousDialog;
};

TEST_F(CommandsTest, FillMirrorsTheHistoryInOrderAndSelectsTheFirst)
{
    SetHistory({L"c", L"a", L"b", L""});
    ExpectHistory({L"c", L"a", L"b", L""});  // not sorted, the empty command kept
    EXPECT_EQ(EditText(), L"c");
    EXPECT_TRUE(::IsWindowEnabled(m_combo));
    EXPECT_TRUE(m_commands.HasEntries());

    SetHistory({});
    ExpectHistory({});
    EXPECT_FALSE(m_commands.HasEntries());
}

TEST_F(CommandsTest, SendMovesTheTextToTheFrontAndTransmitsIt)
{
    SetHistory({L"a", L"ver", L"b", L"ver"});
    Type(L"ver");
    std::wstring text;
    EXPECT_TRUE(m_commands.Send(false, text));
    EXPECT_EQ(text, L"ver");
    ExpectHistory({L"ver", L"a", L"b"});

    // Case-sensitive: VER is another command.
    Type(L"VER");
    EXPECT_TRUE(m_commands.Send(false, text));
    EXPECT_EQ(text, L"VER");
    ExpectHistory({L"VER", L"ver", L"a", L"b"});
    EXPECT_TRUE(Drain().empty());
}

TEST_F(CommandsTest, TheFieldKeepsTheFocusAfterASendSoTheNextCommandCanBeTyped)
{
    ::ShowWindow(m_parent, SW_SHOW);
    m_commands.Edit();
    const HWND edit = ::GetFocus();
    ASSERT_TRUE(edit == m_combo || ::IsChild(m_combo, edit)) << "the edit field took the focus";
    Type(L"ver");
    std::wstring text;
    ASSERT_TRUE(m_commands.Send(false, text));
    const HWND after = ::GetFocus();
    EXPECT_TRUE(after == m_combo || ::IsChild(m_combo, after));
    DWORD start = 1, end = 0;
    ::SendMessageW(m_combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u) << "the sent command is selected, so typing replaces it";
}

TEST_F(CommandsTest, AnEmptyFieldIsSentAsAnEmptyCommand)
{
    SetHistory({L"a", L""});
    Type(L"");
    std::wstring text = L"stale";
    EXPECT_TRUE(m_commands.Send(false, text));
    EXPECT_EQ(text, L"");
    ExpectHistory({L"", L"a"});
}

TEST_F(CommandsTest, SendDuringAProcedureOnlyUpdatesTheHistory)
{
    SetHistory({L"a"});
    Type(L"reset");
    std::wstring text;
    EXPECT_FALSE(m_commands.Send(true, text));
    EXPECT_TRUE(text.empty());
    ExpectHistory({L"reset", L"a"});
}

TEST_F(CommandsTest, SendWithoutACommandBarDoesNothing)
{
    m_config.SetCommands({L"a"});
    LMConsCommands bare(m_config, m_log);
    std::wstring text = L"x";
    EXPECT_FALSE(bare.Send(false, text));
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(m_config.CopyCommands(), (List{L"a"}));
    EXPECT_FALSE(bare.HasEntries());
    bare.Fill();  // no combo: nothing to fill, nothing to crash
    bare.Delete();
    EXPECT_EQ(m_config.CopyCommands(), (List{L"a"}));
}

TEST_F(CommandsTest, DeleteRemovesEveryExactMatch)
{
    SetHistory({L"x", L"y", L"x", L"X"});
    Type(L"not in the list");
    m_commands.Delete();
    ExpectHistory({L"x", L"y", L"x", L"X"});
    EXPECT_EQ(EditText(), L"x");  // the first entry selected again

    Type(L"x");
    m_commands.Delete();
    ExpectHistory({L"y", L"X"});
}

TEST_F(CommandsTest, EditMovesTheFocusIntoTheCombo)
{
    ::SetFocus(m_parent);
    m_commands.Edit();
    const HWND focus = ::GetFocus();
    EXPECT_TRUE(focus == m_combo || ::IsChild(m_combo, focus));
}

TEST_F(CommandsTest, ExportWritesTheCommandsAsUtf8JoinedByCrLf)
{
    SetHistory({L"x", L"", L" \t", L"y"});
    m_answer = m_dir + L"\\out.lmc";
    ASSERT_TRUE(m_commands.Export(m_parent));
    EXPECT_EQ(ReadAll(m_answer), std::string("x\r\ny"));
    EXPECT_FALSE(Exists(m_answer + L".TMP"));
    ExpectHistory({L"x", L"y"});  // blank entries are gone from the history too
    EXPECT_EQ(FolderCmd(), m_dir);
    EXPECT_TRUE(Drain().empty());
    EXPECT_TRUE(m_boxes.empty());

    ASSERT_EQ(m_requests.size(), 1u);
    const NFileDialogRequest& request = m_requests[0];
    EXPECT_EQ(request.kind, NFileDialogRequest::kSave);
    EXPECT_EQ(request.owner, m_parent);
    EXPECT_EQ(request.title, L"Please specify command export file");
    EXPECT_EQ(request.filterName, L"Lumbra Command files (*.lmc)");
    EXPECT_EQ(request.filterPattern, L"*.lmc");
    EXPECT_EQ(request.defaultExt, L"lmc");
}

TEST_F(CommandsTest, ExportReplacesAnExistingFileAndKeepsNonAsciiText)
{
    const std::wstring path = m_dir + L"\\old.lmc";
    WriteAll(path, "a much longer previous content\r\n");
    SetHistory({std::wstring(1, 0x00E9) + L"cho", L"z"});
    m_answer = path;
    ASSERT_TRUE(m_commands.Export(m_parent));
    EXPECT_EQ(ReadAll(path), std::string("\xC3\xA9" "cho\r\nz"));
}

TEST_F(CommandsTest, ExportOfAnEmptyListWarnsAndAsksForNoFile)
{
    SetHistory({L"", L"  "});
    m_answer = m_dir + L"\\never.lmc";
    EXPECT_FALSE(m_commands.Export(m_parent));
    EXPECT_TRUE(m_requests.empty());
    EXPECT_FALSE(Exists(m_answer));
    ExpectHistory({});
    EXPECT_EQ(Drain(), (std::vector<SEntry>{{LMLog::kWarning, L"Command list is empty - nothing to export"}}));
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, L"Command list is empty - nothing to export");
    EXPECT_EQ(m_boxes[0].caption, L"Command Export");
    EXPECT_EQ(m_boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
}

TEST_F(CommandsTest, CancelledExportWritesNothing)
{
    SetHistory({L"a"});
    const std::wstring before = FolderCmd();
    m_answer.clear();
    EXPECT_FALSE(m_commands.Export(m_parent));
    EXPECT_EQ(m_requests.size(), 1u);
    EXPECT_TRUE(Drain().empty());
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(FolderCmd(), before);
}

TEST_F(CommandsTest, FailedExportLeavesTheOldFileAndReportsWhy)
{
    const std::wstring path = m_dir + L"\\keep.lmc";
    WriteAll(path, "old");
    // The temporary file cannot be created where a folder of its name stands.
    ASSERT_TRUE(::CreateDirectoryW((path + L".TMP").c_str(), nullptr));
    SetHistory({L"new"});
    const std::wstring before = FolderCmd();
    m_answer = path;
    EXPECT_FALSE(m_commands.Export(m_parent));
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(FolderCmd(), before);

    const std::vector<SEntry> entries = Drain();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], (SEntry{LMLog::kError, L"Unable to save commands to: " + path}));
    EXPECT_EQ(entries[1].kind, LMLog::kError);
    EXPECT_FALSE(entries[1].text.empty());
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, L"Command Export Error");
    EXPECT_EQ(m_boxes[0].text, L"Could not save commands to file\r\n" + path + L"\r\n" + entries[1].text);
    EXPECT_EQ(m_boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    ::RemoveDirectoryW((path + L".TMP").c_str());
}

TEST_F(CommandsTest, ExportIntoAMissingFolderFailsWithTheSystemText)
{
    SetHistory({L"a"});
    m_answer = m_dir + L"\\no such folder\\x.lmc";
    EXPECT_FALSE(m_commands.Export(m_parent));
    const std::vector<SEntry> entries = Drain();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].text, NSystemErrorText(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(Exists(m_answer + L".TMP"));
}

TEST_F(CommandsTest, ExportOverAFileHeldOpenKeepsItAndRemovesTheTemporary)
{
    const std::wstring path = m_dir + L"\\busy.lmc";
    WriteAll(path, "old");
    HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SetHistory({L"new"});
    m_answer = path;
    EXPECT_FALSE(m_commands.Export(m_parent));
    ::CloseHandle(held);
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_FALSE(Exists(path + L".TMP"));
    const std::vector<SEntry> entries = Drain();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, L"Unable to save commands to: " + path);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].caption, L"Command Export Error");
}

TEST_F(CommandsTest, ImportOfAFileHeldOpenByAnotherProgramReportsIt)
{
    SetHistory({L"keep"});
    const std::wstring path = m_dir + L"\\held.lmc";
    WriteAll(path, "ver");
    HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    m_answer = path;
    EXPECT_FALSE(m_commands.Import(m_parent));
    ::CloseHandle(held);
    ExpectHistory({L"keep"});
    const std::vector<SEntry> entries = Drain();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].text, NSystemErrorText(ERROR_SHARING_VIOLATION));
}

TEST_F(CommandsTest, ImportOfUtf16KeepsNonBlankLinesExactly)
{
    SetHistory({L"old"});
    const std::wstring path = m_dir + L"\\in.lmc";
    const std::wstring lines = L"a\r\n\r\n  \r\n b ";
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : lines) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    WriteAll(path, bytes);
    m_answer = path;
    ASSERT_TRUE(m_commands.Import(m_parent));
    ExpectHistory({L"a", L" b "});
    EXPECT_EQ(Drain(), (std::vector<SEntry>{{LMLog::kInfo, L"Commands imported from: " + path}}));
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_EQ(FolderCmd(), m_dir);

    ASSERT_EQ(m_requests.size(), 1u);
    EXPECT_EQ(m_requests[0].kind, NFileDialogRequest::kOpen);
    EXPECT_EQ(m_requests[0].title, L"Please specify command import file");
    EXPECT_EQ(m_requests[0].filterName, L"Lumbra Command files (*.lmc)");
    EXPECT_EQ(m_requests[0].defaultExt, L"lmc");
}

TEST_F(CommandsTest, ImportHandlesEveryLineEndAndDropsAUtf8Mark)
{
    const std::wstring path = m_dir + L"\\mixed.lmc";
    // A byte-order mark sent to a board would be a stray character in front
    // of the first command.
    WriteAll(path, "\xEF\xBB\xBFver\rstat\n\x0B\x0C\x08\r\nlast\n");
    m_answer = path;
    ASSERT_TRUE(m_commands.Import(m_parent));
    ExpectHistory({L"ver", L"stat", L"last"});
}

TEST_F(CommandsTest, ImportOfAFileThatIsNotTextKeepsTheHistory)
{
    SetHistory({L"keep", L"me"});
    const std::wstring before = FolderCmd();
    struct SCase {
        const char* name;
        std::string bytes;
        DWORD error;
    };
    const std::vector<SCase> cases = {
        {"binary.lmc", std::string("\x7F" "ELF\x01\x00\x00\x00\x02\x00", 10), ERROR_INVALID_DATA},
        {"odd.lmc", std::string("a\0b", 3), ERROR_INVALID_DATA},
        {"empty.lmc", std::string(), ERROR_INVALID_DATA},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = m_dir + L"\\" + Widen(c.name);
        WriteAll(path, c.bytes);
        m_answer = path;
        m_boxes.clear();
        EXPECT_FALSE(m_commands.Import(m_parent));
        ExpectHistory({L"keep", L"me"});
        const std::wstring why = NSystemErrorText(c.error);
        EXPECT_EQ(Drain(), (std::vector<SEntry>{{LMLog::kError, L"Unable to load commands from: " + path},
                                                {LMLog::kError, why}}));
        ASSERT_EQ(m_boxes.size(), 1u);
        EXPECT_EQ(m_boxes[0].caption, L"Command Import Error");
        EXPECT_EQ(m_boxes[0].text, L"Could not load commands from file\r\n" + path + L"\r\n" + why);
        EXPECT_EQ(m_boxes[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    }
    EXPECT_EQ(FolderCmd(), before);
}

TEST_F(CommandsTest, ImportOfAMissingFileReportsIt)
{
    SetHistory({L"keep"});
    m_answer = m_dir + L"\\gone.lmc";
    EXPECT_FALSE(m_commands.Import(m_parent));
    ExpectHistory({L"keep"});
    const std::vector<SEntry> entries = Drain();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].text, NSystemErrorText(ERROR_FILE_NOT_FOUND));
}

TEST_F(CommandsTest, CancelledImportChangesNothing)
{
    SetHistory({L"keep"});
    m_answer.clear();
    EXPECT_FALSE(m_commands.Import(m_parent));
    ExpectHistory({L"keep"});
    EXPECT_TRUE(Drain().empty());
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(CommandsTest, ExportThenImportGivesTheSameHistory)
{
    const List history = {L" lead", L"trail ", std::wstring(1, 0x4E2D) + L"\x6587", L"a\tb"};
    SetHistory(history);
    m_answer = m_dir + L"\\round.lmc";
    ASSERT_TRUE(m_commands.Export(m_parent));
    SetHistory({L"other"});
    ASSERT_TRUE(m_commands.Import(m_parent));
    ExpectHistory(history);
}

TEST_F(CommandsTest, DialogsStartInTheCommandFolderOrTheDefault)
{
    SetHistory({L"a"});
    ASSERT_TRUE(m_config.SetFolderCmd(m_dir));
    EXPECT_EQ(m_commands.StartFolder(), m_dir);
    m_answer.clear();
    m_commands.Import(m_parent);
    ASSERT_EQ(m_requests.size(), 1u);
    EXPECT_EQ(m_requests[0].initialDir, m_dir);

    // A remembered folder that has gone: the default one, expanded and created.
    ASSERT_TRUE(m_config.SetFolderCmd(m_dir + L"\\vanished"));
    wchar_t local[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH), 0u);
    const std::wstring expected = std::wstring(local) + L"\\Lumbra\\Commands";
    EXPECT_EQ(m_commands.StartFolder(), expected);
    const DWORD attributes = ::GetFileAttributesW(expected.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);

    // Environment variables in the stored folder are expanded when used.
    ASSERT_TRUE(m_config.SetFolderCmd(L"%LOCALAPPDATA%"));
    EXPECT_EQ(m_commands.StartFolder(), std::wstring(local));
}

}  // namespace
