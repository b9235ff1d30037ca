#include "tests/support/gtest.h"

#include "core/number_text.h"
#include "core/size_text.h"

namespace {

CString Size(long long size)
{
    CString text;
    FormatFileSize(size, text);
    return text;
}

TEST(SizeTextTest, BytesKilobytesMegabytesGigabytes)
{
    EXPECT_STREQ("1024 Bytes", Size(1024));
    EXPECT_STREQ("1.00 KB", Size(1025));
    EXPECT_STREQ("1024.00 KB", Size(1048576));
    EXPECT_STREQ("1.00 MB", Size(1048577));
    EXPECT_STREQ("0 Bytes", Size(0));
    EXPECT_STREQ("-5 Bytes", Size(-5));
    EXPECT_STREQ("5.00 GB", Size(5LL << 30));
}

TEST(NumberTextTest, FractionsAreReducedAndCarried)
{
    EXPECT_STREQ("2 1/2", FormatFraction(2.5, 4));
    EXPECT_STREQ("0 1/4", FormatFraction(0.3, 3));
    EXPECT_STREQ("-1 1/4", FormatFraction(-1.25, 2));
    EXPECT_STREQ("3", FormatFraction(3.0, 4));
    EXPECT_STREQ("3", FormatFraction(2.999, 4));
    EXPECT_STREQ("2", FormatFraction(2.9, 0));
    EXPECT_STREQ("2", FormatFraction(2.9, -3));
    EXPECT_STREQ("0 1/1073741824", FormatFraction(1.0 / (1 << 30), 60));
}

TEST(NumberTextTest, FeetAndInches)
{
    EXPECT_STREQ("2'-6 1/2\"", FormatFeetInches(30.5, 1));
    EXPECT_STREQ("-2'-6 1/2\"", FormatFeetInches(-30.5, 1));
    EXPECT_STREQ("1'-0\"", FormatFeetInches(11.99, 1));
    EXPECT_STREQ("0'-11\"", FormatFeetInches(11.99, 0));
    // The test prefix runs in the Chinese locale, whose separator is ".".
    EXPECT_STREQ("2'-6.50\"", FormatFeetDecimalInches(30.5, 2));
    EXPECT_STREQ("1'-0.00\"", FormatFeetDecimalInches(11.999, 2));
    EXPECT_STREQ("-1'-1\"", FormatFeetDecimalInches(-13.2, 0));
}

TEST(NumberTextTest, DecimalsUseTheGivenSeparator)
{
    EXPECT_STREQ("3,14", FormatDecimal(3.14159, 2, ","));
    EXPECT_STREQ("3", FormatDecimal(3.14159, 0, ","));
    EXPECT_STREQ("-0.5", FormatDecimal(-0.5, 1, "."));
}

TEST(NumberTextTest, StringToDoubleNeedsTheWholeText)
{
    double value = 0;
    EXPECT_TRUE(StringToDouble("3,5", value, ","));
    EXPECT_EQ(3.5, value);
    EXPECT_FALSE(StringToDouble("3,5x", value, ","));
    EXPECT_EQ(3.5, value);
    EXPECT_FALSE(StringToDouble("", value, ","));
    EXPECT_FALSE(StringToDouble(nullptr, value, ","));
    EXPECT_FALSE(StringToDouble("abc", value, "."));
    EXPECT_TRUE(StringToDouble("-2.25", value, "."));
    EXPECT_EQ(-2.25, value);
}

// The user locale's separator is what the plain forms use.
TEST(NumberTextTest, TheUserLocaleSeparatorIsUsed)
{
    char saved[8] = {};
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, sizeof saved), 0);
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, ","));
    double value = 0;
    bool parsed = StringToDouble("3,5", value);
    CString decimal = FormatDecimal(1.5, 1);
    CString feet = FormatFeetDecimalInches(30.5, 2);
    CString separator = GetDecimalSeparator();
    SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
    EXPECT_STREQ(",", separator);
    EXPECT_TRUE(parsed);
    EXPECT_EQ(3.5, value);
    EXPECT_STREQ("1,5", decimal);
    EXPECT_STREQ("2'-6,50\"", feet);
}

}  // namespace
