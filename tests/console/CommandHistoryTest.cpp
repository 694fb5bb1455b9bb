#include "console/CommandHistory.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

#include <gtest/gtest.h>

namespace {

using List = CommandHistory::List;

std::wstring Latin1(std::string_view bytes)
{
    std::wstring w;
    for (unsigned char c : bytes) w.push_back(static_cast<wchar_t>(c));
    return w;
}

std::string Utf16Le(std::wstring_view text, bool bom)
{
    std::string bytes;
    if (bom) bytes += "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

TEST(CommandHistory, SendMovesEveryEqualEntryToTheFront)
{
    CommandHistory h(List{L"a", L"ver", L"b", L"ver"});
    h.Send(L"ver");
    EXPECT_EQ(h.Entries(), (List{L"ver", L"a", L"b"}));
    h.Send(L"VER");  // case-sensitive: both stay
    EXPECT_EQ(h.Entries(), (List{L"VER", L"ver", L"a", L"b"}));
    h.Send(L"");
    h.Send(L"a");
    h.Send(L"");
    EXPECT_EQ(h.Entries(), (List{L"", L"a", L"VER", L"ver", L"b"}));
}

TEST(CommandHistory, DeleteRemovesOnlyExactMatches)
{
    CommandHistory h(List{L"x", L"y", L"x", L"X"});
    h.Delete(L"not there");
    EXPECT_EQ(h.Entries(), (List{L"x", L"y", L"x", L"X"}));
    h.Delete(L"x");
    EXPECT_EQ(h.Entries(), (List{L"y", L"X"}));
}

TEST(CommandHistory, BlankMeansOnlyControlWhitespace)
{
    EXPECT_TRUE(CommandHistory::IsBlank(L""));
    EXPECT_TRUE(CommandHistory::IsBlank(L" \t\b\v\f\r\n"));
    EXPECT_FALSE(CommandHistory::IsBlank(L" a "));
    EXPECT_FALSE(CommandHistory::IsBlank(std::wstring(1, 0xA0)));  // no-break space is text
    EXPECT_FALSE(CommandHistory::IsBlank(std::wstring(1, 0x1B)));
    CommandHistory h(List{L"", L"a", L"  ", L"\t", L" b "});
    h.DropBlank();
    EXPECT_EQ(h.Entries(), (List{L"a", L" b "}));
}

TEST(CommandHistory, SplitsAtEveryKindOfLineEnd)
{
    EXPECT_EQ(CommandHistory::SplitLines(L"a\r\nb\rc\nd"), (List{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(CommandHistory::SplitLines(L"a\n\r\nb\r\n"), (List{L"a", L"", L"b"}));
    EXPECT_EQ(CommandHistory::SplitLines(L"\r\r"), (List{L"", L""}));
    EXPECT_EQ(CommandHistory::SplitLines(L""), List{});
}

TEST(CommandHistory, ExportWritesUtf8JoinedByCrLf)
{
    CommandHistory h(List{L"x", L"y"});
    EXPECT_EQ(h.ExportText(), std::string("x\r\ny"));
    CommandHistory u(List{std::wstring(1, 0x00E9), L"z"});
    EXPECT_EQ(u.ExportText(), std::string("\xC3\xA9\r\nz"));
    EXPECT_EQ(CommandHistory().ExportText(), "");
}

TEST(CommandHistory, ImportsUtf16FileWithByteOrderMark)
{
    const std::string bytes = Utf16Le(L"a\r\n\r\n  \r\n b \r\n", true);
    CommandHistory h(List{L"old"});
    ASSERT_TRUE(h.ImportBytes(bytes, Latin1));
    EXPECT_EQ(h.Entries(), (List{L"a", L" b "}));
}

TEST(CommandHistory, UndecodableFileLeavesHistoryUnchanged)
{
    CommandHistory h(List{L"keep"});
    NSetLastError(0);
    EXPECT_FALSE(h.ImportBytes(std::string("a\0b", 3), Latin1));  // odd length with a zero
    EXPECT_EQ(NGetLastError(), nerr::kInvalidData);
    EXPECT_FALSE(h.ImportBytes("", Latin1));
    EXPECT_EQ(h.Entries(), (List{L"keep"}));
}

TEST(CommandHistory, ExportThenImportRoundTrips)
{
    const List commands{L" lead", L"trail\t", std::wstring{L'k', 0x00FC, L'r'},
                        std::wstring{0xD83D, 0xDE00}, L"last"};
    CommandHistory h(commands);
    CommandHistory back;
    ASSERT_TRUE(back.ImportBytes(h.ExportText(), Latin1));
    EXPECT_EQ(back.Entries(), commands);
}

}  // namespace
