// CRegKey in the test prefix's registry: typed reads, terminated buffers,
// over-long texts, null writes and deleting whole trees.
#include "tests/support/gtest.h"

#include "platform/classlib/regkey.h"

#include <string>

namespace {

class RegKeyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        keyPath = "Software\\HarbeckTests\\RegKey" + std::to_string(GetCurrentProcessId());
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, keyPath.c_str()));
    }
    void TearDown() override
    {
        key.Close();
        CRegKey parent;
        if (parent.Open(HKEY_CURRENT_USER, "Software\\HarbeckTests") == ERROR_SUCCESS)
            parent.RecurseDeleteKey(keyPath.substr(strlen("Software\\HarbeckTests\\")).c_str());
    }

    std::string keyPath;
    CRegKey key;
};

}  // namespace

TEST_F(RegKeyTest, DwordReadsCheckTheType)
{
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("Number", 1234));
    DWORD value = 0;
    EXPECT_EQ(ERROR_SUCCESS, key.QueryDWORDValue("Number", value));
    EXPECT_EQ(1234u, value);

    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("Text", "1"));
    value = 77;
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryDWORDValue("Text", value));
    EXPECT_EQ(77u, value);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryDWORDValue("Missing", value));
    EXPECT_EQ(77u, value);
}

TEST_F(RegKeyTest, TextReadsLeaveTheBufferTerminated)
{
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("Path", "C:\\图纸"));
    char buffer[16];
    memset(buffer, 'x', sizeof(buffer));
    DWORD count = sizeof(buffer);
    EXPECT_EQ(ERROR_SUCCESS, key.QueryValue(buffer, "Path", &count));
    EXPECT_STREQ("C:\\图纸", buffer);
    EXPECT_EQ(strlen(buffer) + 1, count);

    // Longer than the buffer: not read at all.
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("Long", std::string(300, 'a').c_str()));
    memset(buffer, 'x', sizeof(buffer));
    count = sizeof(buffer);
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryValue(buffer, "Long", &count));
    EXPECT_STREQ("", buffer);

    // Another type: treated as missing.
    ASSERT_EQ(ERROR_SUCCESS, key.SetDWORDValue("Number", 0x41414141));
    memset(buffer, 'x', sizeof(buffer));
    count = sizeof(buffer);
    EXPECT_NE(ERROR_SUCCESS, key.QueryValue(buffer, "Number", &count));
    EXPECT_STREQ("", buffer);

    // Stored without a terminator and filling the buffer exactly.
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Bare", 0, REG_SZ, (const BYTE*)"abcd", 4));
    char tiny[4];
    count = sizeof(tiny);
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryValue(tiny, "Bare", &count));
    EXPECT_STREQ("", tiny);
    char enough[8];
    count = sizeof(enough);
    EXPECT_EQ(ERROR_SUCCESS, key.QueryValue(enough, "Bare", &count));
    EXPECT_STREQ("abcd", enough);

    ULONG chars = 4;
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryStringValue("Path", tiny, &chars));
    EXPECT_LE(strlen("C:\\图纸") + 1, chars);
    chars = sizeof(enough);
    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryStringValue("Number", enough, &chars));
}

TEST_F(RegKeyTest, NullTextIsNotWritten)
{
    EXPECT_EQ(ERROR_INVALID_DATA, key.SetStringValue("Null", nullptr));
    DWORD type = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExA(key, "Null", nullptr, &type, nullptr, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, key.SetStringValue("Empty", ""));
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Empty", nullptr, &type, nullptr, &size));
    EXPECT_EQ(1u, size);
    EXPECT_EQ(ERROR_SUCCESS, key.DeleteValue("Empty"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.DeleteValue("Empty"));
}

TEST_F(RegKeyTest, RecurseDeleteRemovesTheWholeTree)
{
    {
        CRegKey deep;
        ASSERT_EQ(ERROR_SUCCESS, deep.Create(key, "Tree\\A\\B\\C"));
        deep.SetDWORDValue("v", 1);
        CRegKey sibling;
        ASSERT_EQ(ERROR_SUCCESS, sibling.Create(key, "Tree\\D"));
    }
    EXPECT_EQ(ERROR_SUCCESS, key.RecurseDeleteKey("Tree"));
    CRegKey gone;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, gone.Open(key, "Tree"));
    EXPECT_EQ(nullptr, gone.m_hKey);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.RecurseDeleteKey("Tree"));
}
