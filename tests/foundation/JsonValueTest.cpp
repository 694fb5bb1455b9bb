// Values: holders, array and object operations, equality, class identity.
#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"
#include "foundation/Njv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

std::wstring Compact(const Njv& v)
{
    std::wstring out;
    EXPECT_TRUE(v.Write(out, false));
    return out;
}

Njv Parsed(std::wstring_view text)
{
    Njv v;
    EXPECT_TRUE(v.ParseWhole(text));
    return v;
}

TEST(JsonValue, TypeCodesAndCounts)
{
    EXPECT_EQ(Njv().Type(), -1);
    EXPECT_EQ(Njv::MakeNull().Type(), 0);
    EXPECT_EQ(Njv::MakeBool(false).Type(), 1);
    EXPECT_EQ(Njv::MakeNumber(1).Type(), 2);
    EXPECT_EQ(Njv::MakeString(L"abc").Type(), 3);
    EXPECT_EQ(Njv::MakeArray().Type(), 4);
    EXPECT_EQ(Njv::MakeObject().Type(), 5);
    EXPECT_EQ(Njv::MakeString(L"abc").Count(), 3u);
    EXPECT_EQ(Njv::MakeNumber(1).Count(), 0u);
    EXPECT_EQ(Parsed(L"{\"a\":1,\"b\":2}").Count(), 2u);
}

TEST(JsonValue, WrongKindOperationsFailWithoutHarm)
{
    Njv n = Njv::MakeNumber(3);
    Njv out = Njv::MakeString(L"kept");
    std::wstring s;
    bool b = true;
    EXPECT_FALSE(n.GetString(s));
    EXPECT_FALSE(n.GetBool(b));
    EXPECT_FALSE(n.Append(n));
    EXPECT_FALSE(n.SetMember(L"a", n));
    EXPECT_FALSE(n.GetMember(L"a", out));
    EXPECT_FALSE(n.GetAt(0, out));
    EXPECT_FALSE(n.Clear());
    EXPECT_FALSE(Njv::MakeArray().SetMember(L"a", n));
    EXPECT_FALSE(Njv::MakeObject().Append(n));
    EXPECT_TRUE(out.GetString(s));
    EXPECT_EQ(s, L"kept");
    double d = 0;
    EXPECT_TRUE(n.GetNumber(d));
    EXPECT_EQ(d, 3);
}

TEST(JsonValue, ArrayIndexing)
{
    Njv a = Parsed(L"[10,20,30]");
    Njv e = Njv::MakeString(L"untouched");
    EXPECT_FALSE(a.GetAt(3, e));
    EXPECT_FALSE(a.GetAt(-4, e));
    EXPECT_TRUE(e.IsString());  // an index outside leaves the holder alone
    ASSERT_TRUE(a.GetAt(-3, e));
    EXPECT_EQ(Compact(e), L"10");

    ASSERT_TRUE(a.SetAt(-1, Njv::MakeNumber(33)));
    ASSERT_TRUE(a.SetAt(5, Njv::MakeBool(true)));  // grows, the gap reads null
    EXPECT_EQ(Compact(a), L"[10,20,33,null,null,true]");
    EXPECT_FALSE(a.SetAt(-7, Njv::MakeNull()));

    ASSERT_TRUE(a.InsertAt(0, Njv::MakeNumber(0)));
    ASSERT_TRUE(a.InsertAt(a.Count(), Njv::MakeNumber(9)));
    ASSERT_TRUE(a.InsertAt(-1, Njv::MakeNumber(8)));
    EXPECT_FALSE(a.InsertAt(100, Njv::MakeNumber(1)));
    EXPECT_EQ(Compact(a), L"[0,10,20,33,null,null,true,8,9]");

    ASSERT_TRUE(a.RemoveRange(3, 3));
    EXPECT_EQ(Compact(a), L"[0,10,20,true,8,9]");
    ASSERT_TRUE(a.RemoveRange(4, 100));
    EXPECT_EQ(Compact(a), L"[0,10,20,true]");
    EXPECT_FALSE(a.RemoveRange(4, 1));
    ASSERT_TRUE(a.Clear());
    EXPECT_EQ(a.Count(), 0u);
}

TEST(JsonValue, ArraysAcrossSegments)
{
    Njv a = Njv::MakeArray();
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(a.Append(Njv::MakeNumber(i)));
    ASSERT_TRUE(a.RemoveRange(100, 300));
    ASSERT_TRUE(a.InsertAt(255, Njv::MakeString(L"x")));
    ASSERT_EQ(a.Count(), 701u);
    Njv e;
    double d = 0;
    ASSERT_TRUE(a.GetAt(256, e));
    ASSERT_TRUE(e.GetNumber(d));
    EXPECT_EQ(d, 555);
    ASSERT_TRUE(a.GetAt(-1, e));
    ASSERT_TRUE(e.GetNumber(d));
    EXPECT_EQ(d, 999);
}

TEST(JsonValue, UndefinedIsNeverStored)
{
    Njv a = Njv::MakeArray();
    Njv o = Njv::MakeObject();
    EXPECT_FALSE(a.Append(Njv()));
    EXPECT_FALSE(a.SetAt(0, Njv()));
    EXPECT_FALSE(a.InsertAt(0, Njv()));
    EXPECT_FALSE(o.SetMember(L"a", Njv()));
    EXPECT_EQ(NGetLastError(), nerr::kInvalidParameter);
    EXPECT_EQ(a.Count() + o.Count(), 0u);
}

TEST(JsonValue, ObjectMembers)
{
    Njv o = Parsed(L"{\"Name\":\"Info\",\"name\":\"other\",\"N\":1}");
    EXPECT_TRUE(o.HasMember(L"Name"));
    EXPECT_FALSE(o.HasMember(L"NAME"));
    Njv v;
    std::wstring s;
    ASSERT_TRUE(o.GetMember(L"name", v));
    ASSERT_TRUE(v.GetString(s));
    EXPECT_EQ(s, L"other");
    ASSERT_TRUE(o.TakeMember(L"Name", v));
    EXPECT_EQ(Compact(v), L"\"Info\"");
    EXPECT_FALSE(o.TakeMember(L"Name", v));
    EXPECT_FALSE(o.RemoveMember(L"Name"));
    EXPECT_EQ(Compact(o), L"{\"name\":\"other\",\"N\":1}");

    std::vector<std::wstring> seen;
    ASSERT_TRUE(o.ForEachMember([&](const std::wstring& key, const Njv& value) {
        seen.push_back(key);
        return false;  // stop after the first
    }));
    EXPECT_EQ(seen, std::vector<std::wstring>{L"name"});
    // The visitor works on a snapshot: changing the object inside it is safe.
    ASSERT_TRUE(o.ForEachMember([&](const std::wstring& key, const Njv&) { return o.RemoveMember(key); }));
    EXPECT_EQ(o.Count(), 0u);

    // Long keys (heap keys) and the empty key.
    const std::wstring longKey(300, L'k');
    ASSERT_TRUE(o.SetMember(longKey, Njv::MakeNumber(1)));
    ASSERT_TRUE(o.SetMember(L"", Njv::MakeNumber(2)));
    EXPECT_TRUE(o.HasMember(longKey));
    EXPECT_EQ(Compact(o), L"{\"" + longKey + L"\":1,\"\":2}");
}

TEST(JsonValue, SharingAndCopying)
{
    Njv a = Njv::MakeArray();
    Njv b = a;  // shares the array
    ASSERT_TRUE(b.Append(Njv::MakeNumber(1)));
    EXPECT_EQ(a.Count(), 1u);
    Njv c = std::move(b);
    EXPECT_TRUE(b.IsUndefined());
    EXPECT_EQ(c.Count(), 1u);
    c = c;
    EXPECT_EQ(c.Count(), 1u);
    // A holder inside an array assigned from the array's own element.
    ASSERT_TRUE(a.GetAt(0, a));
    EXPECT_TRUE(a.IsNumber());
    EXPECT_EQ(c.Count(), 1u);
}

TEST(JsonValue, Equality)
{
    EXPECT_TRUE(Parsed(L"[1,\"a\",{\"x\":[true,null]}]").Equals(Parsed(L"[1, \"a\", {\"x\": [true, null]}]")));
    EXPECT_TRUE(Parsed(L"{\"a\":1,\"b\":2}").Equals(Parsed(L"{\"b\":2,\"a\":1}")));
    EXPECT_FALSE(Parsed(L"{\"a\":1,\"b\":2}").Equals(Parsed(L"{\"a\":1,\"c\":2}")));
    EXPECT_FALSE(Parsed(L"{\"a\":1}").Equals(Parsed(L"{\"a\":1,\"b\":2}")));
    EXPECT_FALSE(Parsed(L"[1,2]").Equals(Parsed(L"[2,1]")));
    EXPECT_FALSE(Parsed(L"[1]").Equals(Parsed(L"[1,1]")));
    EXPECT_FALSE(Parsed(L"\"ab\"").Equals(Parsed(L"\"abc\"")));
    EXPECT_FALSE(Parsed(L"1").Equals(Parsed(L"\"1\"")));
    EXPECT_FALSE(Parsed(L"0").Equals(Parsed(L"false")));
    EXPECT_FALSE(Parsed(L"null").Equals(Njv()));
    EXPECT_TRUE(Parsed(L"true").Equals(Njv::MakeBool(true)));
    EXPECT_TRUE(Njv::MakeNumber(0.0).Equals(Njv::MakeNumber(-0.0)));
    const Njv nan = Njv::MakeNumber(std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE(nan.Equals(nan));

    // Two distinct arrays that each hold themselves: compared to the depth limit, no further.
    Njv x = Njv::MakeArray();
    Njv y = Njv::MakeArray();
    ASSERT_TRUE(x.Append(x));
    ASSERT_TRUE(y.Append(y));
    EXPECT_FALSE(x.Equals(y));
    EXPECT_TRUE(x.Equals(x));
    x.Clear();
    y.Clear();
}

TEST(JsonValue, SharedInstancesAndClassIdentity)
{
    Njv t1 = Njv::MakeBool(true);
    Njv t2 = Parsed(L"true");
    EXPECT_EQ(NjBoo::Instance(true), NjBoo::Instance(true));
    EXPECT_NE(NjBoo::Instance(true), NjBoo::Instance(false));
    EXPECT_FALSE(NjBoo::Instance(true)->Release());  // not counted: never destroyed
    EXPECT_FALSE(NjNul::Instance()->Release());
    EXPECT_TRUE(t1.Equals(t2));

    NjArr* arr = new NjArr();
    EXPECT_TRUE(NClassInfo::IsA(arr, NjArr::ms_classDesc));
    EXPECT_TRUE(NClassInfo::IsA(arr, NjCom::ms_classDesc));
    EXPECT_TRUE(NClassInfo::IsA(arr, NjEle::ms_classDesc));
    EXPECT_FALSE(NClassInfo::IsA(arr, NjObj::ms_classDesc));
    EXPECT_FALSE(NClassInfo::IsA(NjNul::Instance(), NjCom::ms_classDesc));
    Njv holder = Njv::Adopt(arr);
    EXPECT_TRUE(NClassInfo::IsA(&holder, Njv::ms_classDesc));
    EXPECT_EQ(arr->RefCount(), 1u);
    {
        Njv second = holder;
        EXPECT_EQ(arr->RefCount(), 2u);
    }
    EXPECT_EQ(arr->RefCount(), 1u);
}

TEST(JsonValue, NullCursorIsRefused)
{
    Njv v = Njv::MakeNumber(1);
    const wchar_t* cursor = nullptr;
    EXPECT_FALSE(v.Parse(cursor, nullptr));
    EXPECT_TRUE(v.IsUndefined());
    EXPECT_FALSE(v.Parse(std::wstring_view()));
}

}  // namespace
