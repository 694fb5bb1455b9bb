// The JSON form of a shade set: export, import rules, and malformed input.
#include "shades/LMShades.h"

#include "foundation/Njv.h"
#include "shades/ShadeJson.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring DefaultsText(bool pretty = true) { return LMShades().ToJson(pretty); }

// The defaults' text with one piece replaced (must occur).
std::wstring Edited(const std::wstring& from, const std::wstring& to, bool pretty = false)
{
    std::wstring text = DefaultsText(pretty);
    size_t at = text.find(from);
    EXPECT_NE(at, std::wstring::npos) << "missing: " << std::string(from.begin(), from.end());
    if (at != std::wstring::npos)
        text.replace(at, from.size(), to);
    return text;
}

// Imports into a modified set and checks that a failure leaves exactly the defaults.
void ExpectRefused(const std::wstring& text)
{
    LMShades s;
    SLMShade row = s.Row(1);
    row.fore = 0x010101;
    s.AddOrUpdate(row);
    s.SetCustomColour(0, 0x777777);
    EXPECT_FALSE(s.FromJson(text)) << std::string(text.begin(), text.end()).substr(0, 300);
    EXPECT_EQ(s.ToJson(false), DefaultsText(false));
}

std::wstring UserRowJson(const wchar_t* guid, const wchar_t* name, const wchar_t* prefix, const wchar_t* mark)
{
    return std::wstring(L",{\"GUID\":\"") + guid + L"\",\"Name\":\"" + name + L"\",\"Prefix\":\"" + prefix +
           L"\",\"LogMark\":\"" + mark + L"\",\"Fore\":{\"R\":1,\"G\":2,\"B\":3},\"Back\":{\"R\":4,\"G\":5,\"B\":6}}";
}

// Inserts rows after the last built-in row of the compact defaults.
std::wstring WithUserRows(const std::wstring& rows)
{
    std::wstring text = DefaultsText(false);
    size_t at = text.find(L"],\"CustomColors\"");
    text.insert(at, rows);
    return text;
}

}  // namespace

TEST(LMShadesJson, PrettyExportHasMembersInOrderAndColoursAsRgb)
{
    LMShades::SetProducerText(L"Lumbra 1.0.0 test");
    std::wstring text = DefaultsText(true);
    size_t meta = text.find(L"\"LumbraShades.Meta\"");
    size_t shades = text.find(L"\"Shades\"");
    size_t custom = text.find(L"\"CustomColors\"");
    ASSERT_NE(meta, std::wstring::npos);
    EXPECT_LT(meta, shades);
    EXPECT_LT(shades, custom);
    EXPECT_NE(text.find(L"Lumbra 1.0.0 test"), std::wstring::npos);
    EXPECT_NE(text.find(L'\n'), std::wstring::npos);
    EXPECT_EQ(DefaultsText(false).find(L'\n'), std::wstring::npos);

    Njv root;
    ASSERT_TRUE(root.ParseWhole(text));
    Njv rows, problem, member, colour;
    ASSERT_TRUE(root.GetMember(L"Shades", rows));
    ASSERT_EQ(rows.Count(), 12u);
    ASSERT_TRUE(rows.GetAt(11, problem));
    std::wstring s;
    ASSERT_TRUE(problem.GetMember(L"Prefix", member) && member.GetString(s));
    EXPECT_EQ(s, L"!");
    ASSERT_TRUE(problem.GetMember(L"LogMark", member) && member.GetString(s));
    EXPECT_EQ(s, L"Prb");
    std::vector<std::wstring> keys;
    problem.ListKeys(keys);
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"GUID", L"Name", L"Prefix", L"LogMark", L"Fore", L"Back"}));
    Njv warning;
    ASSERT_TRUE(rows.GetAt(2, warning));
    ASSERT_TRUE(warning.GetMember(L"Fore", colour));
    std::wstring ctext;
    colour.Write(ctext, false);
    EXPECT_EQ(ctext, L"{\"R\":102,\"G\":51,\"B\":153}");
    LMShades::SetProducerText(L"Lumbra");
}

TEST(LMShadesJson, DefaultsRoundTripExactly)
{
    for (bool pretty : {true, false}) {
        LMShades s;
        ASSERT_TRUE(s.FromJson(DefaultsText(pretty)));
        EXPECT_EQ(s.ToJson(pretty), DefaultsText(pretty));
    }
}

TEST(LMShadesJson, UserRowsAndCustomColoursRoundTrip)
{
    LMShades a;
    SLMShade row;
    LMGuid::Parse(L"0badf00d-0000-4000-8000-000000000001", row.guid);
    row.name = L"Gr\u00fc\u00dfe \u20ac";  // non-ASCII names are kept unescaped
    row.prefix = '#';
    row.SetMark("G#1");
    row.fore = 0x0A0B0C;
    row.back = 0xFFFFFF;
    ASSERT_EQ(a.AddOrUpdate(row), 12);
    a.SetCustomColour(15, 0x00ABCDEF);
    std::wstring text = a.ToJson(true);
    EXPECT_NE(text.find(L"Gr\u00fc\u00dfe \u20ac"), std::wstring::npos);
    LMShades b;
    ASSERT_TRUE(b.FromJson(text));
    EXPECT_EQ(b.RowCount(), 13u);
    EXPECT_EQ(b.Row(12).name, row.name);
    EXPECT_EQ(b.Row(12).guid, row.guid);
    EXPECT_EQ(b.Row(12).prefix, '#');
    EXPECT_EQ(b.Row(12).fore, 0x0A0B0Cu);
    EXPECT_EQ(b.CustomColours()[15], 0x00ABCDEFu);
    EXPECT_EQ(b.ToJson(false), a.ToJson(false));
}

TEST(LMShadesJson, BuiltInRowsFollowTheUpdateRules)
{
    LMShades s;
    // Problem's prefix cannot be removed, Info cannot gain one.
    ASSERT_TRUE(s.FromJson(Edited(L"\"Prefix\":\"!\"", L"\"Prefix\":\"\"")));
    EXPECT_EQ(s.Row(LMShades::kProblem).prefix, '!');
    std::wstring info = L"\"Name\":\"Info\",\"Prefix\":\"\"";
    ASSERT_TRUE(s.FromJson(Edited(info, L"\"Name\":\"Info\",\"Prefix\":\"#\"")));
    EXPECT_EQ(s.Row(LMShades::kInfo).prefix, 0);
    // A built-in row renamed in the file keeps its own name.
    ASSERT_TRUE(s.FromJson(Edited(L"\"Name\":\"Note\"", L"\"Name\":\"Remark\"")));
    EXPECT_EQ(s.Row(LMShades::kNote).name, L"Note");
}

TEST(LMShadesJson, UserRowsAreAppendedInFileOrder)
{
    LMShades s;
    ASSERT_TRUE(s.FromJson(WithUserRows(UserRowJson(L"a0000000-0000-4000-8000-000000000001", L"One", L"#", L"One") +
                                        UserRowJson(L"a0000000-0000-4000-8000-000000000002", L"Two", L"", L"Two"))));
    ASSERT_EQ(s.RowCount(), 14u);
    EXPECT_EQ(s.Row(12).name, L"One");
    EXPECT_EQ(s.Row(13).name, L"Two");
    EXPECT_EQ(s.Row(12).fore, 0x030201u);
    EXPECT_EQ(s.ClassifyLine(std::wstring_view(L"#1")), 12);
}

TEST(LMShadesJson, ImportRulesRefuseClashes)
{
    // A user row named like "Note" in any letter case.
    ExpectRefused(WithUserRows(UserRowJson(L"a0000000-0000-4000-8000-000000000001", L"nOTE", L"#", L"Xyz")));
    // A user row with a built-in row's mark.
    ExpectRefused(WithUserRows(UserRowJson(L"a0000000-0000-4000-8000-000000000001", L"Mine", L"#", L"Err")));
    // The same row twice (duplicate kind).
    std::wstring dup = UserRowJson(L"a0000000-0000-4000-8000-000000000001", L"Mine", L"#", L"Min");
    ExpectRefused(WithUserRows(dup + dup));
    // A built-in row listed twice.
    std::wstring text = DefaultsText(false);
    size_t start = text.find(L"{\"GUID\":\"26ca1300");
    size_t end = text.find(L"}}", start) + 2;
    ExpectRefused(WithUserRows(L"," + text.substr(start, end - start)));
    // Two user rows with the same name.
    ExpectRefused(WithUserRows(UserRowJson(L"a0000000-0000-4000-8000-000000000001", L"Mine", L"#", L"Mi1") +
                               UserRowJson(L"a0000000-0000-4000-8000-000000000002", L"MINE", L"#", L"Mi2")));
}

TEST(LMShadesJson, BadColoursAreRefused)
{
    const std::wstring from = L"\"Fore\":{\"R\":102,\"G\":51,\"B\":153}";
    for (const wchar_t* to :
         {L"\"Fore\":{\"R\":102,\"G\":51,\"B\":256}", L"\"Fore\":{\"R\":-1,\"G\":51,\"B\":153}",
          L"\"Fore\":{\"R\":12.5,\"G\":51,\"B\":153}", L"\"Fore\":{\"R\":\"102\",\"G\":51,\"B\":153}",
          L"\"Fore\":{\"R\":102,\"G\":51}", L"\"Fore\":[102,51,153]", L"\"Fore\":null",
          L"\"Fore\":{\"R\":1e300,\"G\":51,\"B\":153}", L"\"Fore\":{\"R\":-0.5,\"G\":51,\"B\":153}",
          L"\"Fore\":{\"R\":true,\"G\":51,\"B\":153}", L"\"Foreground\":{\"R\":102,\"G\":51,\"B\":153}"})
        ExpectRefused(Edited(from, to));
    // A whole number written with a fraction or an exponent is still whole.
    LMShades s;
    EXPECT_TRUE(s.FromJson(Edited(from, L"\"Fore\":{\"R\":1.02e2,\"G\":51.0,\"B\":153}")));
    EXPECT_EQ(s.Row(2).fore, 0x993366u);
}

TEST(LMShadesJson, BadCustomColoursAreRefused)
{
    std::wstring text = DefaultsText(false);
    size_t at = text.find(L"\"CustomColors\":[") + 16;
    std::wstring first = L"{\"R\":0,\"G\":0,\"B\":0},";
    ASSERT_EQ(text.compare(at, first.size(), first), 0);
    std::wstring fifteen = text;
    fifteen.erase(at, first.size());
    ExpectRefused(fifteen);
    std::wstring seventeen = text;
    seventeen.insert(at, first);
    ExpectRefused(seventeen);
    std::wstring bad = text;
    bad.replace(at, first.size(), L"{\"R\":0,\"G\":0,\"B\":300},");
    ExpectRefused(bad);
    ExpectRefused(Edited(L"\"CustomColors\":[", L"\"CustomColours\":["));
}

TEST(LMShadesJson, WrongTypesAndMissingMembersAreRefused)
{
    ExpectRefused(L"");
    ExpectRefused(L"[]");
    ExpectRefused(L"{}");
    ExpectRefused(L"null");
    ExpectRefused(L"\"text\"");
    ExpectRefused(Edited(L"\"LumbraShades.Meta\":\"Lumbra\"", L"\"LumbraShades.Meta\":1"));
    ExpectRefused(Edited(L"\"LumbraShades.Meta\":\"Lumbra\",", L""));
    ExpectRefused(Edited(L"\"Shades\":[", L"\"Shades\":{\"a\":[") + L"}");
    ExpectRefused(Edited(L"\"Name\":\"Info\"", L"\"Name\":\"\""));
    ExpectRefused(Edited(L"\"Name\":\"Info\"", L"\"Name\":7"));
    ExpectRefused(Edited(L"\"GUID\":\"3cdb5496-bbff-4c50-995c-3d4a070b9800\"", L"\"GUID\":\"00000000-0000-0000-0000-000000000000\""));
    ExpectRefused(Edited(L"\"GUID\":\"3cdb5496-bbff-4c50-995c-3d4a070b9800\"", L"\"GUID\":\"3cdb5496\""));
    ExpectRefused(Edited(L"\"GUID\":\"3cdb5496-bbff-4c50-995c-3d4a070b9800\",", L""));
    ExpectRefused(Edited(L"\"Prefix\":\"!\"", L"\"Prefix\":\"!!\""));
    ExpectRefused(Edited(L"\"Prefix\":\"!\"", L"\"Prefix\":33"));
    ExpectRefused(Edited(L"\"Prefix\":\"!\"", L"\"Prefix\":\"\\u0121\""));  // would cut to "!"
    ExpectRefused(Edited(L"\"Prefix\":\"!\"", L"\"Prefix\":\"\\t\""));
    ExpectRefused(Edited(L"\"LogMark\":\"Prb\"", L"\"LogMark\":\"Pr\""));
    ExpectRefused(Edited(L"\"LogMark\":\"Prb\"", L"\"LogMark\":\"Prbx\""));
    ExpectRefused(Edited(L"\"LogMark\":\"Prb\"", L"\"LogMark\":\"P\\u0000b\""));
    ExpectRefused(Edited(L"\"LogMark\":\"Prb\"", L"\"LogMark\":\"Pr\\u00e9\""));
    ExpectRefused(Edited(L"{\"GUID\":\"26ca1300", L"7,{\"GUID\":\"26ca1300"));
}

TEST(LMShadesJson, TruncatedTextIsRefusedAtEveryLength)
{
    std::wstring text = DefaultsText(false);
    for (size_t n = 0; n + 1 < text.size(); n += 7)
        ExpectRefused(text.substr(0, n));
    ExpectRefused(text + L"x");
}

TEST(LMShadesJson, MoreRowsThanKindsCanAddressAreRefused)
{
    auto rows = [](int count) {
        std::wstring all;
        for (int i = 0; i < count; ++i) {
            std::wstring g = L"b0000000-0000-4000-8000-000000000000";
            std::wstring n = std::to_wstring(i + 1);
            g.replace(g.size() - n.size(), n.size(), n);
            wchar_t mark[4] = {static_cast<wchar_t>(L'A' + i % 26), static_cast<wchar_t>(L'a' + i / 26 % 26), L'9', 0};
            all += UserRowJson(g.c_str(), (L"User" + n).c_str(), L"", mark);
        }
        return all;
    };
    LMShades s;
    ASSERT_TRUE(s.FromJson(WithUserRows(rows(243))));  // rows 0..254
    EXPECT_EQ(s.RowCount(), 255u);
    ExpectRefused(WithUserRows(rows(244)));
    ExpectRefused(WithUserRows(rows(400)));
}

TEST(LMShadesJson, ShadeRowReaderStartsFromTheEmptyRow)
{
    SLMShade row;
    row.name = L"keep";
    Njv v;
    ASSERT_TRUE(v.ParseWhole(L"{\"GUID\":\"x\"}"));
    EXPECT_FALSE(LMShadeFromJson(v, row));
    EXPECT_EQ(row.name, L"keep");  // untouched on failure
    uint32_t c = 5;
    ASSERT_TRUE(v.ParseWhole(L"{\"B\":3,\"G\":2,\"R\":1}"));  // any member order reads
    ASSERT_TRUE(LMColourFromJson(v, c));
    EXPECT_EQ(c, 0x030201u);
}
