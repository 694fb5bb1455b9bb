#include "foundation/win32/TextFile.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

class TextFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t base[MAX_PATH];
        ASSERT_NE(GetTempPathW(MAX_PATH, base), 0u);
        m_dir = std::wstring(base) + L"lumbra-textfile-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(m_dir.c_str(), nullptr);
    }
    void TearDown() override
    {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((m_dir + L"*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring p = m_dir + fd.cFileName;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    if (fd.cFileName[0] != L'.') RemoveDirectoryW(p.c_str());
                } else {
                    SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(p.c_str());
                }
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(m_dir.c_str());
    }
    std::wstring Path(const wchar_t* name) const { return m_dir + name; }
    static bool Exists(const std::wstring& p) { return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }
    static std::string Bytes(const std::wstring& p)
    {
        std::string b;
        EXPECT_TRUE(NTextFile::ReadBytes(p, b));
        return b;
    }

    std::wstring m_dir;
};

}  // namespace

TEST_F(TextFileTest, WritesUtf8WithoutBomAndReadsItBack)
{
    const std::wstring file = Path(L"cmds.lmc");
    const std::wstring text = L"x\r\ny \u00E9\u20AC";
    ASSERT_TRUE(NTextFile::WriteUtf8(file, text));
    EXPECT_EQ(Bytes(file), "x\r\ny \xC3\xA9\xE2\x82\xAC");
    EXPECT_FALSE(Exists(file + L".TMP"));
    std::wstring back;
    NTextEncoding enc{};
    ASSERT_TRUE(NTextFile::Read(file, back, &enc));
    EXPECT_EQ(enc, NTextEncoding::Utf8);
    EXPECT_EQ(back, text);
}

TEST_F(TextFileTest, ReplacesAnExistingFileAndAStaleTemporaryFile)
{
    const std::wstring file = Path(L"a.txt");
    ASSERT_TRUE(NTextFile::WriteBytes(file, std::string(10000, 'o')));
    ASSERT_TRUE(NTextFile::WriteBytes(file + L".TMP", "stale"));
    ASSERT_TRUE(NTextFile::WriteUtf8(file, L"new"));
    EXPECT_EQ(Bytes(file), "new");
    EXPECT_FALSE(Exists(file + L".TMP"));
    ASSERT_TRUE(NTextFile::WriteUtf8(file, L""));
    EXPECT_EQ(Bytes(file), "");
}

TEST_F(TextFileTest, FailedMoveKeepsTheOldTargetAndRemovesTheTemporaryFile)
{
    // A target that is a directory cannot be replaced by a file.
    const std::wstring target = Path(L"folder");
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    SetLastError(0);
    EXPECT_FALSE(NTextFile::WriteUtf8(target, L"data"));
    EXPECT_NE(GetLastError(), 0u);
    EXPECT_FALSE(Exists(target + L".TMP"));
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(TextFileTest, TargetHeldOpenByAnotherProgramIsNotReplaced)
{
    const std::wstring file = Path(L"held.txt");
    ASSERT_TRUE(NTextFile::WriteBytes(file, "old"));
    HANDLE other = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    SetLastError(0);
    const bool wrote = NTextFile::WriteUtf8(file, L"new");
    const DWORD error = GetLastError();
    CloseHandle(other);
    EXPECT_FALSE(wrote);
    EXPECT_TRUE(error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) << error;
    EXPECT_FALSE(Exists(file + L".TMP"));
    EXPECT_EQ(Bytes(file), "old");
}

TEST_F(TextFileTest, UnwritableTemporaryFileFailsWithItsOwnError)
{
    // A folder where the temporary file would go: nothing can be created there.
    const std::wstring file = Path(L"b.txt");
    ASSERT_TRUE(NTextFile::WriteBytes(file, "old"));
    ASSERT_TRUE(CreateDirectoryW((file + L".TMP").c_str(), nullptr));
    SetLastError(0);
    EXPECT_FALSE(NTextFile::WriteUtf8(file, L"new"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Bytes(file), "old");
}

TEST_F(TextFileTest, MissingFolderAndMissingFileReportThePlatformError)
{
    SetLastError(0);
    EXPECT_FALSE(NTextFile::WriteUtf8(Path(L"no\\such\\dir\\x.txt"), L"x"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    std::wstring text = L"junk";
    SetLastError(0);
    EXPECT_FALSE(NTextFile::Read(Path(L"absent.txt"), text));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(text.empty());
}

TEST_F(TextFileTest, EmptyAndBinaryFilesAreNotText)
{
    const std::wstring empty = Path(L"empty.lmc");
    ASSERT_TRUE(NTextFile::WriteBytes(empty, ""));
    std::wstring text;
    SetLastError(0);
    EXPECT_FALSE(NTextFile::Read(empty, text));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    const std::wstring bin = Path(L"bin.lmc");
    ASSERT_TRUE(NTextFile::WriteBytes(bin, std::string("MZ\0\0\x90\0", 6)));
    EXPECT_FALSE(NTextFile::Read(bin, text));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
}

TEST_F(TextFileTest, Utf16CommandFileWithBlankLines)
{
    // a, an empty line, two blanks, " b " in UTF-16LE with a BOM, as Notepad writes it.
    const std::wstring file = Path(L"u16.lmc");
    const char raw[] = "\xFF\xFE" "a\0\r\0\n\0\r\0\n\0 \0 \0\r\0\n\0 \0b\0 \0";
    ASSERT_TRUE(NTextFile::WriteBytes(file, std::string(raw, sizeof raw - 1)));
    std::wstring text;
    NTextEncoding enc{};
    ASSERT_TRUE(NTextFile::Read(file, text, &enc));
    EXPECT_EQ(enc, NTextEncoding::Utf16LE);
    EXPECT_EQ(text, L"\uFEFFa\r\n\r\n  \r\n b ");
}

TEST_F(TextFileTest, LargeFileCrossesTheChunkSize)
{
    const std::wstring file = Path(L"big.txt");
    std::string data(3 * 1024 * 1024 + 17, 'x');
    data[1024 * 1024] = 'y';
    ASSERT_TRUE(NTextFile::WriteBytes(file, data));
    EXPECT_EQ(Bytes(file), data);
}
