#include "tests/support/gtest.h"

#include <string>

#include "core/shell_string.h"

namespace {

LPWSTR ShellCopy(const std::u16string& text)
{
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)))
        return nullptr;
    size_t bytes = (text.size() + 1) * sizeof(WCHAR);
    LPWSTR copy = (LPWSTR)allocator->Alloc(bytes);
    allocator->Release();
    if (copy)
        memcpy(copy, text.c_str(), bytes);
    return copy;
}

TEST(ShellStringTest, WideTextsAreConvertedAndFreed)
{
    STRRET strret = {};
    strret.uType = STRRET_WSTR;
    strret.pOleStr = ShellCopy(u"plan \u56fe.dwg");
    ASSERT_NE(nullptr, strret.pOleStr);
    EXPECT_TRUE(StrRetToString(nullptr, strret));
    EXPECT_EQ((UINT)STRRET_CSTR, strret.uType);
    EXPECT_STREQ("plan \xCD\xBC.dwg", strret.cStr);
}

TEST(ShellStringTest, LongWideTextsAreCutAndTerminated)
{
    STRRET strret = {};
    strret.uType = STRRET_WSTR;
    strret.pOleStr = ShellCopy(std::u16string(400, u'w'));
    ASSERT_NE(nullptr, strret.pOleStr);
    StrRetToString(nullptr, strret);
    EXPECT_EQ(MAX_PATH - 1, (int)strlen(strret.cStr));
}

TEST(ShellStringTest, OffsetTextsAreCopiedFromTheItem)
{
    std::string item(8, '\0');
    item += std::string(300, 'o');
    item += '\0';
    STRRET strret = {};
    strret.uType = STRRET_OFFSET;
    strret.uOffset = 8;
    StrRetToString((LPCITEMIDLIST)item.data(), strret);
    EXPECT_EQ(MAX_PATH - 1, (int)strlen(strret.cStr));
    EXPECT_EQ('o', strret.cStr[0]);
}

TEST(ShellStringTest, AnsiTextsAreTerminated)
{
    STRRET strret;
    strret.uType = STRRET_CSTR;
    memset(strret.cStr, 'c', sizeof strret.cStr);
    EXPECT_TRUE(StrRetToString(nullptr, strret));
    EXPECT_EQ(MAX_PATH - 1, (int)strlen(strret.cStr));
}

TEST(ShellStringTest, FreeClearsAWideText)
{
    STRRET strret = {};
    strret.uType = STRRET_WSTR;
    strret.pOleStr = ShellCopy(u"x");
    StrRetFree(strret);
    EXPECT_EQ(nullptr, strret.pOleStr);
    StrRetFree(strret);
}

}  // namespace
