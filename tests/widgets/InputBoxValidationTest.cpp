#include "widgets/InputBoxValidation.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {
using V = InputBoxValidation;

void ExpectRefused(const V& v, const std::wstring& text, const std::wstring& message)
{
    const V::SResult r = v.Validate(text);
    EXPECT_FALSE(r.passed) << "text: " << std::string(text.begin(), text.end());
    EXPECT_EQ(r.message, message) << "text: " << std::string(text.begin(), text.end());
}

void ExpectPassed(const V& v, const std::wstring& text)
{
    const V::SResult r = v.Validate(text);
    EXPECT_TRUE(r.passed) << "text: " << std::string(text.begin(), text.end());
    EXPECT_TRUE(r.message.empty());
}
}  // namespace

TEST(InputBoxValidation, NoneAcceptsAnything)
{
    V v;
    EXPECT_EQ(v.Kind(), V::kNone);
    ExpectPassed(v, L"");
    ExpectPassed(v, L"anything");
}

TEST(InputBoxValidation, AcceptCallbackDecidesAndThrowingRefuses)
{
    V v = V::Accept([](const std::wstring& t) { return t == L"yes"; });
    EXPECT_EQ(v.Kind(), 1);
    ExpectPassed(v, L"yes");
    ExpectRefused(v, L"no", L"Invalid entry");
    V thrower = V::Accept([](const std::wstring&) -> bool { throw std::runtime_error("x"); });
    ExpectRefused(thrower, L"a", L"Invalid entry");
    ExpectPassed(V::Accept(nullptr), L"a");
}

TEST(InputBoxValidation, MessageCallbackGivesItsOwnText)
{
    V v = V::Message([](const std::wstring& t) { return t.size() > 3 ? std::wstring(L"Too long, keep it short") : L""; });
    EXPECT_EQ(v.Kind(), 2);
    ExpectPassed(v, L"abc");
    ExpectRefused(v, L"abcd", L"Too long, keep it short");
    V thrower = V::Message([](const std::wstring&) -> std::wstring { throw 1; });
    ExpectRefused(thrower, L"a", L"Invalid entry");
}

TEST(InputBoxValidation, HintNeverRefuses)
{
    V v = V::Hint([](const std::wstring& t) { return L"Length " + std::to_wstring(t.size()); });
    EXPECT_EQ(v.Kind(), 3);
    for (const wchar_t* text : {L"", L"x", L"a much longer text"}) {
        const V::SResult r = v.Validate(text);
        EXPECT_TRUE(r.passed);
        EXPECT_EQ(r.message, L"Length " + std::to_wstring(std::wstring(text).size()));
    }
    const V::SResult r = V::Hint([](const std::wstring&) -> std::wstring { throw 1; }).Validate(L"a");
    EXPECT_TRUE(r.passed);
}

TEST(InputBoxValidation, NotEmptyWithAndWithoutTrim)
{
    V trim = V::NotEmpty(true);
    EXPECT_EQ(trim.Kind(), 4);
    ExpectRefused(trim, L"", L"Entry is empty");
    ExpectRefused(trim, L" \t\r\n", L"Entry is empty");
    ExpectPassed(trim, L" a ");
    EXPECT_EQ(trim.Accepted(L"  a b \t"), L"a b");
    V raw = V::NotEmpty(false);
    ExpectRefused(raw, L"", L"Entry is empty");
    ExpectPassed(raw, L"  ");
    EXPECT_EQ(raw.Accepted(L" a "), L" a ");
}

TEST(InputBoxValidation, IntegerRangeEdges)
{
    V v = V::IntegerRange(50, 3000000);
    EXPECT_EQ(v.Kind(), 5);
    ExpectRefused(v, L"49", L"Value too small");
    ExpectPassed(v, L"50");
    ExpectPassed(v, L"3000000");
    ExpectRefused(v, L"3000001", L"Value too large");
    ExpectRefused(v, L"12a", L"Not an integer");
    ExpectRefused(v, L"", L"Not an integer");
    ExpectRefused(v, L"-", L"Not an integer");
    ExpectRefused(v, L"1 000", L"Not an integer");
    ExpectRefused(v, L"1.0", L"Not an integer");
    ExpectRefused(v, L"0x100", L"Not an integer");
    ExpectRefused(v, L"-7", L"Value too small");
    ExpectPassed(v, L" 115200 ");
    ExpectPassed(v, L"+115200");
    // Beyond 64 bits is still a number, just too large or too small.
    ExpectRefused(v, L"99999999999999999999999", L"Value too large");
    ExpectRefused(v, L"-99999999999999999999999", L"Value too small");
}

TEST(InputBoxValidation, IntegerRangeAtTheLimitsOf64Bits)
{
    V full = V::IntegerRange(INT64_MIN, INT64_MAX);
    ExpectPassed(full, L"9223372036854775807");
    ExpectPassed(full, L"-9223372036854775808");
    ExpectRefused(full, L"9223372036854775808", L"Value too large");
    ExpectRefused(full, L"-9223372036854775809", L"Value too small");
    // The minimum is tested first, so an empty range reports "too small".
    ExpectRefused(V::IntegerRange(10, 5), L"7", L"Value too small");
}

TEST(InputBoxValidation, NumberRange)
{
    V v = V::NumberRange(-1.5, 2.25);
    EXPECT_EQ(v.Kind(), 6);
    ExpectPassed(v, L"-1.5");
    ExpectPassed(v, L"2.25");
    ExpectPassed(v, L"0");
    ExpectPassed(v, L".5");
    ExpectPassed(v, L"1.");
    ExpectPassed(v, L" +2e0 ");
    ExpectPassed(v, L"225E-2");
    ExpectRefused(v, L"-1.5000001", L"Value too small");
    ExpectRefused(v, L"2.2500001", L"Value too large");
    for (const wchar_t* bad : {L"", L".", L"e5", L"1e", L"1e+", L"abc", L"1,5", L"nan", L"inf", L"-infinity",
                               L"0x1p3", L"1.2.3", L"--1"})
        ExpectRefused(v, bad, L"Not a number");
    ExpectRefused(v, L"1e400", L"Value too large");
    ExpectRefused(v, L"-1e400", L"Value too small");
    ExpectPassed(v, L"1e-400");  // underflows to zero, which is in range
    ExpectRefused(V::NumberRange(1.0, 2.0), L"1e-400", L"Value too small");
}

TEST(InputBoxValidation, UniqueListCases)
{
    V v = V::Unique({L"A", L"B"}, false, false, false);
    EXPECT_EQ(v.Kind(), 7);
    ExpectRefused(v, L"b", L"Entry already used");
    ExpectRefused(v, L"A", L"Entry already used");
    ExpectRefused(v, L"", L"Entry is empty");
    ExpectPassed(v, L"C");
    ExpectPassed(v, L"AB");
    ExpectPassed(v, L" A");  // not trimmed

    V sensitive = V::Unique({L"A", L"B"}, false, true, false);
    ExpectPassed(sensitive, L"b");
    ExpectRefused(sensitive, L"B", L"Entry already used");

    V trimmed = V::Unique({L"A", L"B"}, true, false, false);
    ExpectRefused(trimmed, L"  a\t", L"Entry already used");
    ExpectRefused(trimmed, L"   ", L"Entry is empty");
    EXPECT_EQ(trimmed.Accepted(L" New "), L"New");

    V allowEmpty = V::Unique({L"A"}, true, false, true);
    ExpectPassed(allowEmpty, L"");
    ExpectPassed(allowEmpty, L"  ");
    ExpectRefused(V::Unique({L""}, false, false, true), L"", L"Entry already used");
}

TEST(InputBoxValidation, UniqueFoldsCaseBeyondAscii)
{
    V v = V::Unique({L"\u00C9t\u00E9", L"\u0414\u0430", L"\u0141\u00F3d\u017A"}, false, false, false);
    ExpectRefused(v, L"\u00E9T\u00C9", L"Entry already used");  // Été
    ExpectRefused(v, L"\u0434\u0410", L"Entry already used");   // Cyrillic
    ExpectRefused(v, L"\u0142\u00D3D\u0179", L"Entry already used");  // Polish
    ExpectPassed(v, L"ete");
}
