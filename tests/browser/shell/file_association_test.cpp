#include "tests/support/gtest.h"

#include <string>

#include "browser/shell/file_association.h"
#include "tests/support/registry_sandbox.h"

namespace {

const char kProgram[] = "C:\\Program Files\\Harbeck\\harbeck.exe";

// HKEY_CLASSES_ROOT of this process is an empty key of its own (and the
// user's hive too) while a test runs.
class FileAssociationTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sandbox.IsActive());
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "ClassesUnderTest", 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &m_classes, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, m_classes));
    }
    void TearDown() override
    {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegCloseKey(m_classes);
    }

    static std::string Value(const char* key, const char* name = nullptr)
    {
        char buffer[600] = {};
        DWORD bytes = sizeof(buffer);
        if (RegGetValueA(HKEY_CLASSES_ROOT, key, name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
            return "<none>";
        return buffer;
    }
    static void SetValue(const char* key, const char* text)
    {
        RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, text, (DWORD)strlen(text));
    }

    RegistrySandbox m_sandbox;
    HKEY m_classes = nullptr;
};

}  // namespace

TEST_F(FileAssociationTest, RegisteringWritesTheExtensionAndItsProgId)
{
    CString extension("dwg");
    ASSERT_TRUE(RegisterFileType(extension, "Quorvantix.DWG", "Drawing file", "", kProgram, 0));
    EXPECT_STREQ(".dwg", extension);
    EXPECT_EQ("Quorvantix.DWG", Value(".dwg"));
    EXPECT_EQ("<none>", Value(".dwg", "Content Type"));
    EXPECT_EQ("Drawing file", Value("Quorvantix.DWG"));
    EXPECT_EQ(std::string(kProgram) + ",0", Value("Quorvantix.DWG\\DefaultIcon"));
    EXPECT_EQ("\"" + std::string(kProgram) + "\" \"%1\"", Value("Quorvantix.DWG\\shell\\open\\command"));

    CString dxf(".dxf");
    ASSERT_TRUE(RegisterFileType(dxf, "Quorvantix.DXF", "Drawing interchange file", "image/vnd.dxf",
                                 "viewer.exe /open \"%1\"", -1));
    EXPECT_EQ("viewer.exe /open \"%1\"", Value("Quorvantix.DXF\\shell\\open\\command"));
    EXPECT_EQ("image/vnd.dxf", Value(".dxf", "Content Type"));
    EXPECT_EQ("<none>", Value("Quorvantix.DXF\\DefaultIcon"));

    CString empty;
    EXPECT_FALSE(RegisterFileType(empty, "X", "Y", "", kProgram, 0));
}

TEST_F(FileAssociationTest, QueryReadsBackWhatIsThere)
{
    CString extension(".dwg");
    CString progId("untouched"), description("untouched"), contentType("untouched");
    EXPECT_STREQ("", QueryFileType(extension, progId, description, contentType));
    EXPECT_STREQ("untouched", progId);

    ASSERT_TRUE(RegisterFileType(extension, "Quorvantix.DWG", "Drawing file", "", kProgram, 0));
    CString command = QueryFileType(extension, progId, description, contentType);
    EXPECT_EQ("\"" + std::string(kProgram) + "\" \"%1\"", std::string(command));
    EXPECT_STREQ("Quorvantix.DWG", progId);
    EXPECT_STREQ("Drawing file", description);
}

TEST_F(FileAssociationTest, UnregisteringGivesTheExtensionBackToItsFormerProgram)
{
    SetValue(".dwg", "OtherCad.Drawing");
    SetValue("OtherCad.Drawing\\shell\\open\\command", "\"C:\\OtherCad\\cad.exe\" \"%1\"");
    CString extension(".dwg");
    ASSERT_TRUE(RegisterFileType(extension, "Quorvantix.DWG", "Drawing file", "", kProgram, 0));
    ASSERT_TRUE(RegisterFileType(extension, "Quorvantix.DWG", "Drawing file", "", kProgram, 0));
    EXPECT_EQ("Quorvantix.DWG", Value(".dwg"));

    EXPECT_TRUE(UnregisterFileType(extension, kProgram));
    EXPECT_EQ("OtherCad.Drawing", Value(".dwg"));
    EXPECT_EQ("<none>", Value("Quorvantix.DWG"));
    EXPECT_EQ("\"C:\\OtherCad\\cad.exe\" \"%1\"", Value("OtherCad.Drawing\\shell\\open\\command"));

    // A second time the extension belongs to the other program: untouched.
    EXPECT_FALSE(UnregisterFileType(extension, kProgram));
    EXPECT_EQ("OtherCad.Drawing", Value(".dwg"));

    // Registered where nothing was before: the keys go.
    CString dxf(".dxf");
    ASSERT_TRUE(RegisterFileType(dxf, "Quorvantix.DXF", "Drawing interchange file", "", kProgram, 0));
    EXPECT_TRUE(UnregisterFileType(dxf, kProgram));
    EXPECT_EQ("<none>", Value(".dxf"));
    EXPECT_EQ("<none>", Value("Quorvantix.DXF"));
}

TEST_F(FileAssociationTest, AnExtensionWithoutProgIdIsLeftAlone)
{
    SetValue(".dwg\\ShellNew", "kept");
    CString extension(".dwg");
    EXPECT_FALSE(UnregisterFileType(extension, kProgram));
    EXPECT_EQ("kept", Value(".dwg\\ShellNew"));
}
