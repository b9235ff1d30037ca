// The drawing password prompt: typed passwords are kept for the run and
// tried first, in the order they were typed, before the user is asked.
#include "tests/support/gtest.h"

#include "tests/views/password/password_answers.h"
#include "views/password/password_prompt.h"

using testwin::DialogScript;
using viewtest::CancelPassword;
using viewtest::TypePassword;

TEST(QueryDrawingPassword, KeepsTypedPasswordsAndTriesThemFirst)
{
    CString password;
    int index = -1;
    {
        // The first request of the run asks at once; Cancel keeps nothing.
        std::vector<std::string> shown;
        DialogScript answers;
        answers.ThenEach(CancelPassword(&shown)).Start();
        EXPECT_FALSE(QueryDrawingPassword("a.dwg", password, index));
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ("a.dwg", shown[0]);
        EXPECT_EQ(-1, index);
        EXPECT_EQ(0, (int)GetTypedPasswords().GetSize());
    }
    {
        std::vector<std::string> shown;
        DialogScript answers;
        answers.Then(nullptr, TypePassword("first", &shown))
            .Then(nullptr, TypePassword("second", &shown))
            .Then(nullptr, TypePassword("", &shown))
            .ThenEach(CancelPassword(&shown))
            .Start();
        ASSERT_TRUE(QueryDrawingPassword("a.dwg", password, index));
        EXPECT_STREQ("first", password);
        EXPECT_EQ(-1, index);
        // "first" failed: it is tried again before the user is asked.
        ASSERT_TRUE(QueryDrawingPassword("a.dwg", password, index));
        EXPECT_STREQ("first", password);
        EXPECT_EQ(0, index);
        EXPECT_EQ(1u, shown.size());
        ASSERT_TRUE(QueryDrawingPassword("a.dwg", password, index));
        EXPECT_STREQ("second", password);
        EXPECT_EQ(-1, index);

        // Another file: both kept passwords in order, then the prompt,
        // which takes an empty password too.
        int other = -1;
        ASSERT_TRUE(QueryDrawingPassword("b.dwg", password, other));
        EXPECT_STREQ("first", password);
        ASSERT_TRUE(QueryDrawingPassword("b.dwg", password, other));
        EXPECT_STREQ("second", password);
        EXPECT_EQ(1, other);
        ASSERT_TRUE(QueryDrawingPassword("b.dwg", password, other));
        EXPECT_STREQ("", password);
        EXPECT_EQ(-1, other);
        ASSERT_EQ(3u, shown.size());
        EXPECT_EQ("b.dwg", shown[2]);
    }
    ASSERT_EQ(3, (int)GetTypedPasswords().GetSize());
    EXPECT_STREQ("second", GetTypedPasswords()[1]);
}
