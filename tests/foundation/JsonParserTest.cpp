// Parsing: the grammar's edges, malformed input and the limits.
#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/Njv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>

namespace {

Njv ParseOk(std::wstring_view text)
{
    Njv v;
    EXPECT_TRUE(v.Parse(text)) << std::string(text.begin(), text.end());
    return v;
}

void ExpectFails(std::wstring_view text)
{
    Njv v = Njv::MakeNumber(7);  // a failed parse must not leave the old value behind
    NSetLastError(0);
    EXPECT_FALSE(v.ParseWhole(text)) << std::string(text.begin(), text.end());
    EXPECT_TRUE(v.IsUndefined());
    EXPECT_NE(NGetLastError(), 0u);
}

TEST(JsonParser, MixedArrayOfFiveValues)
{
    Njv v = ParseOk(L"[1, -0.5e+3, true, null, {}]");
    ASSERT_TRUE(v.IsArray());
    ASSERT_EQ(v.Count(), 5u);
    Njv e;
    double d = 0;
    ASSERT_TRUE(v.GetAt(0, e));
    ASSERT_TRUE(e.GetNumber(d));
    EXPECT_EQ(d, 1.0);
    ASSERT_TRUE(v.GetAt(1, e));
    ASSERT_TRUE(e.GetNumber(d));
    EXPECT_EQ(d, -500.0);
    ASSERT_TRUE(v.GetAt(2, e));
    bool b = false;
    ASSERT_TRUE(e.GetBool(b));
    EXPECT_TRUE(b);
    ASSERT_TRUE(v.GetAt(3, e));
    EXPECT_TRUE(e.IsNull());
    ASSERT_TRUE(v.GetAt(-1, e));
    EXPECT_TRUE(e.IsObject());
    EXPECT_EQ(e.Count(), 0u);
}

TEST(JsonParser, StringEscapes)
{
    std::wstring s;
    ASSERT_TRUE(ParseOk(L"\"\\u0041\\/\"").GetString(s));
    EXPECT_EQ(s, L"A/");
    ASSERT_TRUE(ParseOk(L"\"\\\"\\\\\\b\\f\\n\\r\\t\"").GetString(s));
    EXPECT_EQ(s, L"\"\\\b\f\n\r\t");
    ASSERT_TRUE(ParseOk(L"\"\\u00e9\\u00E9\\uD83D\\uDE00\"").GetString(s));
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0], 0xE9);
    EXPECT_EQ(s[1], 0xE9);
    EXPECT_EQ(static_cast<uint32_t>(s[2]), 0xD83Du);
    EXPECT_EQ(static_cast<uint32_t>(s[3]), 0xDE00u);
    // A lone surrogate is kept as it stands.
    ASSERT_TRUE(ParseOk(L"\"\\uDC00\"").GetString(s));
    EXPECT_EQ(static_cast<uint32_t>(s[0]), 0xDC00u);
    // Any other escaped character stands for itself.
    ASSERT_TRUE(ParseOk(L"\"\\q\"").GetString(s));
    EXPECT_EQ(s, L"q");
}

TEST(JsonParser, RawControlCharactersInStrings)
{
    ExpectFails(L"\"a\tb\"");
    ExpectFails(L"\"a\nb\"");
    ExpectFails(L"\"a\x7F\"");
    ExpectFails(L"\"a\x85\"");
    std::wstring s;
    ASSERT_TRUE(ParseOk(L"\"a\\tb\"").GetString(s));
    EXPECT_EQ(s, L"a\tb");
}

TEST(JsonParser, StrictNumberGrammar)
{
    for (const wchar_t* bad : {L"01", L"+1", L"1.", L".5", L"1e", L"1e+", L"-", L"-a", L"00", L"-01", L"1.e5",
                               L"0x10", L"Inf", L"NaN", L"-Inf", L"infinity", L"1,5"})
        ExpectFails(bad);
    double d = 0;
    ASSERT_TRUE(ParseOk(L"-0").GetNumber(d));
    EXPECT_TRUE(std::signbit(d));
    ASSERT_TRUE(ParseOk(L"0.25E-2").GetNumber(d));
    EXPECT_EQ(d, 0.0025);
    ASSERT_TRUE(ParseOk(L"1E+2").GetNumber(d));
    EXPECT_EQ(d, 100.0);
    ASSERT_TRUE(ParseOk(L"0e0").GetNumber(d));
    EXPECT_EQ(d, 0.0);
}

TEST(JsonParser, NumbersOutOfRangeFailAndSubnormalsRead)
{
    ExpectFails(L"1e309");
    ExpectFails(L"-1e400");
    ExpectFails(L"1e-400");  // would silently read as 0
    ExpectFails(std::wstring(4097, L'1'));
    double d = 0;
    ASSERT_TRUE(ParseOk(std::wstring(4096, L'1').substr(0, 300)).GetNumber(d));
    ASSERT_TRUE(ParseOk(L"5e-324").GetNumber(d));  // the writer produces this; it must read back
    EXPECT_GT(d, 0.0);
    ASSERT_TRUE(ParseOk(L"1.7976931348623157e308").GetNumber(d));
    ASSERT_TRUE(ParseOk(L"0.000e-999").GetNumber(d));
    EXPECT_EQ(d, 0.0);
    // A long number within the limit still converts exactly.
    std::wstring longZeros = L"0." + std::wstring(4000, L'0') + L"1e4000";
    ASSERT_TRUE(ParseOk(longZeros).GetNumber(d));
    EXPECT_EQ(d, 0.1);
}

TEST(JsonParser, OutOfRangeNumberLeavesCursorAtItsStart)
{
    const std::wstring text = L"[1, 1e999]";
    size_t used = 0;
    Njv v;
    EXPECT_FALSE(v.Parse(text, &used));
    EXPECT_EQ(used, 4u);
}

TEST(JsonParser, WrongNesting)
{
    for (const wchar_t* bad : {L"[1,]", L"{1:2}", L"{\"a\":1,}", L"[1 2]", L"{\"a\" 1}", L"{\"a\":}", L"[", L"]",
                               L"{", L"}", L"[}", L"{]", L"[[1]", L"{\"a\":[}", L"[,1]", L"{,}", L"[1,,2]",
                               L"{\"a\":1 \"b\":2}", L"{[1]:2}", L"{null:1}", L"{\"a\"}"})
        ExpectFails(bad);
}

TEST(JsonParser, TruncatedDocumentsFailAtEveryLength)
{
    const std::wstring doc = L"{\"Rows\": [{\"Name\": \"Info\\u00e9\", \"Fore\": -12.5e-1}, [true, false, null]]}";
    for (size_t n = 0; n < doc.size(); ++n)
        ExpectFails(doc.substr(0, n));
    ParseOk(doc);
}

TEST(JsonParser, WordsMustBeSpelledOut)
{
    for (const wchar_t* bad : {L"tru", L"True", L"nul", L"fals", L"t", L"nulll", L"[truex]"})
        ExpectFails(bad);
}

TEST(JsonParser, NulCharacter)
{
    ExpectFails(std::wstring(L"\0", 1));
    ExpectFails(std::wstring(L"[\0]", 3));
    ExpectFails(std::wstring(L"\"a\0b\"", 5));
    ExpectFails(std::wstring(L"\"a\\\0\"", 5));
    ExpectFails(std::wstring(L"{\"a\":\0}", 7));
    // After the value nothing is examined: a NUL terminator there is the caller's business.
    Njv v;
    size_t used = 0;
    ASSERT_TRUE(v.Parse(std::wstring(L"[1]\0junk", 8), &used));
    EXPECT_EQ(used, 3u);
}

TEST(JsonParser, BadEscapes)
{
    for (const wchar_t* bad : {L"\"\\u12\"", L"\"\\u12G4\"", L"\"\\u\"", L"\"\\", L"\"\\u00", L"\"abc",
                               L"\"\\\t\""})
        ExpectFails(bad);
}

TEST(JsonParser, CursorStopsJustAfterTheValue)
{
    const std::wstring text = L"  \t\r\n{\"a\": 1}  tail";
    const wchar_t* cursor = text.c_str();
    Njv v;
    ASSERT_TRUE(v.Parse(cursor, text.c_str() + text.size()));
    EXPECT_EQ(cursor - text.c_str(), 13);
    ExpectFails(L"{\"a\": 1}  tail");  // the whole-document form refuses what follows
    EXPECT_TRUE(Njv().ParseWhole(L" {\"a\": 1} \r\n"));
}

TEST(JsonParser, DuplicateKeyKeepsFirstPlaceAndLastValue)
{
    Njv v = ParseOk(L"{\"b\":1,\"a\":2,\"b\":3}");
    std::wstring out;
    ASSERT_TRUE(v.Write(out, false));
    EXPECT_EQ(out, L"{\"b\":3,\"a\":2}");
}

std::wstring Nested(size_t depth, wchar_t open, wchar_t close)
{
    return std::wstring(depth, open) + std::wstring(depth, close);
}

TEST(JsonParser, DeepNestingFailsCleanly)
{
    // Half a million opening brackets: a parser recursing per level without a limit
    // would overflow the stack here.
    ExpectFails(std::wstring(500000, L'['));
    ExpectFails(Nested(500000, L'[', L']'));
    std::wstring objects;
    for (int i = 0; i < 200000; ++i)
        objects += L"{\"a\":";
    ExpectFails(objects);
    ExpectFails(Nested(kNjMaxDepth + 1, L'[', L']'));
}

TEST(JsonParser, NestingUpToTheLimitWorksOnASmallThreadStack)
{
    // The limit must be safe where the stack is smallest: run on a second thread
    // (its stack is no bigger than the main thread's under Win32) and do the recursive
    // operations — parse, write, compare — at the deepest allowed level.
    bool ok = false;
    std::thread worker([&ok] {
        const std::wstring text = Nested(kNjMaxDepth, L'[', L']');
        Njv a, b;
        std::wstring out;
        ok = a.Parse(text) && b.Parse(text) && a.Write(out, true) && a.Equals(b);
        Njv back;
        ok = ok && back.ParseWhole(out) && back.Equals(a);
        std::wstring compact;
        ok = ok && a.Write(compact, false) && compact == text;
    });
    worker.join();
    EXPECT_TRUE(ok);
}

}  // namespace
