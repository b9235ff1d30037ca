#include "tests/support/gtest.h"

#include <string>

#include "core/locale_info.h"

namespace {

TEST(LocaleInfoTest, PicturesBecomeStrftimeFormats)
{
    EXPECT_STREQ("%Y/%#m/%#d", CLocaleInfo::ConvertPicture("yyyy/M/d"));
    EXPECT_STREQ("%#H:%M:%S", CLocaleInfo::ConvertPicture("H:mm:ss"));
    EXPECT_STREQ("%A, %B %d, %Y", CLocaleInfo::ConvertPicture("dddd, MMMM dd, yyyy"));
    EXPECT_STREQ("%#I:%M %p", CLocaleInfo::ConvertPicture("h:mm tt"));
    EXPECT_STREQ("", CLocaleInfo::ConvertPicture(""));
    EXPECT_STREQ("", CLocaleInfo::ConvertPicture(nullptr));
}

TEST(LocaleInfoTest, UnknownTokensStayLiteral)
{
    EXPECT_STREQ("ddd m s t", CLocaleInfo::ConvertPicture("ddd m s t"));
    EXPECT_STREQ("'at' %#H", CLocaleInfo::ConvertPicture("'at' H"));
    EXPECT_STREQ("100%% %Y", CLocaleInfo::ConvertPicture("100% yyyy"));
    // Only the separators split runs: a run holding Chinese text is no token.
    EXPECT_STREQ("yyyy\xC4\xEAM %Y", CLocaleInfo::ConvertPicture("yyyy\xC4\xEAM yyyy"));
}

TEST(LocaleInfoTest, TokensAreCaseSensitive)
{
    EXPECT_STREQ("%m", CLocaleInfo::MapPictureToken("MM"));
    EXPECT_STREQ("%M", CLocaleInfo::MapPictureToken("mm"));
    EXPECT_STREQ("/-", CLocaleInfo::MapPictureToken("/-"));
}

TEST(LocaleInfoTest, LongRunsAreReadInPieces)
{
    std::string picture(5000, 'x');
    EXPECT_EQ(5000, CLocaleInfo::ConvertPicture(picture.c_str()).GetLength());
}

TEST(LocaleInfoTest, TheChineseLocaleIsLoaded)
{
    CLocaleInfo& info = CLocaleInfo::Instance();
    EXPECT_STREQ("yyyy/M/d", info.GetShortDatePicture());
    EXPECT_STREQ("HH:mm:ss", info.GetTimePicture());
    EXPECT_STREQ("H:mm", info.GetShortTimePicture());
    EXPECT_STREQ(".", info.GetDecimalSeparator());
    EXPECT_STREQ("-", info.GetNegativeSign());
    EXPECT_STREQ(",", info.GetThousandSeparator());
}

TEST(LocaleInfoTest, DatesFormatInTheUsersLocale)
{
    CLocaleInfo& info = CLocaleInfo::Instance();
    EXPECT_STREQ("2024/3/5 09:05:07", info.FormatDateTime(COleDateTime(2024, 3, 5, 9, 5, 7)));
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_STREQ("Invalid DateTime Invalid DateTime", info.FormatDateTime(invalid));
    COleDateTime null;
    null.SetStatus(COleDateTime::null);
    EXPECT_STREQ(" ", info.FormatDateTime(null));
}

TEST(LocaleInfoTest, FileTimesAreShownAsLocalTime)
{
    CLocaleInfo& info = CLocaleInfo::Instance();
    SYSTEMTIME utc = {2020, 12, 0, 31, 23, 59, 58, 0};
    FILETIME fileTime, local;
    SystemTimeToFileTime(&utc, &fileTime);
    FileTimeToLocalFileTime(&fileTime, &local);
    SYSTEMTIME expected;
    FileTimeToSystemTime(&local, &expected);
    EXPECT_STREQ(info.FormatDateTime(COleDateTime(expected)), info.FormatFileTime(fileTime));

    FILETIME broken = {0xFFFFFFFF, 0xFFFFFFFF};
    EXPECT_STREQ("Invalid DateTime Invalid DateTime", info.FormatFileTime(broken));
}

}  // namespace
