// A document shaped like an exported shade set, through write and parse in both layouts.
#include "foundation/Njv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

Njv Colour(int r, int g, int b)
{
    Njv c = Njv::MakeObject();
    c.SetMember(L"R", Njv::MakeNumber(r));
    c.SetMember(L"G", Njv::MakeNumber(g));
    c.SetMember(L"B", Njv::MakeNumber(b));
    return c;
}

Njv ShadesLikeDocument()
{
    Njv doc = Njv::MakeObject();
    Njv meta = Njv::MakeObject();
    meta.SetMember(L"Type", Njv::MakeString(L"Lumbra Shades"));
    meta.SetMember(L"Version", Njv::MakeNumber(1));
    doc.SetMember(L"Meta", meta);
    Njv rows = Njv::MakeArray();
    const wchar_t* names[] = {L"Background", L"Info", L"Warning", L"Error", L"Rec'd Open", L"Problem \"quoted\"",
                              L"Caf\u00e9 \\ tab\there"};
    int i = 0;
    for (const wchar_t* name : names) {
        Njv row = Njv::MakeObject();
        row.SetMember(L"GUID", Njv::MakeString(L"{6B29FC40-CA47-1067-B31D-00DD010662D" + std::to_wstring(i) + L"}"));
        row.SetMember(L"Name", Njv::MakeString(name));
        row.SetMember(L"Prefix", Njv::MakeString(i == 5 ? L"!" : L""));
        row.SetMember(L"LogMark", Njv::MakeString(L"Prb"));
        row.SetMember(L"Fore", Colour(102, 51, 153));
        row.SetMember(L"Back", Colour(255, 255 - i, 0));
        row.SetMember(L"Weight", Njv::MakeNumber(i * 0.125 - 0.3));
        rows.Append(row);
        ++i;
    }
    doc.SetMember(L"Rows", rows);
    Njv custom = Njv::MakeArray();
    for (int k = 0; k < 16; ++k)
        custom.Append(Colour(k * 16, 255 - k, k % 2 ? 128 : 0));
    doc.SetMember(L"CustomColors", custom);
    return doc;
}

TEST(JsonRoundTrip, ShadesLikeDocumentInEveryLayout)
{
    const Njv doc = ShadesLikeDocument();
    for (bool pretty : {false, true}) {
        for (bool escape : {false, true}) {
            std::wstring text;
            ASSERT_TRUE(doc.Write(text, pretty, escape));
            Njv back;
            ASSERT_TRUE(back.ParseWhole(text));
            EXPECT_TRUE(back.Equals(doc));
            // Writing again gives the same text: member order survived.
            std::wstring again;
            ASSERT_TRUE(back.Write(again, pretty, escape));
            EXPECT_EQ(again, text);
            if (escape) {
                for (wchar_t c : text)
                    ASSERT_LT(static_cast<uint32_t>(c), 127u);
            }
        }
    }
}

TEST(JsonRoundTrip, EveryBasicPlaneCharacterReadsBackAsWritten)
{
    std::wstring all;
    for (uint32_t c = 1; c <= 0xFFFF; ++c)
        if (c < 0xD800 || c > 0xDFFF) all.push_back(static_cast<wchar_t>(c));
    const Njv doc = Njv::MakeString(all);
    for (bool escape : {false, true}) {
        std::wstring text;
        ASSERT_TRUE(doc.Write(text, false, escape));
        Njv back;
        ASSERT_TRUE(back.ParseWhole(text)) << "escape " << escape;
        EXPECT_TRUE(back.Equals(doc)) << "escape " << escape;
    }
    std::wstring text;
    ASSERT_TRUE(Njv::MakeString(L"\"\\\b\f\n\r\t/").Write(text, false, false));
    EXPECT_EQ(text, L"\"\\\"\\\\\\b\\f\\n\\r\\t/\"");
}

TEST(JsonRoundTrip, ReadingMembersBack)
{
    std::wstring text;
    ASSERT_TRUE(ShadesLikeDocument().Write(text, true));
    Njv doc;
    ASSERT_TRUE(doc.ParseWhole(text));
    std::vector<std::wstring> keys;
    ASSERT_TRUE(doc.ListKeys(keys));
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"Meta", L"Rows", L"CustomColors"}));
    Njv rows, row, name, fore, r;
    ASSERT_TRUE(doc.GetMember(L"Rows", rows));
    ASSERT_EQ(rows.Count(), 7u);
    ASSERT_TRUE(rows.GetAt(6, row));
    std::wstring s;
    ASSERT_TRUE(row.GetMember(L"Name", name));
    ASSERT_TRUE(name.GetString(s));
    EXPECT_EQ(s, L"Caf\u00e9 \\ tab\there");
    ASSERT_TRUE(row.GetMember(L"Fore", fore));
    ASSERT_TRUE(fore.GetMember(L"R", r));
    double d = 0;
    ASSERT_TRUE(r.GetNumber(d));
    EXPECT_EQ(d, 102);
    Njv custom;
    ASSERT_TRUE(doc.GetMember(L"CustomColors", custom));
    EXPECT_EQ(custom.Count(), 16u);
    // The pretty form starts as a user would expect to read it.
    EXPECT_EQ(text.substr(0, 44), L"{\r\n    \"Meta\": {\r\n        \"Type\": \"Lumbra Sh");
}

}  // namespace
