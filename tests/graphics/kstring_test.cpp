#include "tests/support/gtest.h"

#include <string>

#include "graphics/kstring.h"

namespace {

TEST(KStringTest, NullAndZeroLengthGiveTheEmptyString)
{
    KString s;
    EXPECT_STREQ("", s.GetText());
    s.Set("abc");
    s.Set(nullptr);
    EXPECT_EQ(0, s.GetLength());
    EXPECT_STREQ("", s.GetText());
    s.Set("abc");
    s.SetN("xyz", 0);
    EXPECT_EQ(0, s.GetLength());
    s.Set("");
    EXPECT_EQ(0, s.GetLength());
    EXPECT_STREQ("", s.GetText());
}

TEST(KStringTest, SetNCopiesExactlyNBytes)
{
    KString s;
    s.SetN("abcdef", 3);
    EXPECT_EQ(3, s.GetLength());
    EXPECT_STREQ("abc", s.GetText());
    KString copy(s);
    EXPECT_STREQ("abc", copy.GetText());
}

TEST(KStringTest, ResizeKeepsThePrefixAndIgnoresSmallSizes)
{
    KString s;
    s.Set("hello");
    EXPECT_EQ(s.GetText(), s.Resize(0));
    EXPECT_STREQ("hello", s.GetText());
    s.Resize(3);
    EXPECT_STREQ("hel", s.GetText());
    char* text = s.Resize(6);
    EXPECT_EQ(6, s.GetLength());
    EXPECT_EQ('\0', text[6]);
    EXPECT_EQ(0, memcmp(text, "hel", 3));
}

TEST(KStringTest, AppendTextsAndItself)
{
    KString s;
    s.Append(nullptr);
    s.Append("ab");
    s.Append("cd");
    EXPECT_STREQ("abcd", s.GetText());
    s.Append(s);
    EXPECT_STREQ("abcdabcd", s.GetText());
    KString empty;
    s.Append(empty);
    EXPECT_EQ(8, s.GetLength());
}

TEST(KStringTest, FormatShortMediumAndLongTexts)
{
    KString s;
    EXPECT_TRUE(s.Format("%d-%s", 42, "x"));
    EXPECT_STREQ("42-x", s.GetText());

    std::string medium(300, 'm');
    EXPECT_TRUE(s.Format("%s", medium.c_str()));
    EXPECT_EQ(medium, s.GetText());

    std::string longText(3000, 'l');
    EXPECT_TRUE(s.Format("<%s>", longText.c_str()));
    EXPECT_EQ(3002, s.GetLength());
    EXPECT_EQ("<" + longText + ">", s.GetText());

    // Exactly the first heap limit, and one byte over it.
    std::string edge(2560, 'e');
    EXPECT_TRUE(s.Format("%s", edge.c_str()));
    EXPECT_EQ(2560, s.GetLength());
    edge += 'f';
    EXPECT_TRUE(s.Format("%s", edge.c_str()));
    EXPECT_EQ(edge, s.GetText());
}

TEST(KStringTest, FormatOfItsOwnLongTextIsSafe)
{
    KString s;
    std::string text(1000, 'q');
    s.Set(text.c_str());
    EXPECT_TRUE(s.Format("%s%s", s.GetText(), s.GetText()));
    EXPECT_EQ(text + text, s.GetText());
}

TEST(KStringTest, FormatBeyondTheLastSizeKeepsTheTruncatedText)
{
    KString s;
    std::string huge(10000, 'h');
    EXPECT_FALSE(s.Format("%s", huge.c_str()));
    EXPECT_EQ(8704, s.GetLength());
    EXPECT_EQ(huge.substr(0, 8704), s.GetText());
}

}  // namespace
