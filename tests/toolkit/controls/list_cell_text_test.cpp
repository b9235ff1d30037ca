#include "tests/support/gtest.h"

#include <string.h>

#include <vector>

#include "toolkit/controls/list_cell_text.h"

namespace {

CString Thousands(const char* text, const char* decimal = ".")
{
    CString result = text;
    FormatThousandsText(result, "-", decimal, ",");
    return result;
}

CString Duration(const char* text)
{
    CString result = text;
    FormatDurationText(result, ".");
    return result;
}

int Sign(int value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

}  // namespace

TEST(ListCellText, ThousandsAreGroupedWithTheSignAndTheDecimalsKept)
{
    EXPECT_STREQ("999", Thousands("999"));
    EXPECT_STREQ("1,000", Thousands("1000"));
    EXPECT_STREQ("1,234,567.5", Thousands("1234567.5"));
    EXPECT_STREQ("-1,234", Thousands("-1234"));
    EXPECT_STREQ("-123.45", Thousands("-123.45"));  // no separator after the sign
    EXPECT_STREQ("-1,234.5", Thousands("-1234.5"));
    CString longest(std::string(129, '9').c_str());
    EXPECT_STREQ(longest, Thousands(longest));
    CString none = "1234";
    FormatThousandsText(none, "-", ".", "");
    EXPECT_STREQ("1234", none);
}

TEST(ListCellText, DurationsBecomeMinutesAndSecondsWithoutPadding)
{
    EXPECT_STREQ("1:5", Duration("65"));
    EXPECT_STREQ("60:0", Duration("3600"));
    EXPECT_STREQ("0", Duration("0"));
    EXPECT_STREQ("2:3", Duration("123.9"));
}

TEST(ListCellText, EachColumnTypeComparesByItsValue)
{
    EXPECT_GT(CompareCellTexts(1, "10", "9"), 0);
    EXPECT_LT(CompareCellTexts(0, "10", "9"), 0);
    EXPECT_EQ(0, CompareCellTexts(0, "abc", "ABC"));
    EXPECT_GT(CompareCellTexts(1, "2000000000", "-2000000000"), 0);  // no overflow
    EXPECT_EQ(0, CompareCellTexts(2, "1,234 KB", "1234"));
    EXPECT_LT(CompareCellTexts(2, "999 KB", "1,000 KB"), 0);
    EXPECT_LT(CompareCellTexts(5, "1.5", "1.75"), 0);
    EXPECT_GT(CompareCellTexts(6, "2.5 MB", "2.25 MB"), 0);
    EXPECT_EQ(0, CompareCellTexts(3, "1,000", "1,000"));
    EXPECT_EQ(0, CompareCellTexts(10, "x", "X"));
    CString early = FormatDateTimeText(40000.25);
    CString late = FormatDateTimeText(40000.75);
    EXPECT_LT(CompareCellTexts(9, early, late), 0);
    EXPECT_LT(CompareCellTexts(9, "", early), 0);  // an empty date is the zero date
}

TEST(ListCellText, TextSortKeysOrderAsTheTextCompare)
{
    const char* texts[] = {"", "a", "A", "abc", "Abd", "ab-c", "ab c", "a'b", "10", "9", "file2", "file10",
                           "图形", "文档", "图形a", "z", "Zebra", "_x", "x_", "\xA8\xA6"};
    std::vector<char> keys;
    std::vector<size_t> offsets;
    for (const char* text : texts) {
        offsets.push_back(keys.size());
        AppendTextSortKey(text, keys);
    }
    int count = (int)(sizeof(texts) / sizeof(texts[0]));
    for (int i = 0; i < count; ++i) {
        for (int j = 0; j < count; ++j) {
            int byKeys = Sign(strcmp(&keys[offsets[i]], &keys[offsets[j]]));
            EXPECT_EQ(Sign(CompareCellTexts(0, texts[i], texts[j])), byKeys) << texts[i] << " / " << texts[j];
        }
    }
}
