#include "tests/support/gtest.h"

#include "platform/classlib/oledatetime.h"

namespace {

TEST(OleDateTimeTest, FieldsRoundTrip)
{
    COleDateTime time(2024, 3, 5, 9, 5, 7);
    ASSERT_EQ(COleDateTime::valid, time.GetStatus());
    EXPECT_EQ(2024, time.GetYear());
    EXPECT_EQ(3, time.GetMonth());
    EXPECT_EQ(5, time.GetDay());
    EXPECT_EQ(9, time.GetHour());
    EXPECT_EQ(5, time.GetMinute());
    EXPECT_EQ(7, time.GetSecond());
    EXPECT_EQ(3, time.GetDayOfWeek());   // a Tuesday
    SYSTEMTIME system;
    ASSERT_TRUE(time.GetAsSystemTime(system));
    EXPECT_EQ(2, system.wDayOfWeek);
    EXPECT_EQ(2024, COleDateTime(system).GetYear());
}

TEST(OleDateTimeTest, DatesCountDaysFromTheEndOf1899)
{
    EXPECT_EQ(0.0, COleDateTime(1899, 12, 30, 0, 0, 0).GetDate());
    EXPECT_EQ(2.5, COleDateTime(1900, 1, 1, 12, 0, 0).GetDate());
    EXPECT_EQ(-1.25, COleDateTime(1899, 12, 29, 6, 0, 0).GetDate());
    COleDateTime before(-1.25);
    EXPECT_EQ(29, before.GetDay());
    EXPECT_EQ(6, before.GetHour());
    EXPECT_EQ(45356.0, COleDateTime(2024, 3, 5, 0, 0, 0).GetDate());
    COleDateTime leap(2000, 2, 29, 23, 59, 59);
    EXPECT_EQ(29, COleDateTime(leap.GetDate()).GetDay());
}

TEST(OleDateTimeTest, OutOfRangeFieldsAreInvalid)
{
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(2023, 2, 29, 0, 0, 0).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(2023, 13, 1, 0, 0, 0).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(99, 1, 1, 0, 0, 0).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(2023, 1, 1, 24, 0, 0).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(1e9).GetStatus());
    EXPECT_EQ(-1, COleDateTime(1e9).GetYear());
}

TEST(OleDateTimeTest, FormatWithTheHashFlagDropsLeadingZeros)
{
    COleDateTime time(2024, 3, 5, 9, 5, 7);
    EXPECT_STREQ("2024/3/5", time.Format("%Y/%#m/%#d"));
    EXPECT_STREQ("2024/03/05", time.Format("%Y/%m/%d"));
    EXPECT_STREQ("9:05:07", time.Format("%#H:%M:%S"));
    EXPECT_STREQ("09 9 AM", time.Format("%I %#I %p"));
    EXPECT_STREQ("Mar March Tue Tuesday", time.Format("%b %B %a %A"));
    EXPECT_STREQ("Tuesday, March 05, 2024", time.Format("%#x"));
    EXPECT_STREQ("0 100% \xD4\xC2", COleDateTime(2000, 1, 1, 0, 0, 0).Format("%#H 100%% \xD4\xC2"));
    EXPECT_STREQ("4", COleDateTime(2004, 1, 1, 0, 0, 0).Format("%#y"));
    EXPECT_STREQ("03/05/24 09:05:07", time.Format("%c"));
    EXPECT_STREQ("065 2 09 10", time.Format("%j %w %U %W"));
    EXPECT_STREQ("12 PM", COleDateTime(2024, 3, 5, 12, 0, 0).Format("%I %p"));
}

TEST(OleDateTimeTest, InvalidAndNullValuesFormatAsSuch)
{
    COleDateTime time;
    time.SetStatus(COleDateTime::invalid);
    EXPECT_STREQ("Invalid DateTime", time.Format("%Y"));
    time.SetStatus(COleDateTime::null);
    EXPECT_STREQ("", time.Format("%Y"));
}

}  // namespace
