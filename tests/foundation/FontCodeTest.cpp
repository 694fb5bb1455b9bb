#include "foundation/FontCode.h"

#include "foundation/ErrorCodes.h"
#include "foundation/LastError.h"

#include <gtest/gtest.h>

namespace {
NFontSpec Decode(std::wstring_view code)
{
    NFontSpec spec;
    EXPECT_TRUE(NDecodeFontCode(code, spec)) << std::string(code.begin(), code.end());
    return spec;
}
}  // namespace

TEST(FontCode, DefaultCodeDecodesAndEncodesUnchanged)
{
    const NFontSpec spec = Decode(L"Consolas,10");
    EXPECT_EQ(spec.faceName, L"Consolas");
    EXPECT_EQ(spec.pointSize, 10);
    EXPECT_EQ(spec.weight, 400u);
    EXPECT_FALSE(spec.italic || spec.underline || spec.strikeOut);
    EXPECT_EQ(NEncodeFontCode(spec), L"Consolas,10");
}

TEST(FontCode, StylesWeightsAndSizes)
{
    NFontSpec s = Decode(L"  Courier New \t, 9.5 , I U\tS B ");
    EXPECT_EQ(s.faceName, L"Courier New");
    EXPECT_DOUBLE_EQ(s.pointSize, 9.5);
    EXPECT_TRUE(s.italic && s.underline && s.strikeOut);
    EXPECT_EQ(s.weight, 700u);
    EXPECT_EQ(NEncodeFontCode(s), L"Courier New,9.5,IUSB");

    EXPECT_EQ(Decode(L"A,10,W600").weight, 600u);
    EXPECT_EQ(Decode(L"A,10,W 1 0 0 0").weight, 1000u);  // white space is ignored everywhere in the styles
    EXPECT_EQ(Decode(L"A,10,W0").weight, 0u);
    EXPECT_EQ(Decode(L"A,10,W0700").weight, 700u);
    EXPECT_EQ(Decode(L"A,10,BN").weight, 400u);        // the later letter wins
    EXPECT_EQ(Decode(L"A,10,W300B").weight, 700u);
    EXPECT_EQ(Decode(L"A,10,").weight, 400u);          // an empty style part is no style
    EXPECT_DOUBLE_EQ(Decode(L"A,.5").pointSize, 0.5);
    EXPECT_DOUBLE_EQ(Decode(L"A,12.").pointSize, 12);
    EXPECT_DOUBLE_EQ(Decode(L"A,10.125").pointSize, 10.13);
    EXPECT_DOUBLE_EQ(Decode(L"A,1638").pointSize, 1638);
    EXPECT_EQ(Decode(std::wstring(31, L'x') + L",8").faceName.size(), 31u);
}

TEST(FontCode, EncodingWritesOnlyWhatDiffersFromNormal)
{
    NFontSpec s;
    s.faceName = L"Lucida Console";
    s.pointSize = 10.25;
    EXPECT_EQ(NEncodeFontCode(s), L"Lucida Console,10.25");
    s.weight = 0;  // "don't care" has no code and reads back as normal
    EXPECT_EQ(NEncodeFontCode(s), L"Lucida Console,10.25");
    s.weight = 1001;
    EXPECT_EQ(NEncodeFontCode(s), L"Lucida Console,10.25");
    s.weight = 1;
    EXPECT_EQ(NEncodeFontCode(s), L"Lucida Console,10.25,W1");
    s.weight = 700;
    s.underline = true;
    s.pointSize = 8.1;
    EXPECT_EQ(NEncodeFontCode(s), L"Lucida Console,8.1,UB");
    s.pointSize = 8.999;
    EXPECT_EQ(NEncodeFontCode(s), L"Lucida Console,9,UB");
}

TEST(FontCode, InvalidCodesAreRefusedAndLeaveTheSpecAlone)
{
    for (const wchar_t* bad :
         {L"", L"Consolas", L"Consolas,", L",10", L"   ,10", L"Consolas,10,B,x", L"Consolas,10,b", L"Consolas,10,X",
          L"Consolas,10,W", L"Consolas,10,W1001", L"Consolas,10,W12345", L"Consolas,0", L"Consolas,0.001",
          L"Consolas,-10", L"Consolas,+10", L"Consolas,1e2", L"Consolas,10.5.5", L"Consolas,1 0", L"Consolas,.",
          L"Consolas,1638.01", L"Consolas,99999999999999999999", L"Consolas,10,B2"}) {
        NFontSpec spec;
        spec.faceName = L"keep";
        NSetLastError(0);
        EXPECT_FALSE(NDecodeFontCode(bad, spec)) << std::wstring(bad).size();
        EXPECT_EQ(spec.faceName, L"keep");
        EXPECT_EQ(NGetLastError(), nerr::kInvalidData);
    }
    NFontSpec spec;
    EXPECT_FALSE(NDecodeFontCode(std::wstring(32, L'x') + L",8", spec));
}

TEST(FontCode, DecodedCodesReEncodeStably)
{
    for (const wchar_t* code : {L"Consolas,10", L"X,7.25,SIW250", L" Arial ,  0.01 ,N", L"Fixedsys,12,UUUW999"}) {
        const NFontSpec first = Decode(code);
        const std::wstring encoded = NEncodeFontCode(first);
        const NFontSpec second = Decode(encoded);
        EXPECT_EQ(NEncodeFontCode(second), encoded);
        EXPECT_EQ(second.faceName, first.faceName);
        EXPECT_EQ(second.pointSize, first.pointSize);
        EXPECT_EQ(second.weight, first.weight);
    }
}
