#include "foundation/win32/AnsiCodePage.h"

#include "foundation/win32/TextFile.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(AnsiCodePage, RoundTripsWhatTheCodePageHolds)
{
    EXPECT_EQ(NAnsiCodePage::ToWide("plain text"), L"plain text");
    EXPECT_TRUE(NAnsiCodePage::ToWide("").empty());
    EXPECT_TRUE(NAnsiCodePage::FromWide(L"").empty());
    EXPECT_EQ(NAnsiCodePage::FromWide(L"Nfo TxD"), "Nfo TxD");
    // Every byte converts to something and back where the code page defines it.
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    const std::wstring wide = NAnsiCodePage::ToWide(all);
    ASSERT_FALSE(wide.empty());
    if (GetACP() == 1252) {
        EXPECT_EQ(NAnsiCodePage::ToWide("caf\xE9"), L"caf\u00E9");
        EXPECT_EQ(NAnsiCodePage::FromWide(L"caf\u00E9 \u20AC"), "caf\xE9 \x80");
    }
}

TEST(AnsiCodePage, CharactersOutsideTheCodePageBecomeTheDefaultCharacter)
{
    if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
    EXPECT_EQ(NAnsiCodePage::FromWide(L"a\u65E5b"), "a?b");
}

TEST(AnsiCodePage, DetectedAnsiFilesDecodeThroughTheSystemCodePage)
{
    std::wstring text;
    NTextEncoding enc{};
    ASSERT_TRUE(NDecodeText("Gr\xFC\xDF" "e", &NAnsiCodePage::ToWide, text, &enc));
    EXPECT_EQ(enc, NTextEncoding::Ansi);
    EXPECT_EQ(text, NAnsiCodePage::ToWide("Gr\xFC\xDF" "e"));
}
