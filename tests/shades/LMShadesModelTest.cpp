// The shade set: built-in rows, lookups, the update rules and new rows.
#include "shades/LMShades.h"

#include "FakeRandom.h"
#include "shades/LMGuid.h"

#include <gtest/gtest.h>

#include <set>

namespace {

SLMShade UserRow(const wchar_t* guid, const wchar_t* name, uint8_t prefix, const char* mark)
{
    SLMShade row;
    EXPECT_TRUE(LMGuid::Parse(guid, row.guid));
    row.name = name;
    row.prefix = prefix;
    row.SetMark(mark);
    row.fore = 0x112233;
    row.back = 0x445566;
    return row;
}

const wchar_t* const kUserGuid = L"11111111-2222-4333-8444-555555555555";

}  // namespace

TEST(LMGuid, TextRoundTripAndLayout)
{
    LMGuid g;
    ASSERT_TRUE(LMGuid::Parse(L"e6709e82-6ede-490d-a7d1-e93ca48534f7", g));
    // Data1 little-endian first, as in the platform's GUID.
    EXPECT_EQ(g.bytes[0], 0x82);
    EXPECT_EQ(g.bytes[3], 0xe6);
    EXPECT_EQ(g.bytes[4], 0xde);
    EXPECT_EQ(g.bytes[8], 0xa7);
    EXPECT_EQ(g.ToText(), L"e6709e82-6ede-490d-a7d1-e93ca48534f7");
    LMGuid u;
    ASSERT_TRUE(LMGuid::Parse(L"{E6709E82-6EDE-490D-A7D1-E93CA48534F7}", u));
    EXPECT_EQ(u, g);
    for (const wchar_t* bad : {L"", L"e6709e82-6ede-490d-a7d1-e93ca48534f", L"e6709e82x6ede-490d-a7d1-e93ca48534f7",
                               L"g6709e82-6ede-490d-a7d1-e93ca48534f7", L"{e6709e82-6ede-490d-a7d1-e93ca48534f7"})
        EXPECT_FALSE(LMGuid::Parse(bad, u)) << bad;
    EXPECT_EQ(LMGuid{}.ToText(), L"00000000-0000-0000-0000-000000000000");
}

TEST(LMGuid, CreateMakesVersion4AndFailsCleanly)
{
    FakeRandom r({0xFF});
    LMGuid g;
    ASSERT_TRUE(LMGuid::Create(r, g));
    EXPECT_EQ(g.ToText(), L"ffffffff-ffff-4fff-bfff-ffffffffffff");
    FakeRandom failing({}, true);
    EXPECT_FALSE(LMGuid::Create(failing, g));
    EXPECT_TRUE(g.IsNil());
}

TEST(LMShades, DefaultsHoldTheBuiltInRows)
{
    LMShades s;
    ASSERT_EQ(s.RowCount(), 12u);
    EXPECT_EQ(s.Row(0).name, L"Background");
    EXPECT_EQ(s.Row(0).Mark(), "   ");
    EXPECT_EQ(s.Row(2).fore, 0x993366u);
    EXPECT_EQ(s.Row(7).name, L"Rec'd Open");
    EXPECT_EQ(s.Row(11).prefix, '!');
    EXPECT_EQ(s.Row(11).Mark(), "Prb");
    EXPECT_EQ(s.Row(11).guid.ToText(), L"26ca1300-2a57-49e0-bca6-f7c023fc456a");
    EXPECT_EQ(s.CustomColours()[1], 0x000080u);
    EXPECT_EQ(s.CustomColours()[15], 0xFFFFFFu);
    std::set<std::wstring> guids;
    for (size_t i = 0; i < s.RowCount(); ++i)
        guids.insert(s.Row(i).guid.ToText());
    EXPECT_EQ(guids.size(), 12u);
}

TEST(LMShades, LookupsAndTheEmptyRow)
{
    LMShades s;
    EXPECT_EQ(s.FindByName(L"nOtE"), 10);
    EXPECT_EQ(s.FindByName(L"Notes"), -1);
    EXPECT_EQ(s.FindByLogMark("Ack"), 8);
    EXPECT_EQ(s.FindByLogMark("ack"), -1);
    EXPECT_EQ(s.FindByGuid(s.Row(5).guid), 5);
    EXPECT_EQ(s.FindByGuid(LMGuid{}), -1);
    const SLMShade& e = s.RowForKind(200);
    EXPECT_TRUE(e.name.empty());
    EXPECT_TRUE(e.guid.IsNil());
    EXPECT_EQ(e.fore, SLMShade::kNoColour);
    EXPECT_EQ(&s.RowForKind(255), &SLMShade::Empty());
}

TEST(LMShades, ClassifiesReceivedLinesByPrefix)
{
    LMShades s;
    EXPECT_EQ(s.ClassifyLine(std::wstring_view(L"!boom")), LMShades::kProblem);
    EXPECT_EQ(s.ClassifyLine(std::wstring_view(L" !boom")), LMShades::kReceived);
    EXPECT_EQ(s.ClassifyLine(std::wstring_view(L"")), LMShades::kReceived);
    EXPECT_EQ(s.ClassifyLine(std::wstring_view(L"=OK")), LMShades::kAcknowledge);
    EXPECT_EQ(s.ClassifyLine(std::wstring_view(L"_x")), LMShades::kUnsolicited);
    EXPECT_EQ(s.ClassifyLine(std::wstring_view(L"*x")), LMShades::kNote);
    EXPECT_EQ(s.ClassifyLine(std::wstring_view(L"#x")), LMShades::kReceived);
    // A wide character whose low byte is "!" must not pass for the prefix.
    EXPECT_EQ(s.ClassifyLine(0x121u), LMShades::kReceived);
    EXPECT_EQ(s.AddOrUpdate(UserRow(kUserGuid, L"Hash", '#', "Hsh")), 12);
    EXPECT_EQ(s.ClassifyLine(std::wstring_view(L"#x")), 12);
    EXPECT_EQ(s.RowForKind(12).Mark(), "Hsh");
}

TEST(LMShades, AddOrUpdateRefusesInvalidRows)
{
    LMShades s;
    SLMShade ok = UserRow(kUserGuid, L"Mine", '#', "Min");
    auto refused = [&](SLMShade row) { return s.AddOrUpdate(row) == -1; };
    SLMShade r = ok; r.name.clear();          EXPECT_TRUE(refused(r));
    r = ok; r.guid = LMGuid{};                EXPECT_TRUE(refused(r));
    r = ok; r.prefix = 0x7F;                  EXPECT_TRUE(refused(r));
    r = ok; r.prefix = 0xE9;                  EXPECT_TRUE(refused(r));
    r = ok; r.SetMark("Mi");                  EXPECT_TRUE(refused(r));
    r = ok; r.mark[1] = '\t';                 EXPECT_TRUE(refused(r));
    r = ok; r.fore = 0x1000000;               EXPECT_TRUE(refused(r));
    r = ok; r.back = SLMShade::kNoColour;     EXPECT_TRUE(refused(r));
    r = ok; r.name = L"NOTE";                 EXPECT_TRUE(refused(r));   // name of another row
    r = ok; r.SetMark("Err");                 EXPECT_TRUE(refused(r));   // mark of another row
    EXPECT_EQ(s.RowCount(), 12u);
    EXPECT_EQ(s.AddOrUpdate(ok), 12);
}

TEST(LMShades, BuiltInRowsKeepNameAndPrefixPresence)
{
    LMShades s;
    SLMShade problem = s.Row(LMShades::kProblem);
    problem.name = L"Trouble";
    problem.prefix = 0;
    problem.SetMark("PRB");
    problem.fore = 0x010203;
    EXPECT_EQ(s.AddOrUpdate(problem), 11);
    EXPECT_EQ(s.Row(11).name, L"Problem");
    EXPECT_EQ(s.Row(11).prefix, '!');
    EXPECT_EQ(s.Row(11).Mark(), "PRB");
    EXPECT_EQ(s.Row(11).fore, 0x010203u);

    SLMShade info = s.Row(LMShades::kInfo);
    info.prefix = '#';
    EXPECT_EQ(s.AddOrUpdate(info), 1);
    EXPECT_EQ(s.Row(1).prefix, 0);

    SLMShade note = s.Row(LMShades::kNote);
    note.prefix = '+';
    EXPECT_EQ(s.AddOrUpdate(note), 10);
    EXPECT_EQ(s.Row(10).prefix, '+');
}

TEST(LMShades, UserRowsAreReplacedWhole)
{
    LMShades s;
    ASSERT_EQ(s.AddOrUpdate(UserRow(kUserGuid, L"Mine", '#', "Min")), 12);
    ASSERT_EQ(s.AddOrUpdate(UserRow(kUserGuid, L"Yours", 0, "You")), 12);
    EXPECT_EQ(s.Row(12).name, L"Yours");
    EXPECT_EQ(s.Row(12).prefix, 0);
    EXPECT_EQ(s.RowCount(), 13u);
    // Renaming to its own name in another case is no clash.
    EXPECT_EQ(s.AddOrUpdate(UserRow(kUserGuid, L"YOURS", 0, "You")), 12);
}

TEST(LMShades, NoMoreThan255Rows)
{
    LMShades s;
    FakeRandom r({});
    for (int i = 12; i < 255; ++i) {
        SLMShade row;
        row.guid.bytes[0] = static_cast<uint8_t>(i);
        row.guid.bytes[1] = 1;
        row.name = L"R" + std::to_wstring(i);
        char mark[4] = {static_cast<char>('A' + i % 26), static_cast<char>('A' + i / 26 % 26), 'x', 0};
        row.SetMark(mark);
        row.fore = row.back = 0;
        ASSERT_EQ(s.AddOrUpdate(row), i);
    }
    SLMShade extra;
    extra.guid.bytes[2] = 9;
    extra.name = L"Extra";
    extra.SetMark("zzz");
    extra.fore = extra.back = 0;
    EXPECT_EQ(s.AddOrUpdate(extra), -1);
    EXPECT_EQ(s.RowCount(), 255u);
    FakeRandom rnd({1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(s.NewRow(rnd), -1);
}

TEST(LMShades, NewRowDrawsFreeNamePrefixAndMark)
{
    LMShades s;
    // 16 GUID bytes, then name 0x1267 = 04711, then the prefix byte 0: "!" is
    // Problem's, so the next byte is drawn; then the mark.
    std::vector<uint8_t> bytes(16, 0xAB);
    bytes.insert(bytes.end(), {0x67, 0x12, 0x00, 0x30, 0x80, 0x81, 0x82});
    FakeRandom r(bytes);
    int i = s.NewRow(r);
    ASSERT_EQ(i, 12);
    const SLMShade& row = s.Row(12);
    EXPECT_EQ(row.name, L"Shade#04711");
    EXPECT_EQ(row.prefix, '!' + 0x30 * 94 / 256);
    char expected[4] = {static_cast<char>('!' + 0x80 * 94 / 256), static_cast<char>('!' + 0x81 * 94 / 256),
                        static_cast<char>('!' + 0x82 * 94 / 256), 0};
    EXPECT_EQ(row.Mark(), std::string_view(expected, 3));
    EXPECT_EQ(row.fore, 0u);
    EXPECT_EQ(row.back, 0xFFFFFFu);
    EXPECT_FALSE(row.guid.IsNil());

    FakeRandom failing({}, true);
    EXPECT_EQ(s.NewRow(failing), -1);
    EXPECT_EQ(s.RowCount(), 13u);
}

TEST(LMShades, NewRowWithAStuckSourceDoesNotHang)
{
    LMShades s;
    FakeRandom stuck({0x00});  // always "!" = Problem's prefix, mark "!!!"
    int first = s.NewRow(stuck);
    EXPECT_EQ(first, 12);  // the prefix may be shared after giving up redrawing
    // The same GUID again: refused rather than updating row 12, and not hung.
    EXPECT_EQ(s.NewRow(stuck), -1);
    EXPECT_EQ(s.RowCount(), 13u);
    // A fresh GUID but the only name the source gives is taken.
    LMShades t;
    ASSERT_EQ(t.AddOrUpdate(UserRow(kUserGuid, L"shade#00000", 0, "zzz")), 12);
    FakeRandom nameStuck({0x00});
    EXPECT_EQ(t.NewRow(nameStuck), -1);
    EXPECT_EQ(t.RowCount(), 13u);
}

TEST(LMShades, AssignAndCopyAreIndependent)
{
    LMShades a;
    a.AddOrUpdate(UserRow(kUserGuid, L"Mine", '#', "Min"));
    a.SetCustomColour(3, 0x123456);
    LMShades b(a);
    EXPECT_EQ(b.RowCount(), 13u);
    EXPECT_EQ(b.CustomColours()[3], 0x123456u);
    b.SetDefaults();
    EXPECT_EQ(a.RowCount(), 13u);
    a = b;
    EXPECT_EQ(a.RowCount(), 12u);
    EXPECT_TRUE(NClassInfo::IsA(&a, LMShades::ms_classDesc));
}
