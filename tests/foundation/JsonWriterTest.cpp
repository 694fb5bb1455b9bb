// Writing: layout, escapes, number text, refusal of what cannot be written.
#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/NjNumberText.h"
#include "foundation/Njv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

std::wstring Text(const Njv& v, bool pretty = false, bool escape = false)
{
    std::wstring out;
    EXPECT_TRUE(v.Write(out, pretty, escape));
    return out;
}

Njv Parsed(std::wstring_view text)
{
    Njv v;
    EXPECT_TRUE(v.ParseWhole(text));
    return v;
}

TEST(JsonWriter, InsertionOrderAndReplacementInPlace)
{
    Njv o = Njv::MakeObject();
    ASSERT_TRUE(o.SetMember(L"b", Njv::MakeNumber(1)));
    ASSERT_TRUE(o.SetMember(L"a", Njv::MakeNumber(2)));
    ASSERT_TRUE(o.SetMember(L"b", Njv::MakeNumber(3)));
    EXPECT_EQ(Text(o), L"{\"b\":3,\"a\":2}");
    std::vector<std::wstring> keys;
    ASSERT_TRUE(o.ListKeys(keys));
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"b", L"a"}));
    // Removed and set again: now last.
    ASSERT_TRUE(o.RemoveMember(L"b"));
    ASSERT_TRUE(o.SetMember(L"b", Njv::MakeNull()));
    EXPECT_EQ(Text(o), L"{\"a\":2,\"b\":null}");
}

TEST(JsonWriter, PrettyLayout)
{
    Njv o = Njv::MakeObject();
    ASSERT_TRUE(o.SetMember(L"k", Njv::MakeNumber(5)));
    EXPECT_EQ(Text(o, true), L"{\r\n    \"k\": 5\r\n}");
    EXPECT_EQ(Text(Njv::MakeObject(), true), L"{}");
    EXPECT_EQ(Text(Njv::MakeArray(), true), L"[\r\n]");

    Njv doc = Parsed(L"{\"a\":[1,{\"b\":[]},{}],\"c\":{\"d\":\"e\"}}");
    EXPECT_EQ(Text(doc, true),
              L"{\r\n"
              L"    \"a\": [\r\n"
              L"        1,\r\n"
              L"        {\r\n"
              L"            \"b\": [\r\n"
              L"            ]\r\n"
              L"        },\r\n"
              L"        {}\r\n"
              L"    ],\r\n"
              L"    \"c\": {\r\n"
              L"        \"d\": \"e\"\r\n"
              L"    }\r\n"
              L"}");
    EXPECT_EQ(Text(doc), L"{\"a\":[1,{\"b\":[]},{}],\"c\":{\"d\":\"e\"}}");
}

TEST(JsonWriter, StringEscapes)
{
    EXPECT_EQ(Text(Njv::MakeString(L"q\"b\\s/\b\f\n\r\t")), L"\"q\\\"b\\\\s/\\b\\f\\n\\r\\t\"");
    EXPECT_EQ(Text(Njv::MakeString(L"\x01\x1F")), L"\"\\u0001\\u001F\"");
    EXPECT_EQ(Text(Njv::MakeString(L"\x1F"), false, true), L"\"\\u001F\"");
    EXPECT_EQ(Text(Njv::MakeString(L"caf\u00e9")), L"\"caf\u00e9\"");
    EXPECT_EQ(Text(Njv::MakeString(L"caf\u00e9"), false, true), L"\"caf\\u00E9\"");
    EXPECT_EQ(Text(Njv::MakeString(L"\u20AC"), false, true), L"\"\\u20AC\"");
    EXPECT_EQ(Text(Njv::MakeString(std::wstring(1, L'\0'))), L"\"\\u0000\"");
}

TEST(JsonWriter, WhatTheParserRefusesRawIsEscapedAlways)
{
    // DEL and C1 controls: the parser rejects them raw, so they must never be written raw.
    std::wstring s = L"a";
    s.push_back(static_cast<wchar_t>(0x7F));
    s.push_back(static_cast<wchar_t>(0x85));
    s.push_back(static_cast<wchar_t>(0x9F));
    s.push_back(static_cast<wchar_t>(0xA0));
    const std::wstring out = Text(Njv::MakeString(s));
    EXPECT_EQ(out, std::wstring(L"\"a\\u007F\\u0085\\u009F") + static_cast<wchar_t>(0xA0) + L"\"");
    std::wstring back;
    ASSERT_TRUE(Parsed(out).GetString(back));
    EXPECT_EQ(back, s);
}

TEST(JsonWriter, SurrogatesPairedRawLoneEscaped)
{
    std::wstring pair;
    pair.push_back(static_cast<wchar_t>(0xD83D));
    pair.push_back(static_cast<wchar_t>(0xDE00));
    EXPECT_EQ(Text(Njv::MakeString(pair)), L"\"" + pair + L"\"");
    EXPECT_EQ(Text(Njv::MakeString(pair), false, true), L"\"\\uD83D\\uDE00\"");
    std::wstring lone;
    lone.push_back(static_cast<wchar_t>(0xDE00));
    lone.push_back(L'x');
    lone.push_back(static_cast<wchar_t>(0xD83D));
    EXPECT_EQ(Text(Njv::MakeString(lone)), L"\"\\uDE00x\\uD83D\"");
}

TEST(JsonWriter, NumbersShortestFormTiesToPlain)
{
    EXPECT_EQ(NjNumberText(0), L"0");
    EXPECT_EQ(NjNumberText(-0.0), L"-0");
    EXPECT_EQ(NjNumberText(1), L"1");
    EXPECT_EQ(NjNumberText(-500), L"-500");
    EXPECT_EQ(NjNumberText(100), L"100");  // "1e2" is no shorter
    EXPECT_EQ(NjNumberText(1000), L"1e3");
    EXPECT_EQ(NjNumberText(255), L"255");
    EXPECT_EQ(NjNumberText(0.1), L"0.1");
    EXPECT_EQ(NjNumberText(0.01), L"0.01");
    EXPECT_EQ(NjNumberText(0.001), L"1e-3");
    EXPECT_EQ(NjNumberText(0.0001), L"1e-4");
    EXPECT_EQ(NjNumberText(1.5e-7), L"1.5e-7");
    EXPECT_EQ(NjNumberText(123456.789), L"123456.789");
    EXPECT_EQ(NjNumberText(1e21), L"1e21");
    EXPECT_EQ(NjNumberText(0.1 + 0.2), L"0.30000000000000004");
    EXPECT_EQ(NjNumberText(5e-324), L"5e-324");
    EXPECT_EQ(NjNumberText(1.7976931348623157e308), L"1.7976931348623157e308");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(NjNumberText(nan), L"Nan");
    EXPECT_EQ(NjNumberText(-nan), L"-Nan");
    EXPECT_EQ(NjNumberText(std::numeric_limits<double>::infinity()), L"Inf");
    EXPECT_EQ(NjNumberText(-std::numeric_limits<double>::infinity()), L"-Inf");
}

TEST(JsonWriter, NumbersReadBackExactly)
{
    // Awkward doubles across the range: every one must survive write and parse.
    uint64_t bits = 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 20000; ++i) {
        bits ^= bits << 13;
        bits ^= bits >> 7;
        bits ^= bits << 17;
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d))
            continue;
        double back = 0;
        ASSERT_TRUE(Parsed(NjNumberText(d)).GetNumber(back)) << bits;
        ASSERT_EQ(std::memcmp(&d, &back, sizeof d), 0) << bits;
    }
}

TEST(JsonWriter, SelfContainmentIsRefused)
{
    Njv a = Njv::MakeArray();
    ASSERT_TRUE(a.Append(Njv::MakeNumber(1)));
    ASSERT_TRUE(a.Append(a));
    std::wstring out = L"keep";
    NSetLastError(0);
    EXPECT_FALSE(a.Write(out, false));
    EXPECT_EQ(NGetLastError(), nerr::kInvalidData);
    EXPECT_EQ(out, L"keep");  // nothing half-written
    EXPECT_FALSE(a.Write(out, true));

    // Through an object further down.
    Njv o = Njv::MakeObject();
    Njv inner = Njv::MakeArray();
    ASSERT_TRUE(o.SetMember(L"x", inner));
    ASSERT_TRUE(inner.Append(o));
    EXPECT_FALSE(o.Write(out, false));
    // Break the cycles so the test leaks nothing.
    ASSERT_TRUE(a.Clear());
    ASSERT_TRUE(inner.Clear());

    // The same array twice side by side is no cycle.
    Njv shared = Njv::MakeArray();
    Njv twice = Njv::MakeArray();
    ASSERT_TRUE(twice.Append(shared));
    ASSERT_TRUE(twice.Append(shared));
    EXPECT_EQ(Text(twice), L"[[],[]]");
}

TEST(JsonWriter, TooDeepTreesAreRefusedNotOverflowed)
{
    // Built by program rather than parsed: nothing stopped it growing past the limit.
    Njv root = Njv::MakeArray();
    Njv cur = root;
    for (int i = 0; i < 100000; ++i) {
        Njv next = Njv::MakeArray();
        ASSERT_TRUE(cur.Append(next));
        cur = next;
    }
    std::wstring out;
    EXPECT_FALSE(root.Write(out, true));
    EXPECT_TRUE(out.empty());
    Njv other = root;
    EXPECT_TRUE(root.Equals(other));
    // Dropping it must not recurse per level either (the test ends here).
}

TEST(JsonWriter, UndefinedHasNoText)
{
    std::wstring out;
    EXPECT_FALSE(Njv().Write(out, false));
    EXPECT_EQ(Text(Njv::MakeBool(true)), L"true");
    EXPECT_EQ(Text(Njv::MakeBool(false)), L"false");
    EXPECT_EQ(Text(Njv::MakeNull()), L"null");
    EXPECT_EQ(Text(Njv::MakeNumber(2), true), L"2");
}

}  // namespace
