#include "widgets/InputNumberText.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(InputNumberText, IntegerValues)
{
    int64_t v = 0;
    EXPECT_EQ(ParseInputInteger(L"0", v), EInputNumber::kOk);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(ParseInputInteger(L"\t-0012 ", v), EInputNumber::kOk);
    EXPECT_EQ(v, -12);
    EXPECT_EQ(ParseInputInteger(L"+-1", v), EInputNumber::kNotNumber);
    EXPECT_EQ(ParseInputInteger(std::wstring(L"1\0" L"2", 3), v), EInputNumber::kNotNumber);
    EXPECT_EQ(ParseInputInteger(L"\u0661", v), EInputNumber::kNotNumber);  // Arabic-Indic one
    EXPECT_EQ(ParseInputInteger(L"184467440737095516160", v), EInputNumber::kAboveRange);
    EXPECT_EQ(v, INT64_MAX);
}

TEST(InputNumberText, NumbersAreLocaleIndependent)
{
    double v = 0;
    EXPECT_EQ(ParseInputNumber(L"3.5", v), EInputNumber::kOk);
    EXPECT_DOUBLE_EQ(v, 3.5);
    EXPECT_EQ(ParseInputNumber(L"-0.000e5", v), EInputNumber::kOk);
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(ParseInputNumber(L"0.0000000000000000000000000001e-400", v), EInputNumber::kOk);
    EXPECT_EQ(v, 0.0);
    EXPECT_EQ(ParseInputNumber(L"0.001e311", v), EInputNumber::kOk);  // 1e308 fits
    EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(ParseInputNumber(L"1000e306", v), EInputNumber::kAboveRange);
    EXPECT_EQ(ParseInputNumber(L"1e99999999999999999999", v), EInputNumber::kAboveRange);
    EXPECT_EQ(ParseInputNumber(L"1e-99999999999999999999", v), EInputNumber::kOk);
    EXPECT_EQ(ParseInputNumber(L"3\u00B75", v), EInputNumber::kNotNumber);
}
