// CTime: local calendar fields, file times, formatting and arithmetic.
#include "tests/support/gtest.h"

#include "platform/classlib/datetime.h"

TEST(DateTime, LocalFieldsRoundTrip)
{
    CTime time(2024, 2, 29, 13, 45, 30);
    EXPECT_EQ(2024, time.GetYear());
    EXPECT_EQ(2, time.GetMonth());
    EXPECT_EQ(29, time.GetDay());
    EXPECT_EQ(13, time.GetHour());
    EXPECT_EQ(45, time.GetMinute());
    EXPECT_EQ(30, time.GetSecond());
    EXPECT_EQ(5, time.GetDayOfWeek());   // a Thursday
    EXPECT_STREQ("2024-02-29 13:45:30", (LPCSTR)time.Format("%Y-%m-%d %H:%M:%S"));
    EXPECT_STREQ("060", (LPCSTR)time.Format("%j"));
    EXPECT_EQ(-1, CTime(2023, 2, 30, 0, 0, 0).GetTime());
    EXPECT_EQ(-1, CTime(2023, 13, 1, 0, 0, 0).GetTime());
}

TEST(DateTime, FileTimesAndArithmetic)
{
    FILETIME fileTime;
    fileTime.dwLowDateTime = 0xFFA84000;    // 1970-01-02 00:00:00 UTC
    fileTime.dwHighDateTime = 0x019DB2A7;
    CTime epochDayTwo(fileTime);
    EXPECT_EQ(86400, epochDayTwo.GetTime());
    EXPECT_STREQ("1970-01-02 00:00", (LPCSTR)epochDayTwo.FormatGmt("%Y-%m-%d %H:%M"));
    FILETIME back;
    ASSERT_TRUE(epochDayTwo.GetAsFileTime(back));
    EXPECT_EQ(fileTime.dwLowDateTime, back.dwLowDateTime);
    EXPECT_EQ(fileTime.dwHighDateTime, back.dwHighDateTime);

    CTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(93784, span.GetTotalSeconds());
    EXPECT_EQ(2, span.GetHours());
    EXPECT_EQ(26, span.GetTotalHours());
    CTime later = epochDayTwo + span;
    EXPECT_EQ(span, later - epochDayTwo);
    EXPECT_TRUE(later > epochDayTwo);
    EXPECT_TRUE(CTime::GetCurrentTime().GetYear() >= 2024);
}
